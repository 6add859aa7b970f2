// The Capture tab over a layer in the substitute host: what the view paints, how a drag, the
// arrow keys and the check boxes move the grid positions, and the "Layer" menu's commands.
#include "ui/views/LayerView.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/frame.h>

#include <functional>
#include <memory>
#include <vector>

#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"
#include "ui/WxTestSupport.h"
#include "ui/views/CapturePage.h"
#include "ui/views/DialogBuilder.h"

namespace pictaro {
namespace {

using namespace capture_ids;
using testing::PixelOf;
using testing::Snapshot;

// A 400 x 400 opaque layer whose pixel (x, y) is red x, green y, blue 255 (wrapping at 256).
Layer Gradient() {
  Layer layer{400, 400, 4, {}};
  layer.pixels.resize(400 * 400 * 4);
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 400; ++x) {
      std::uint8_t* p = layer.At(x, y);
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = 255;
      p[3] = 255;
    }
  }
  return layer;
}

// The main window as far as the page needs it.
class FakeOwner : public PageOwner {
 public:
  const ResourceGrid& Grid() const override { return grid; }
  GridSlot& CurrentSlot() override { return slot; }
  HostContext& Host() override { return *host; }
  Desktop& GetDesktop() override { return desktop; }
  void ShowCurrentSlot() override { ++shows; }
  void RefreshViews() override { ++refreshes; }
  void UpdateSelectionControls() override {}
  void DeleteCurrent() override {}
  void CaptureCurrent() override {}

  ResourceGrid grid;
  GridSlot slot;  // 48 x 48, 32-bit
  HostContext* host = nullptr;
  testing::RecordingDesktop desktop;
  int shows = 0, refreshes = 0;
};

class LayerViewTest : public ::testing::Test {
 protected:
  // Runs `body` inside a host call, with the page made and bound to the owner's selection.
  void RunWithPage(const std::function<void()>& body) {
    ASSERT_TRUE(wx.IsOk());
    host.RunInside([&](HostContext& context) {
      owner.host = &context;
      frame = new wxFrame(nullptr, wxID_ANY, "capture");
      page = new CapturePage(frame, owner);
      frame->SetClientSize(page->GetSize());
      frame->Show();
      frame->Raise();
      view = page->View();
      view->SetBackgroundColor(0xFFFFFF);
      view->SetSlot(&owner.slot);
      view->Relayout();
      testing::Settle();
      body();
      // The window paints from the host's buffer, which lasts only as long as the call.
      frame->Destroy();
      testing::Settle();
    });
    EXPECT_TRUE(owner.desktop.messages.empty());
  }

  void Mouse(wxEventType type, int x, int y, bool leftDown) {
    wxMouseEvent event(type);
    event.SetEventObject(view);
    event.SetPosition(wxPoint(x, y));
    event.SetLeftDown(leftDown);
    view->ProcessWindowEvent(event);
  }
  void Drag(int fromX, int fromY, int toX, int toY) {
    Mouse(wxEVT_LEFT_DOWN, fromX, fromY, true);
    Mouse(wxEVT_MOTION, toX, toY, true);
    Mouse(wxEVT_LEFT_UP, toX, toY, false);
  }
  void Key(int code) {
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = code;
    event.SetEventObject(view);
    page->ProcessWindowEvent(event);
  }
  void Toggle(int id) {
    auto* box = dynamic_cast<wxCheckBox*>(page->FindWindow(id));
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(box->GetValue());
    box->ProcessWindowEvent(event);
  }
  Rect Position48() const { return view->window.gridPositions[9]; }

  testing::WxSession wx;
  SubstituteHost host{Gradient()};
  FakeOwner owner;
  wxFrame* frame = nullptr;
  CapturePage* page = nullptr;
  LayerView* view = nullptr;
};

