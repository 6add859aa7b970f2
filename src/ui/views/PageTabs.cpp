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
  if (tabIndex_ < 0 || tabIndex_ >= static_cast<int>(GetPageCount())) tabIndex_ = 0;
  if (GetSelection() != tabIndex_) ChangeSelection(static_cast<size_t>(tabIndex_));
}

void PageTabs::OnPageChanged(wxBookCtrlEvent& event) {
  event.Skip();
  if (event.GetEventObject() != this) return;
  tabIndex_ = event.GetSelection();
  ShowSelectedPage();
}

}  // namespace pictaro
