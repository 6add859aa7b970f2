// The windows' layouts as data: each dialog's controls with their ids, kinds, texts and
// rectangles in dialog units, and the menus with their items. One builder turns them into
// controls; no window lays itself out in code.
#pragma once

#include <cstdint>
#include <span>

namespace pictaro {

enum class ControlKind {
  Label,          // static text
  Button,         // push button
  DefaultButton,  // the push button Enter presses
  Radio,          // automatic radio button
  CheckBox,       // automatic check box
  Edit,           // text box
  Picture,        // a bitmap resource shown in a frame
  GroupBox,       // a frame with a title around other controls
  Custom,         // a control its window makes itself (grid cells, panel, tabs, views)
};

// Style bits of a control.
inline constexpr std::uint32_t kStyleGroup = 1u << 0;      // starts a new radio group
inline constexpr std::uint32_t kStyleCentred = 1u << 1;    // text centred both ways
inline constexpr std::uint32_t kStyleSunken = 1u << 2;     // sunken frame
inline constexpr std::uint32_t kStyleNotify = 1u << 3;     // reports clicks to its window
inline constexpr std::uint32_t kStyleReadOnly = 1u << 4;   // edit: the user can't type
inline constexpr std::uint32_t kStyleMultiline = 1u << 5;  // edit: several lines, scrolling
inline constexpr std::uint32_t kStyleMiddle = 1u << 6;     // label: text centred vertically

struct ControlTemplate {
  int id;  // -1 for a label nobody addresses
  ControlKind kind;
  const char* text;         // may be null
  int x, y, width, height;  // dialog units
  std::uint32_t style;
  int image;  // bitmap resource of a Picture, else 0
};

struct DialogTemplate {
  int id;
  const char* caption;
  int width, height;  // dialog units
  int menu;           // menu bar resource, or 0
  std::span<const ControlTemplate> controls;
};

// A menu item; id 0 with no text is a separator.
struct MenuItemTemplate {
  int id;
  bool check;  // carries a check mark when its state says so
  const char* text;
};

struct MenuPopupTemplate {
  const char* text;
  std::span<const MenuItemTemplate> items;
};

struct MenuTemplate {
  int id;
  std::span<const MenuPopupTemplate> popups;
};

// The template of dialog `id`, or null.
const DialogTemplate* FindDialogTemplate(int id);
// The template of menu `id`, or null.
const MenuTemplate* FindMenuTemplate(int id);

// Dialog and menu resources.
inline constexpr int kMainDialog = 1000;
inline constexpr int kMainMenu = 1003;
inline constexpr int kLayerMenu = 1002;
inline constexpr int kCaptureDialog = 1026;
inline constexpr int kPreviewDialog = 1027;
inline constexpr int kVerifyDialog = 1028;
inline constexpr int kTestDialog = 1024;
inline constexpr int kAboutDialog = 1016;
inline constexpr int kWelcomeDialog = 1020;

// Controls of the main window.
namespace main_ids {
inline constexpr int kApply = 1;
inline constexpr int kDone = 2;
inline constexpr int kBuild = 1000;
inline constexpr int kClear = 1084;
inline constexpr int kNew = 1048;
inline constexpr int kOpen = 1049;
inline constexpr int kSave = 1050;
inline constexpr int kSaveAs = 1052;
inline constexpr int kCycle = 1063;
inline constexpr int kLogo = 1051;
inline constexpr int kTabs = 1077;
inline constexpr int kWorkingName = 1096;
inline constexpr int kGridPanel = 1109;
inline constexpr int kCell256 = 1038;
}  // namespace main_ids

// Commands of menu 1003.
namespace menu_ids {
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 32824;
inline constexpr int kShowToolTips = 32785;
inline constexpr int kBackgroundColors = 32823;
inline constexpr int kUseCustomTable = 32826;
inline constexpr int kSetCustomTable = 32827;
inline constexpr int kGenerateTable = 32829;
inline constexpr int kSamePosition = 32831;
inline constexpr int kPngCompression = 32834;
inline constexpr int kProductPage = 32804;
inline constexpr int kSupportPage = 32805;
inline constexpr int kDeveloperSupport = 32833;
inline constexpr int kXpIcons = 32821;
inline constexpr int kVistaIcons = 32835;
inline constexpr int kVistaExperience = 32832;
inline constexpr int kHomePage = 32790;
}  // namespace menu_ids

}  // namespace pictaro