TEST_F(LayerViewTest, PaintsTheFramedLayerWithTheSquareUndimmed) {
  RunWithPage([&] {
    // The 48 x 48 32-bit position (22, 101) in the middle: view pixel (3 + c, 3 + r) shows
    // layer pixel (c - 82, r - 3); on white the surroundings keep three quarters.
    page->FindWindow(kReset)->SetFocus();
    testing::Settle();
    wxImage shot = Snapshot(*view);
    ASSERT_EQ(shot.GetWidth(), 262);
    for (int x : {0, 1, 2}) EXPECT_EQ(PixelOf(shot, x, 100), 0x000000u) << x;
    EXPECT_EQ(PixelOf(shot, 261, 100), 0x000000u);
    EXPECT_EQ(PixelOf(shot, 3 + 104, 3 + 104), 0xFF6516u);  // layer (22, 101)
    EXPECT_EQ(PixelOf(shot, 3 + 151, 3 + 151), 0xFF9445u);  // layer (69, 148)
    EXPECT_EQ(PixelOf(shot, 3 + 200, 3 + 128), 0xBF5D58u);  // layer (118, 125), dimmed
    EXPECT_EQ(PixelOf(shot, 3 + 20, 3 + 128), 0xBFBFBFu);   // beyond the layer: background

    view->SetZoom(true);
    shot = Snapshot(*view);
    EXPECT_EQ(PixelOf(shot, 3 + 32, 3 + 32), 0xFF6516u);
    EXPECT_EQ(PixelOf(shot, 3 + 35, 3 + 35), 0xFF6516u);
    EXPECT_EQ(PixelOf(shot, 3 + 31, 3 + 32) >> 16, 0xBFu);
    EXPECT_EQ(PixelOf(shot, 3 + 223, 3 + 223), 0xFF9445u);

    view->SetFocus();
    testing::Settle();
    shot = Snapshot(*view);
    ASSERT_TRUE(view->HasFocus());
    EXPECT_EQ(PixelOf(shot, 0, 100), 0x000000u);
    EXPECT_EQ(PixelOf(shot, 1, 100), 0xC0C0C0u);
    EXPECT_EQ(PixelOf(shot, 2, 100), 0x000000u);
  });
}

TEST_F(LayerViewTest, DragsAndArrowKeysMoveThePositionOnlyWhenUnlocked) {
  RunWithPage([&] {
    const Rect standard = Position48();
    Drag(100, 100, 110, 95);
    Key(WXK_LEFT);
    EXPECT_EQ(Position48(), standard);
    EXPECT_FALSE(view->IsDragging());

    Toggle(kUnlock);
    Drag(100, 100, 110, 95);
    // The picture follows the mouse, so the square moves over the layer the other way.
    EXPECT_EQ(Position48(), (Rect{106, 12, 154, 60}));
    EXPECT_FALSE(view->HasCapture());
    EXPECT_EQ(PixelOf(Snapshot(*view), 3 + 104, 3 + 104), 0xFF6A0Cu);  // layer (12, 106)

    // Zoomed, still one layer pixel per screen pixel.
    Toggle(kZoom);
    Drag(50, 50, 46, 53);
    EXPECT_EQ(Position48(), (Rect{103, 16, 151, 64}));

    // Each arrow moves the picture one pixel its way under the square.
    Key(WXK_LEFT);
    Key(WXK_UP);
    EXPECT_EQ(Position48(), (Rect{104, 17, 152, 65}));
    Key(WXK_RIGHT);
    Key(WXK_DOWN);
    Key(WXK_DOWN);
    EXPECT_EQ(Position48(), (Rect{102, 16, 150, 64}));
    EXPECT_EQ(host.Record().inRect, view->window.ViewRect(owner.slot));

    Key(WXK_SPACE);
    EXPECT_FALSE(view->GetZoom());
    EXPECT_FALSE(dynamic_cast<wxCheckBox*>(page->FindWindow(kZoom))->GetValue());

    wxCommandEvent reset(wxEVT_BUTTON, kReset);
    page->ProcessWindowEvent(reset);
    EXPECT_EQ(Position48(), (Rect{101, 22, 149, 70}));
    EXPECT_EQ(host.Record().inRect, (Rect{-3, -82, 253, 174}));
  });
}

TEST_F(LayerViewTest, LayerMenuChecksTheSelectionAndChangesIt) {
  using namespace layer_menu_ids;
  const auto checked = [this] {
    std::unique_ptr<wxMenu> menu(view->CreateLayerMenu());
    std::vector<int> ids;
    for (int id :
         {k4Bits, k8Bits, k32Bits, k16Pixels, k24Pixels, k32Pixels, k48Pixels, k256Pixels}) {
      if (menu->IsChecked(WxMenuId(id))) ids.push_back(id);
    }
    return ids;
  };
  RunWithPage([&] {
    owner.slot = GridSlot(4, 2, 1, 2);
    EXPECT_EQ(checked(), (std::vector<int>{k32Bits, k256Pixels}));

    // 256 x 256 is 32-bit only: 8 bits per pixel selects the 48 x 48 8-bit position.
    wxCommandEvent command(wxEVT_MENU, WxMenuId(k8Bits));
    view->ProcessWindowEvent(command);
    EXPECT_EQ(owner.slot, GridSlot(3, 1, 0, 2));
    EXPECT_EQ(owner.shows, 1);
    EXPECT_EQ(owner.refreshes, 1);
    EXPECT_EQ(checked(), (std::vector<int>{k8Bits, k48Pixels}));
  });
}

}  // namespace
}  // namespace pictaro
