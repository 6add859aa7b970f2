// Grid cells as real windows: what they paint on the screen, how a click, the focus and the
// pointer behave, and the platform icon made of a resource.
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

// Sets pixel (x, y), y from the top, of a 32-bit resource.
void SetPixel(ResourceGrid& grid, int index, int x, int y, std::uint32_t rgb, std::uint8_t alpha) {
  IconResource& r = grid.resources[index];
  std::uint8_t* p = r.colorBits + ((r.height - 1 - y) * r.width + x) * 4;
  p[0] = (rgb >> 16) & 0xFF;
  p[1] = (rgb >> 8) & 0xFF;
  p[2] = rgb & 0xFF;
  p[3] = alpha;
}

class GridCellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wx.IsOk());
    frame = new wxFrame(nullptr, wxID_ANY, "cells");
    panel = new wxPanel(frame);
    frame->SetClientSize(400, 400);
    frame->Show();
    panel->Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) { clicks.push_back(event.GetId()); });
  }
  void TearDown() override {
    if (frame != nullptr) frame->Destroy();
    testing::Settle();
  }

  GridCell* MakeCell(int id, int side, int x) {
    auto* cell = new GridCell(panel, id, wxPoint(x, 10), wxSize(side, side));
    cell->SetBackgroundColor(0xFFFFFF);
    return cell;
  }

  static void Press(GridCell& cell) {
    wxMouseEvent press(wxEVT_LEFT_DOWN);
    press.SetEventObject(&cell);
    cell.ProcessWindowEvent(press);
  }

  testing::WxSession wx;
  wxFrame* frame = nullptr;
  wxPanel* panel = nullptr;
  std::vector<int> clicks;
};

TEST_F(GridCellTest, PaintsTheResourceInsideItsRings) {
  ResourceGrid grid;
  GridSlot slot(0, 2, 1);  // 16 x 16, 32-bit
  grid.PrepareResource(slot);
  const int index = ResourceGrid::IndexOf(slot);
  SetPixel(grid, index, 0, 0, 0x0000FF, 128);  // half-transparent red
  SetPixel(grid, index, 15, 15, 0x123456, 255);

  GridCell* cell = MakeCell(1026, 22, 10);
  cell->SetGrid(&grid);
  cell->SetSlot(&slot);
  wxImage shot = Snapshot(*cell);
  ASSERT_EQ(shot.GetWidth(), 22);
  // Centred at its own size: the image starts at (3, 3).
  EXPECT_EQ(PixelOf(shot, 3, 3), 0x7F7FFFu);
  EXPECT_EQ(PixelOf(shot, 18, 18), 0x123456u);
  EXPECT_EQ(PixelOf(shot, 4, 3), 0xFFFFFFu);  // alpha 0 shows the background
  // Unselected: background, background, shade.
  EXPECT_EQ(PixelOf(shot, 0, 10), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(shot, 1, 10), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(shot, 2, 10), 0xBFBFBFu);

  cell->SetSelected(1);
  slot.viewMode = 2;  // the mask: alpha as grey
  shot = Snapshot(*cell);
  EXPECT_EQ(PixelOf(shot, 0, 10), 0xBFBFBFu);
  EXPECT_EQ(PixelOf(shot, 1, 10), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(shot, 3, 3), 0x7F7F7Fu);
  EXPECT_EQ(PixelOf(shot, 18, 18), 0x000000u);

  // A darker background: the shade follows it; an emptied position shows only background.
  cell->SetBackgroundColor(0x808080);
  grid.ClearResource(slot);
  cell->Redraw();
  shot = Snapshot(*cell);
  EXPECT_EQ(PixelOf(shot, 2, 10), 0x606060u);
  EXPECT_EQ(PixelOf(shot, 3, 3), 0x808080u);
  EXPECT_EQ(PixelOf(shot, 18, 18), 0x808080u);

  // Without a grid: background and frame.
  GridCell* bare = MakeCell(1022, 22, 60);
  bare->SetBackgroundColor(0x000000);
  bare->SetSlot(&slot);
  shot = Snapshot(*bare);
  EXPECT_EQ(PixelOf(shot, 10, 10), 0x000000u);
  EXPECT_EQ(PixelOf(shot, 2, 10), 0x000000u);  // the shade of black is black
}

