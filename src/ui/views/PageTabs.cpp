#include "ui/views/PageTabs.h"

namespace pictaro {

PageTabs::PageTabs(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxNotebook(parent, id, pos, size) {
  Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &PageTabs::OnPageChanged, this);
}

void PageTabs::CreatePages(PageOwner& owner) {
  previewPage = new PreviewPage(this, owner);
  verifyPage = new VerifyPage(this, owner);
  capturePage = new CapturePage(this, owner);
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

}  // namespace pictaro
