#include "resources/DialogTemplates.h"

#include <array>

namespace pictaro {
namespace {

using K = ControlKind;

constexpr std::uint32_t kNone = 0;

// The main window: the painted grid panel on the left with the cells, the selection radios
// and the document buttons on it; Build, Clear and Apply beside it; the tabs and the logo on
// the right. The grid's columns run from 32-bit on the left to 4-bit on the right.
constexpr ControlTemplate kMainControls[] = {
    {1109, K::Custom, nullptr, 0, 0, 325, 296, kNone, 0},
    {-1, K::Label, "Working File:", 7, 7, 42, 8, kNone, 0},
    {1096, K::Label, "Untitled.ico", 53, 7, 178, 8, kNone, 0},
    {1063, K::Button, "Cycle", 283, 4, 27, 13, kStyleCentred, 0},
    {1029, K::Custom, nullptr, 14, 40, 36, 33, kStyleNotify, 0},
    {1025, K::Custom, nullptr, 54, 40, 36, 33, kStyleNotify, 0},
    {1021, K::Custom, nullptr, 94, 40, 36, 33, kStyleNotify, 0},
    {1028, K::Custom, nullptr, 14, 90, 32, 27, kStyleNotify, 0},
    {1024, K::Custom, nullptr, 54, 90, 32, 27, kStyleNotify, 0},
    {1020, K::Custom, nullptr, 94, 90, 32, 27, kStyleNotify, 0},
    {1027, K::Custom, nullptr, 14, 130, 19, 17, kStyleNotify, 0},
    {1023, K::Custom, nullptr, 54, 130, 19, 17, kStyleNotify, 0},
    {1019, K::Custom, nullptr, 94, 130, 19, 17, kStyleNotify, 0},
    {1026, K::Custom, nullptr, 14, 166, 15, 13, kStyleNotify, 0},
    {1022, K::Custom, nullptr, 54, 166, 15, 13, kStyleNotify, 0},
    {1018, K::Custom, nullptr, 94, 166, 15, 13, kStyleNotify, 0},
    {1038, K::Custom, nullptr, 136, 30, 175, 161, kStyleNotify, 0},
    {-1, K::Label, "Size", 9, 211, 14, 8, kNone, 0},
    {1031, K::Radio, "16x16", 45, 211, 36, 10, kStyleGroup, 0},
    {1032, K::Radio, "24x24", 89, 211, 36, 10, kNone, 0},
    {1033, K::Radio, "32x32", 133, 211, 36, 10, kNone, 0},
    {1034, K::Radio, "48x48", 177, 211, 36, 10, kNone, 0},
    {1043, K::Radio, "256x256", 221, 211, 44, 10, kNone, 0},
    {-1, K::Label, "Data", 9, 229, 16, 8, kNone, 0},
    {1037, K::Radio, "32-bit", 45, 229, 35, 10, kStyleGroup, 0},
    {1036, K::Radio, "8-bit", 89, 229, 31, 10, kNone, 0},
    {1035, K::Radio, "4-bit", 133, 229, 31, 10, kNone, 0},
    {-1, K::Label, "Mask", 9, 247, 17, 8, kNone, 0},
    {1040, K::Radio, "8-bit", 45, 247, 31, 10, kStyleGroup, 0},
    {1039, K::Radio, "1-bit", 89, 247, 31, 10, kNone, 0},
    {1048, K::Button, "New", 7, 274, 44, 16, kNone, 0},
    {1049, K::Button, "Open...", 56, 274, 44, 16, kNone, 0},
    {1050, K::Button, "Save", 106, 274, 44, 16, kNone, 0},
    {1052, K::Button, "Save As...", 156, 274, 44, 16, kNone, 0},
    {1000, K::Button, "Build", 333, 73, 28, 14, kNone, 0},
    {1084, K::Button, "Clear", 333, 92, 28, 14, kNone, 0},
    {1, K::DefaultButton, "Apply", 333, 111, 28, 16, kNone, 0},
    {1077, K::Custom, nullptr, 367, 5, 193, 210, kNone, 0},
    {1051, K::Picture, nullptr, 368, 223, 191, 42, kStyleSunken | kStyleNotify, 1039},
    {2, K::Button, "Done", 522, 274, 37, 16, kNone, 0},
};

// The Capture tab: the view onto the layer and its options.
constexpr ControlTemplate kCaptureControls[] = {
    {1017, K::Custom, nullptr, 7, 7, 173, 161, kStyleNotify, 0},
    {1095, K::CheckBox, "Zoom small resources", 7, 177, 82, 10, kNone, 0},
    {1088, K::CheckBox, "Unlock grid", 94, 177, 48, 10, kNone, 0},
    {1079, K::Button, "Reset", 148, 175, 32, 14, kNone, 0},
};

// The Preview tab: the current resource enlarged, and its view mode.
constexpr ControlTemplate kPreviewControls[] = {
    {1041, K::Custom, nullptr, 7, 7, 176, 160, kStyleNotify, 0},
    {1097, K::Button, "Add", 7, 175, 32, 14, kNone, 0},
    {1098, K::Button, "Delete", 43, 175, 32, 14, kNone, 0},
    {1045, K::Radio, "Both", 83, 177, 31, 10, kStyleGroup, 0},
    {1046, K::Radio, "Data", 116, 177, 31, 10, kNone, 0},
    {1047, K::Radio, "Mask", 151, 177, 32, 10, kNone, 0},
};

// The Verify tab: the compatibility report and the Test window's button.
constexpr ControlTemplate kVerifyControls[] = {
    {1080, K::Button, "Test", 7, 174, 50, 14, kNone, 0},
    {1082, K::Edit, nullptr, 7, 7, 175, 161, kStyleReadOnly | kStyleMultiline, 0},
};

constexpr std::array<DialogTemplate, 4> kDialogs = {{
    {1000, "Pictaro", 567, 297, 1003, kMainControls},
    {1026, nullptr, 187, 196, 0, kCaptureControls},
    {1027, nullptr, 190, 199, 0, kPreviewControls},
    {1028, nullptr, 189, 195, 0, kVerifyControls},
}};

constexpr MenuItemTemplate kFileItems[] = {
    {57600, false, "&New"},
    {57601, false, "&Open..."},
    {57603, false, "&Save"},
    {32824, false, "Save &As..."},
};

constexpr MenuItemTemplate kOptionsItems[] = {
    {32785, true, "Show &Tool Tips"},
    {32823, false, "Set &Background Colors..."},
    {0, false, nullptr},
    {32826, true, "&Use Custom Color Table"},
    {32827, false, "&Set Custom Color Table..."},
    {32829, true, "&Generate Custom Color Table Automatically"},
    {0, false, nullptr},
    {32831, true, "Use Same Grid &Position for All Depths"},
    {32834, true, "Use PNG &Compression on 256x256 Resource"},
};

constexpr MenuItemTemplate kWebItems[] = {
    {32804, false, "Pictaro &Product Page"},
    {32805, false, "Pictaro &Support Page"},
    {0, false, nullptr},
    {32833, false, "Quillory: &Developer Support"},
    {32821, false, "Microsoft: Creating Windows &XP Icons"},
    {32835, false, "Microsoft: &Vista Icon Development Guidelines"},
    {32832, false, "Microsoft: Vista &User Experience Guidelines"},
    {0, false, nullptr},
    {32790, false, "&Quillory Home Page"},
};

constexpr MenuPopupTemplate kMainMenuPopups[] = {
    {"&File", kFileItems},
    {"&Options", kOptionsItems},
    {"&Web", kWebItems},
};

// The Layer view's popup: the current selection's depth and size.
constexpr MenuItemTemplate kLayerItems[] = {
    {32773, true, "4-bits per pixel"},
    {32774, true, "8-bits per pixel"},
    {32775, true, "32-bits per pixel"},
    {0, false, nullptr},
    {32776, true, "16x16 pixels"},
    {32779, true, "24x24 pixels"},
    {32777, true, "32x32 pixels"},
    {32778, true, "48x48 pixels"},
    {32830, true, "256x256 pixels"},
};

constexpr MenuPopupTemplate kLayerPopups[] = {
    {"Layer", kLayerItems},
};

constexpr std::array<MenuTemplate, 2> kMenus = {{
    {1003, kMainMenuPopups},
    {1002, kLayerPopups},
}};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (const DialogTemplate& dialog : kDialogs) {
    if (dialog.id == id) return &dialog;
  }
  return nullptr;
}

const MenuTemplate* FindMenuTemplate(int id) {
  for (const MenuTemplate& menu : kMenus) {
    if (menu.id == id) return &menu;
  }
  return nullptr;
}

}  // namespace pictaro