TEST_F(GridCellTest, ClicksFocusAndThePointer) {
  GridSlot slot(4, 2, 1);
  GridCell* large = MakeCell(1041, 262, 10);
  large->SetSlot(&slot);
  large->SetStretch(1);
  GridCell* small = MakeCell(1018, 22, 300);
  small->SetSlot(&slot);
  frame->Raise();
  testing::Settle();

  // A stretched, unselected cell shows the focus in its middle ring.
  EXPECT_EQ(PixelOf(Snapshot(*large), 1, 100), 0x000000u);
  Press(*large);
  testing::Settle();
  EXPECT_TRUE(large->HasFocus());
  EXPECT_EQ(PixelOf(Snapshot(*large), 1, 100), 0x5C5C5Cu);
  EXPECT_TRUE(large->GetCursor().IsOk());  // the pointing hand

  // A cell that can't be clicked keeps the focus where it was and its look, but the window
  // still hears of the click.
  small->SetClickable(0);
  EXPECT_FALSE(small->GetCursor().IsOk());
  Press(*small);
  testing::Settle();
  EXPECT_TRUE(large->HasFocus());
  EXPECT_EQ(clicks, (std::vector<int>{1041, 1018}));

  // Losing the focus redraws the frame without it.
  small->SetClickable(1);
  Press(*small);
  testing::Settle();
  EXPECT_TRUE(small->HasFocus());
  EXPECT_EQ(PixelOf(Snapshot(*large), 1, 100), 0x000000u);
}

TEST_F(GridCellTest, IconsCarryAlphaOrTheMask) {
  ResourceGrid grid;
  const GridSlot deep(1, 2, 1);  // 24 x 24, 32-bit
  grid.PrepareResource(deep);
  SetPixel(grid, ResourceGrid::IndexOf(deep), 2, 1, 0x00FF00, 200);
  const wxIcon icon = CreateIcon(grid, deep);
  ASSERT_TRUE(icon.IsOk());
  EXPECT_EQ(icon.GetWidth(), 24);
  wxBitmap bitmap;
  bitmap.CopyFromIcon(icon);
  const wxImage image = bitmap.ConvertToImage();
  ASSERT_TRUE(image.HasAlpha());
  EXPECT_EQ(image.GetAlpha(2, 1), 200);
  EXPECT_EQ(image.GetGreen(2, 1), 255);
  EXPECT_EQ(image.GetAlpha(0, 0), 0);

  // A 4-bit icon is transparent where its mask is set, opaque elsewhere.
  const GridSlot flat(0, 0, 0);
  grid.PrepareResource(flat);
  IconResource& r = grid.resources[ResourceGrid::IndexOf(flat)];
  const std::uint32_t maskRow = ((r.width + 31) / 32) * 4;
  r.maskBits[(r.height - 1) * maskRow] = 0x40;  // (1, 0) transparent
  wxBitmap flatBitmap;
  flatBitmap.CopyFromIcon(CreateIcon(grid, flat));
  const wxImage flatImage = flatBitmap.ConvertToImage();
  ASSERT_EQ(flatImage.GetWidth(), 16);
  auto opaque = [&flatImage](int x, int y) {
    return flatImage.HasAlpha() ? flatImage.GetAlpha(x, y) == 255 : !flatImage.IsTransparent(x, y);
  };
  EXPECT_TRUE(opaque(0, 0));
  EXPECT_FALSE(opaque(1, 0));

  EXPECT_FALSE(CreateIcon(grid, GridSlot(2, 1, 0)).IsOk());  // not present
}

}  // namespace
}  // namespace pictaro
