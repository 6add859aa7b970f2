#include "ui/views/LayerView.h"

#include <wx/dcclient.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "host/LayerAccess.h"
#include "host/LayerViewPicture.h"
#include "resources/DialogTemplates.h"
#include "ui/views/DialogBuilder.h"
#include "ui/views/RasterBitmap.h"
#include "ui/views/ResourceImages.h"

namespace pictaro {
namespace {

using namespace layer_menu_ids;

constexpr int kFourWayCursor = 1001;
constexpr int kFrame = 3;  // the frame's rings; the image area lies inside them
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kFocusRing = 0xC0C0C0;
constexpr std::uint32_t kFailed = 0x0000FF;  // red: the picture could not be shown

constexpr int kLayerCommands[] = {k4Bits,    k8Bits,    k32Bits,   k16Pixels,
                                  k24Pixels, k32Pixels, k48Pixels, k256Pixels};

void Fill(wxDC& dc, const wxRect& rect, std::uint32_t color) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWxColour(color)));
  dc.DrawRectangle(rect);
}

// The `ring`th ring of the frame inside a window of `size`, `factor` pixels wide.
void Ring(wxDC& dc, const wxSize& size, int ring, int factor, std::uint32_t color) {
  const int inset = ring * factor;
  const int width = size.x - 2 * inset;
  const int height = size.y - 2 * inset;
  if (width <= 0 || height <= 0) return;
  Fill(dc, wxRect(inset, inset, width, factor), color);
  Fill(dc, wxRect(inset, size.y - inset - factor, width, factor), color);
  Fill(dc, wxRect(inset, inset, factor, height), color);
  Fill(dc, wxRect(size.x - inset - factor, inset, factor, height), color);
}

bool LayerItemChecked(const GridSlot& slot, int id) {
  switch (id) {
    case k4Bits:
      return slot.depthIndex == 0;
    case k8Bits:
      return slot.depthIndex == 1;
    case k32Bits:
      return slot.depthIndex == 2;
    case k16Pixels:
      return slot.sizeIndex == 0;
    case k24Pixels:
      return slot.sizeIndex == 1;
    case k32Pixels:
      return slot.sizeIndex == 2;
    case k48Pixels:
      return slot.sizeIndex == 3;
    case k256Pixels:
      return slot.sizeIndex == 4;
    default:
      return false;
  }
}

// The selection a "Layer" command makes of `slot`: 4- and 8-bit leave 256 x 256, which is
// 32-bit only, for 48 x 48; the view mode stays.
void ApplyLayerCommand(GridSlot& slot, int id) {
  switch (id) {
    case k4Bits:
    case k8Bits:
      if (slot.sizeIndex == 4) slot.sizeIndex = 3;
      slot.depthIndex = id == k4Bits ? 0 : 1;
      slot.maskIndex = 0;
      break;
    case k32Bits:
      slot.depthIndex = 2;
      slot.maskIndex = 1;
      break;
    case k16Pixels:
      slot.sizeIndex = 0;
      break;
    case k24Pixels:
      slot.sizeIndex = 1;
      break;
    case k32Pixels:
      slot.sizeIndex = 2;
      break;
    case k48Pixels:
      slot.sizeIndex = 3;
      break;
    case k256Pixels:
      slot.sizeIndex = 4;
      slot.depthIndex = 2;
      slot.maskIndex = 1;
      break;
    default:
      break;
  }
}

}  // namespace

LayerView::LayerView(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_NONE), dragCursor_(ResourceCursor(kFourWayCursor)) {
  Bind(wxEVT_PAINT, &LayerView::OnPaint, this);
  Bind(wxEVT_SET_FOCUS, &LayerView::OnFocusChange, this);
  Bind(wxEVT_KILL_FOCUS, &LayerView::OnFocusChange, this);
  Bind(wxEVT_LEFT_DOWN, &LayerView::OnLeftDown, this);
  Bind(wxEVT_MOTION, &LayerView::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &LayerView::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &LayerView::OnCaptureLost, this);
  Bind(wxEVT_RIGHT_DOWN, &LayerView::OnRightDown, this);
  Bind(wxEVT_CONTEXT_MENU, &LayerView::OnContextMenu, this);
  Bind(wxEVT_MENU, &LayerView::OnLayerCommand, this);
}

void LayerView::SetZoom(bool flag) {
  zoom_ = flag;
  Redraw();
}

void LayerView::SetSamePosition(bool flag) {
  window.samePosition = flag;
  Redraw();
}

bool LayerView::HostReady() const {
  return owner_ != nullptr && slot_ != nullptr && owner_->Host().record != nullptr;
}

