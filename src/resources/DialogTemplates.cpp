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

// The Test window: the icon in the platform's own controls.
constexpr ControlTemplate kTestControls[] = {
    {1, K::DefaultButton, "Done", 214, 7, 50, 14, kNone, 0},
    {-1, K::Label,
     "NOTE: The icon in the title bar has been set to display the currently selected grid "
     "resource.",
     7, 7, 166, 26, kNone, 0},
    {-1, K::GroupBox, "Picture Control", 7, 35, 257, 207, kNone, 0},
    {1066, K::Custom, nullptr, 14, 48, 20, 20, kNone, 0},
    {1073, K::CheckBox, "Center Image", 197, 50, 61, 14, kNone, 0},
    {1075, K::CheckBox, "Client Edge", 197, 69, 61, 14, kNone, 0},
    {1074, K::CheckBox, "Static Edge", 197, 88, 61, 14, kNone, 0},
    {1067, K::Custom, nullptr, 13, 216, 186, 20, kNone, 0},
    {1071, K::Label, "256 x 256 pixels", 201, 224, 54, 10, kNone, 0},
    {-1, K::GroupBox, "Button Control", 7, 250, 137, 88, kNone, 0},
    {1068, K::Custom, nullptr, 13, 276, 17, 16, kNone, 0},
    {1069, K::Custom, nullptr, 43, 269, 32, 32, kNone, 0},
    {1070, K::Custom, nullptr, 88, 263, 48, 48, kNone, 0},
    {1072, K::CheckBox, "Disable Buttons", 15, 318, 68, 15, kNone, 0},
    {-1, K::GroupBox, "Tree Control", 153, 250, 111, 88, kNone, 0},
    {1076, K::Custom, nullptr, 162, 266, 93, 62, kNone, 0},
};

// About: the logo, the makers and the library Pictaro uses.
constexpr ControlTemplate kAboutControls[] = {
    {1051, K::Picture, nullptr, 7, 7, 191, 42, kStyleSunken, 1039},
    {-1, K::Label, "Created by:", 7, 58, 59, 8, kNone, 0},
    {-1, K::Label, "The Pictaro developers at Quillory", 71, 58, 115, 43, kNone, 0},
    {-1, K::Label, "Copyright \u00A9 2026 Quillory.\nAll rights reserved.", 7, 141, 191, 17, kNone,
     0},
    {-1, K::Label,
     "Pictaro uses the FreeImage library, open source that is licensed under FIPL 1.0, "
     "https://freeimage.sourceforge.io",
     7, 165, 191, 17, kNone, 0},
    {-1, K::Label, "Version 2.0", 7, 188, 75, 15, kStyleMiddle, 0},
    {1, K::DefaultButton, "Close", 150, 188, 48, 15, kNone, 0},
};

// Welcome: what a first-time user should know.
constexpr ControlTemplate kWelcomeControls[] = {
    {-1, K::Label,
     "Welcome to Pictaro! Before starting, there are some important things you should know:", 8, 8,
     160, 23, kNone, 0},
    {-1, K::Picture, nullptr, 12, 35, 0, 0, kNone, 1021},
    {-1, K::Label,
     "Pictaro is not an icon editor. Use Adobe Photoshop to create and edit your icons, and then "
     "launch Pictaro to quickly assemble your work. ",
     20, 32, 136, 32, kNone, 0},
    {-1, K::Picture, nullptr, 12, 72, 0, 0, kNone, 1021},
    {-1, K::Label, "Create your icons on a transparent layer and not on the background. ", 20, 68,
     136, 16, kNone, 0},
    {-1, K::Picture, nullptr, 12, 96, 0, 0, kNone, 1021},
    {-1, K::Label,
     "The filter starts with a blank icon grid. Fill the grid automatically using the Build "
     "button. Resources can also be added manually for greater control. ",
     20, 92, 136, 32, kNone, 0},
    {-1, K::Label,
     "Remember to check the Tutorial and Read Me files for additional information on how to use "
     "Pictaro. You'll find step-by-step instructions for creating your first icon and tips for "
     "advanced users.",
     8, 132, 156, 40, kNone, 0},
    {1, K::DefaultButton, "OK", 120, 176, 50, 14, kNone, 0},
};

constexpr std::array<DialogTemplate, 7> kDialogs = {{
    {1000, "Pictaro", 567, 297, 1003, kMainControls},
    {1026, nullptr, 187, 196, 0, kCaptureControls},
    {1027, nullptr, 190, 199, 0, kPreviewControls},
    {1028, nullptr, 189, 195, 0, kVerifyControls},
    {1024, "Pictaro Test", 271, 345, 0, kTestControls},
    {1016, "About Pictaro", 205, 210, 0, kAboutControls},
    {1020, "Using Pictaro", 176, 197, 0, kWelcomeControls},
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
    {32773, true, "4-bits per pixel"},  {32774, true, "8-bits per pixel"},
    {32775, true, "32-bits per pixel"}, {0, false, nullptr},
    {32776, true, "16x16 pixels"},      {32779, true, "24x24 pixels"},
    {32777, true, "32x32 pixels"},      {32778, true, "48x48 pixels"},
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
