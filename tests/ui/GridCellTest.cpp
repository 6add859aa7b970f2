// Grid cells as real windows: how a click, the focus and the pointer behave, and the platform
// icon made of a resource. (What cells paint shows in the main window's pictures.)
#include "ui/views/GridCell.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include "ui/WxTestSupport.h"
#include "ui/views/RasterBitmap.h"

namespace pictaro {
namespace {

using testing::PixelOf;
using testing::Snapshot;

TEST(GridCellTest, ClicksFocusAndThePointer) {
  testing::WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  auto* frame = new wxFrame(nullptr, wxID_ANY, "cells");
  auto* panel = new wxPanel(frame);
  frame->SetClientSize(400, 400);
  frame->Show();
  std::vector<int> clicks;
  panel->Bind(wxEVT_BUTTON, [&clicks](wxCommandEvent& event) { clicks.push_back(event.GetId()); });
  GridSlot slot(4, 2, 1);
  auto* large = new GridCell(panel, 1041, wxPoint(10, 10), wxSize(262, 262));
  auto* small = new GridCell(panel, 1018, wxPoint(300, 10), wxSize(22, 22));
  for (GridCell* cell : {large, small}) cell->SetSlot(&slot);
  large->SetStretch(1);
  frame->Raise();
  auto press = [](GridCell& cell) {
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    testing::Send(cell, down);
    testing::Settle();
  };

  // A stretched, unselected cell shows the focus in its middle ring.
  EXPECT_EQ(PixelOf(Snapshot(*large), 1, 100), 0x000000u);
  press(*large);
  EXPECT_TRUE(large->HasFocus());
  EXPECT_EQ(PixelOf(Snapshot(*large), 1, 100), 0x5C5C5Cu);
  EXPECT_TRUE(large->GetCursor().IsOk());  // the pointing hand

  // A cell that can't be clicked keeps the focus where it was and its look, but the window
  // still hears of the click.
  small->SetClickable(0);
  EXPECT_FALSE(small->GetCursor().IsOk());
  press(*small);
  EXPECT_TRUE(large->HasFocus());
  EXPECT_EQ(clicks, (std::vector<int>{1041, 1018}));

  // Losing the focus redraws the frame without it.
  small->SetClickable(1);
  press(*small);
  EXPECT_TRUE(small->HasFocus());
  EXPECT_EQ(PixelOf(Snapshot(*large), 1, 100), 0x000000u);
  frame->Destroy();
  testing::Settle();
}

TEST(GridCellTest, IconsCarryAlphaOrTheMask) {
  testing::WxSession wx;
  ASSERT_TRUE(wx.IsOk());
  // An icon as an image with alpha, whatever form it carries its transparency in.
  auto imageOf = [](const wxIcon& icon) {
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icon);
    wxImage image = bitmap.ConvertToImage();
    if (!image.HasAlpha()) image.InitAlpha();
    return image;
  };
  ResourceGrid grid;
  const GridSlot deep(1, 2, 1), flat(0, 0, 0);  // 24 x 24 32-bit, 16 x 16 4-bit
  grid.PrepareResource(deep);
  IconResource& d = grid.resources[ResourceGrid::IndexOf(deep)];
  const std::uint8_t green[4] = {0, 255, 0, 200};  // blue, green, red, alpha
  std::copy_n(green, 4, d.colorBits + ((d.height - 1 - 1) * d.width + 2) * 4);  // (2, 1)
  const wxImage image = imageOf(CreateIcon(grid, deep));
  ASSERT_EQ(image.GetWidth(), 24);
  EXPECT_EQ(PixelOf(image, 2, 1), 0x00FF00u);
  EXPECT_EQ((std::pair<int, int>(image.GetAlpha(2, 1), image.GetAlpha(0, 0))), std::pair(200, 0));

  // A 4-bit icon is transparent where its mask is set, opaque elsewhere.
  grid.PrepareResource(flat);
  IconResource& f = grid.resources[ResourceGrid::IndexOf(flat)];
  f.maskBits[(f.height - 1) * 4] = 0x40;  // (1, 0) transparent
  const wxImage flatImage = imageOf(CreateIcon(grid, flat));
  ASSERT_EQ(flatImage.GetWidth(), 16);
  EXPECT_EQ((std::pair<int, int>(flatImage.GetAlpha(0, 0), flatImage.GetAlpha(1, 0))),
            std::pair(255, 0));
  EXPECT_FALSE(CreateIcon(grid, GridSlot(2, 1, 0)).IsOk());  // not present
}

}  // namespace
}  // namespace pictaro