void LayerView::Relayout() {
  if (HostReady()) window.Relayout(owner_->Host(), *slot_, owner_->GetDesktop());
  Redraw();
}

void LayerView::MoveView(int dy, int dx) {
  if (HostReady()) window.MoveView(owner_->Host(), *slot_, dy, dx);
}

wxMenu* LayerView::CreateLayerMenu() const {
  wxMenu* menu = BuildPopupMenu(FindMenuTemplate(kLayerMenu)->popups[0]);
  for (int id : kLayerCommands) {
    menu->Check(WxMenuId(id), slot_ != nullptr && LayerItemChecked(*slot_, id));
  }
  return menu;
}

bool LayerView::Render(wxDC& dc, const wxRect& area) {
  // Without a selection or a delivered region there is nothing to show, which is no failure.
  if (!HostReady()) return true;
  const LayerViewLook look{.background = backgroundColor_,
                           .squareSize = static_cast<int>(slot_->GridPixelSize()),
                           .zoom = zoom_};
  const int factor = PixelFactor();
  Raster picture(area.width / factor, area.height / factor);
  if (!RenderLayerPicture(CurrentLayerImage(*owner_->Host().record), look, picture)) return true;
  const wxBitmap bitmap = RasterToBitmap(picture, factor);
  if (!bitmap.IsOk()) return false;
  dc.DrawBitmap(bitmap, area.GetPosition());
  return true;
}

void LayerView::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  const int factor = PixelFactor();
  const int frame = kFrame * factor;
  const wxRect area(frame, frame, size.x - 2 * frame, size.y - 2 * frame);
  if (!area.IsEmpty() && !Render(dc, area)) Fill(dc, area, kFailed);
  Ring(dc, size, 0, factor, kBlack);
  Ring(dc, size, 1, factor, HasFocus() ? kFocusRing : kBlack);
  Ring(dc, size, 2, factor, kBlack);
}

void LayerView::OnFocusChange(wxFocusEvent& event) {
  event.Skip();
  Redraw();
}

void LayerView::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  Redraw();
  lastPoint_ = event.GetPosition();
  if (!HasCapture()) CaptureMouse();
  dragging_ = true;
  if (!window.locked) SetCursor(dragCursor_);
  event.Skip();
}

void LayerView::OnMotion(wxMouseEvent& event) {
  event.Skip();
  if (!event.LeftIsDown() || !dragging_) return;
  if (!window.locked) SetCursor(dragCursor_);
  // The picture follows the mouse, one layer pixel per picture pixel (as many screen pixels
  // as the pixel factor), also while zoomed; a locked grid still fetches and redraws. What is
  // left of a picture pixel counts towards the next move.
  const int factor = PixelFactor();
  const wxPoint moved = (lastPoint_ - event.GetPosition()) / factor;
  if (HostReady()) {
    window.MoveView(owner_->Host(), *slot_, moved.y, moved.x);
    FetchLayer(owner_->Host(), owner_->GetDesktop());
  }
  Redraw();
  lastPoint_ -= moved * factor;
}

void LayerView::OnLeftUp(wxMouseEvent& event) {
  if (HasCapture()) ReleaseMouse();
  lastPoint_ = event.GetPosition();
  dragging_ = false;
  SetCursor(wxNullCursor);
  if (window.autoTable && HostReady()) {
    window.EndDrag(owner_->Host());
    Redraw();
  }
  event.Skip();
}

void LayerView::OnCaptureLost(wxMouseCaptureLostEvent&) {
  dragging_ = false;
  SetCursor(wxNullCursor);
}

void LayerView::OnRightDown(wxMouseEvent& event) {
  SetFocus();
  Redraw();
  // Left unhandled, the press becomes the context-menu request.
  event.Skip();
}

void LayerView::OnContextMenu(wxContextMenuEvent& event) {
  const std::unique_ptr<wxMenu> menu(CreateLayerMenu());
  // A request from the keyboard has no position: the menu opens at the mouse.
  const wxPoint at = event.GetPosition();
  PopupMenu(menu.get(), at == wxDefaultPosition ? wxDefaultPosition : ScreenToClient(at));
}

void LayerView::OnLayerCommand(wxCommandEvent& event) {
  const auto* end = std::end(kLayerCommands);
  const auto* command = std::find_if(std::begin(kLayerCommands), end,
                                     [&](int id) { return WxMenuId(id) == event.GetId(); });
  if (command == end) {
    event.Skip();
    return;
  }
  if (slot_ == nullptr) return;
  ApplyLayerCommand(*slot_, *command);
  if (owner_ != nullptr) {
    owner_->ShowCurrentSlot();
    owner_->RefreshViews();
  }
}

}  // namespace pictaro
