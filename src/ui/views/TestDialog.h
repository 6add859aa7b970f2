// The Test window: one icon as the toolkit's own controls show it: in the title bar, in a
// picture of any size from 0 to 256 pixels, on push buttons (enabled and disabled) and as
// the item image of a tree.
#pragma once

#include <wx/dialog.h>
#include <wx/icon.h>

class wxSlider;
class wxStaticText;
class wxTreeCtrl;

namespace pictaro {

// Controls of the Test window.
namespace test_ids {
inline constexpr int kDone = 1;
inline constexpr int kPicture = 1066;
inline constexpr int kSlider = 1067;
inline constexpr int kSmallButton = 1068;
inline constexpr int kMediumButton = 1069;
inline constexpr int kLargeButton = 1070;
inline constexpr int kSizeText = 1071;
inline constexpr int kDisableButtons = 1072;
inline constexpr int kCenterImage = 1073;
inline constexpr int kStaticEdge = 1074;
inline constexpr int kClientEdge = 1075;
inline constexpr int kTree = 1076;
}  // namespace test_ids

// The picture 1066: the icon scaled to the window's size, or at its own size centred.
class IconPicture;

class TestDialog : public wxDialog {
 public:
  // The icon stays the opener's; the window shows a copy of it.
  TestDialog(const wxIcon& icon, wxWindow* parent);

 private:
  wxWindow* MakeControl(wxWindow* parent, int id, const wxRect& rect);
  void Initialise();

  void OnSliderMoved(wxCommandEvent& event);
  void OnDisableButtons(wxCommandEvent& event);
  void OnPictureStyle(wxCommandEvent& event);

  void ReplacePicture(long border);
  void ShowPictureSize(int side);
  void RefreshPicture();
  bool IsChecked(int id) const;

  wxIcon icon_;
  IconPicture* picture_ = nullptr;
  wxSlider* slider_ = nullptr;
  wxStaticText* sizeText_ = nullptr;
  wxTreeCtrl* tree_ = nullptr;
};

// Runs the Test window modally for `icon`.
void ShowTestDialog(const wxIcon& icon, wxWindow* parent);

}  // namespace pictaro
