// The main window's tabs: "Preview", "Verify" and "Capture", each a page built from its
// template. The tab header takes its room from the pages, as much as the toolkit's theme wants:
// once laid out, the tabs grow, with the window around them, until their pages have room.
#pragma once

#include <wx/notebook.h>

#include "ui/views/CapturePage.h"
#include "ui/views/PageOwner.h"
#include "ui/views/TabPages.h"

namespace pictaro {

class PageTabs : public wxNotebook {
 public:
  PageTabs(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

  // Makes the three pages and their tab items, in the order Preview, Verify, Capture.
  void CreatePages(PageOwner& owner);
  // Shows the page of the current tab index.
  void ShowSelectedPage();

  int TabIndex() const { return tabIndex_; }
  // Another value than 0 or 1 shows the Capture page; the value itself is kept.
  void SetTabIndex(int index) { tabIndex_ = index; }

  PreviewPage* previewPage = nullptr;
  VerifyPage* verifyPage = nullptr;
  CapturePage* capturePage = nullptr;

 private:
  void OnPageChanged(wxBookCtrlEvent& event);
  void OnPageSize(wxSizeEvent& event);
  // Grows the tabs, and the window around them, to `height` pixels.
  void GrowTo(int height);

  int tabIndex_ = 0;
  // The largest page's template size, which the page area must hold.
  wxSize pageSize_;
};

}  // namespace pictaro
