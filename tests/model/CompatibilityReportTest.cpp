#include "model/CompatibilityReport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "model/ResourceGrid.h"

namespace pictaro {
namespace {

// GridSlot(size index, depth index, mask index): sizes 16, 24, 32, 48, 256; depths 4, 8, 32.
const GridSlot k16At4(0, 0, 0);
const GridSlot k32At8(2, 1, 0);
const GridSlot k32At32(2, 2, 1);
const GridSlot k48At8(3, 1, 0);

const std::string kNo16 =
    "\x95 At least one 16x16 resource should be included in the grid. This icon will be used in "
    "favorites menus, window title bars, the taskbar and many other parts of the Windows user "
    "interface.\r\n\r\n";
const std::string kNo32 =
    "\x95 At least one 32x32 resource should be included in the grid. This icon will be used on "
    "the desktop and many other parts of the Windows user interface.\r\n\r\n";
const std::string kLarge =
    "\x95 Icon resources larger than 32x32 will not display on Windows 95, 98, ME or 2000. These "
    "sizes will only display on Windows XP and Vista.\r\n\r\n";
const std::string kDepth32 =
    "\x95 Icon resources with 32-bit depth will not display on Windows 95, 98, ME or 2000. This "
    "depth will only display on Windows XP and Vista.\r\n\r\n";
const std::string kHas24 =
    "\x95 Including a 24x24 pixel resource in the icon will cause older versions of Windows to "
    "display the icon incorrectly. If you are designing icons for Windows 95, 98, ME or 2000, do "
    "not include this size. The size is only recommended when you are creating icons for Windows "
    "XP or Vista toolbars.\r\n\r\n";
const std::string k48At4 =
    "\x95 The 48x48 pixel, 4-bit resource will cause problems on older versions of Windows. A "
    "generic icon will be displayed on the desktop and applications will not be able to load the "
    "resource on Windows 95, 98, ME or 2000.\r\n\r\n";
const std::string kPng =
    "\x95 The 256x256 pixel, 32-bit resource will be compressed with PNG compression which is "
    "only compatible with Vista. There are also cases where PNG icons will cause errors when "
    "building the software in which they are used. Turn off PNG compression in the Options menu "
    "if you experience any problems.\r\n\r\n";
const std::string kVista =
    "\x95 The 256x256 pixel, 32-bit resource will only be displayed on Windows Vista. Earlier "
    "versions of Windows will ignore this resource.\r\n\r\n";
const std::string kAllCompatible =
    "\x95 The icon resources are compatible with all versions of Windows.";

std::string ReportOf(std::initializer_list<GridSlot> slots) {
  ResourceGrid grid;
  for (const GridSlot& slot : slots) grid.PrepareResource(slot);
  return grid.BuildCompatibilityReport();
}

TEST(CompatibilityReportTest, MissingSizesLargeImagesAndDepth32AreReported) {
  EXPECT_EQ(ReportOf({}), kNo16 + kNo32);
  EXPECT_EQ(ReportOf({k16At4, k32At8}), kAllCompatible);
  EXPECT_EQ(ReportOf({k32At32}), kDepth32 + kNo16);
  // The 48 x 48 warning is for 4-bit only.
  EXPECT_EQ(ReportOf({k48At8}), kLarge + kNo16 + kNo32);
}

TEST(CompatibilityReportTest, EmptiedResourcesNoLongerCount) {
  ResourceGrid grid;
  grid.PrepareResource(k16At4);
  grid.PrepareResource(k32At8);
  grid.ClearResource(k16At4);  // keeps its width and height
  EXPECT_EQ(grid.BuildCompatibilityReport(), kNo16);
}

TEST(CompatibilityReportTest, FullGridListsResourceMessagesThenGeneralOnes) {
  ResourceGrid grid;
  for (std::uint32_t size = 0; size < 5; ++size) {
    for (std::uint32_t depth = 0; depth < 3; ++depth)
      grid.PrepareResource(GridSlot(size, depth, 0));
  }
  ASSERT_EQ(grid.CountPresent(), ResourceGrid::kResourceCount);

  grid.SetPngCompression(1);
  EXPECT_EQ(grid.BuildCompatibilityReport(), k48At4 + kPng + kVista + kHas24 + kLarge + kDepth32);
  grid.SetPngCompression(0);
  EXPECT_EQ(grid.BuildCompatibilityReport(), k48At4 + kVista + kHas24 + kLarge + kDepth32);
}

TEST(CompatibilityReportTest, DisplayTextIsUtf8WithNewlines) {
  EXPECT_EQ(ReportForDisplay(kLarge + kAllCompatible),
            "\u2022 Icon resources larger than 32x32 will not display on Windows 95, 98, ME or "
            "2000. These sizes will only display on Windows XP and Vista.\n\n"
            "\u2022 The icon resources are compatible with all versions of Windows.");
}

}  // namespace
}  // namespace pictaro
