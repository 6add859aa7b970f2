#include "ui/views/PageTabs.h"

#include "ui/views/DialogBuilder.h"

namespace pictaro {

PageTabs::PageTabs(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxNotebook(parent, id, pos, size) {
  Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &PageTabs::OnPageChanged, this);
}

void PageTabs::CreatePages(PageOwner& owner) {
  previewPage = new PreviewPage(this, owner);
  verifyPage = new VerifyPage(this, owner);
  capturePage = new CapturePage(this, owner);
  // Each page is made at its template's size.
  for (wxWindow* page : {static_cast<wxWindow*>(previewPage), static_cast<wxWindow*>(verifyPage),
                         static_cast<wxWindow*>(capturePage)}) {
    pageSize_.IncTo(page->GetSize());
    page->Bind(wxEVT_SIZE, &PageTabs::OnPageSize, this);
  }
  AddPage(previewPage, "Preview");
  AddPage(verifyPage, "Verify");
  AddPage(capturePage, "Capture");
}

void PageTabs::ShowSelectedPage() {
  // Any index but Preview's and Verify's shows the Capture page.
  const int page = tabIndex_ == 0 || tabIndex_ == 1 ? tabIndex_ : 2;
  if (GetSelection() != page) ChangeSelection(static_cast<size_t>(page));
}

void PageTabs::OnPageChanged(wxBookCtrlEvent& event) {
  event.Skip();
  if (event.GetEventObject() != this) return;
  tabIndex_ = event.GetSelection();
  ShowSelectedPage();
}

void PageTabs::OnPageSize(wxSizeEvent& event) {
  event.Skip();
  // The toolkit gives a page what is left of the tabs' size once its header has taken its
  // room; only now is that room known. Grown, the tabs must hold the largest page.
  const int height = pageSize_.y + GetSize().y - event.GetSize().y;
  // Not while the toolkit is still laying the window out.
  CallAfter([this, height] { GrowTo(height); });
}

void PageTabs::GrowTo(int height) {
  const wxRect rect = GetRect();
  const int extra = height - rect.height;
  if (extra <= 0) return;
  MakeRoomBelow(*this, extra);
  SetSize(rect.width, height);
  wxWindow* window = wxGetTopLevelParent(this);
  window->SetClientSize(window->GetClientSize() + wxSize(0, extra));
}

}  // namespace pictaro
