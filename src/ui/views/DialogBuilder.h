// Turns the windows' templates into wx controls. Dialog units convert with the base units of
// the templates' font, measured as the system measures them: 6 x 13 pixels for 4 x 8 units with
// the stock font at 96 dots an inch (never less), where the pixel sizes that the windows use
// (cells of the resource size plus 6, the panel's bands) line up with the templates. Larger text
// grows them, and the window with them.
#pragma once

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/menu.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "resources/DialogTemplates.h"

namespace pictaro {

int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
// A height laid out in pixels for the stock base units (13 pixels to 8 units), in the font's.
int StockPixelsToPixelsY(int pixels);

// Screen pixels to one pixel of a picture that shows an image's own pixels (the cells, the
// views, the logo, the Test window's icons): the display's dots an inch divided by 96 and cut
// to a whole number, at least 1. Pictures show 1:1 up to 191 dots an inch and 2:1 from 192, so
// an icon is never resampled by a fraction.
int PixelFactor();

// Gives `part`, a picture made from its control of `dialog` at the template's rectangle, its
// `size` in pixels, once all the template's controls are made. Where the room has grown more than
// the part (larger text at the same factor), the part keeps its place in the middle of it; a part
// that reaches into what lies below it, or out of its parent, pushes that down and grows its
// parents (and the window) to make room.
void FitPixelPart(wxWindow& part, const DialogTemplate& dialog, const wxSize& size);
wxRect DialogRect(const ControlTemplate& control);
wxSize DialogClientSize(const DialogTemplate& dialog);

// The windows' font: Tahoma 8 on Windows, elsewhere an 8-point sans-serif chosen to fit the
// templates' label sizes.
wxFont DialogFont();

// Makes a Custom control of a template on `parent` at `rect` (parent coordinates).
using CustomControlMaker =
    std::function<wxWindow*(wxWindow* parent, const ControlTemplate& control, const wxRect& rect)>;

// Creates the template's controls on `parent` in template order, which is also the tab order.
// When `container` names a Custom control, the controls that lie inside its rectangle become
// its children, so that they stand on what it paints.
void BuildControls(wxWindow* parent, const DialogTemplate& dialog,
                   const CustomControlMaker& makeCustom, int container = 0);

// Makes room for `control` to grow `extra` pixels downwards: the controls under it move down,
// and so does the window's bottom row (that of the lowest of them) from side to side.
void MakeRoomBelow(wxWindow& control, int extra);

// A control's tool tip.
struct ToolTipText {
  int id;
  const char* text;
};

// Gives the window's controls their tips; ids without a control are skipped.
void AddToolTips(wxWindow& window, std::span<const ToolTipText> tips);

// Made just before a modal window opens, for as long as it is open: the program's windows give
// up their tips, so that a tip showing goes away and none pops up beside the modal window (GTK
// shows the tips of the windows under it); afterwards each gets back the tip it had, so the
// option that switches the main window's tips stays as it was.
class ToolTipsPaused {
 public:
  ToolTipsPaused();
  ~ToolTipsPaused();
  ToolTipsPaused(const ToolTipsPaused&) = delete;
  ToolTipsPaused& operator=(const ToolTipsPaused&) = delete;

 private:
  std::vector<std::pair<wxWeakRef<wxWindow>, wxString>> tips_;
};

// Keeps Enter and Escape from acting while the focus is inside `page`, so that neither closes
// the window the page stands in.
void SwallowEnterAndEscape(wxWindow& page);

// wx keeps menu commands below 0x7FFF; the templates' command ids lie above it, so each
// command takes its id's low 15 bits in wx.
constexpr int WxMenuId(int id) {
  return id & 0x7FFF;
}
constexpr int TemplateMenuId(int wxId) {
  return wxId | 0x8000;
}

// The menu bar of a menu template.
wxMenuBar* BuildMenuBar(const MenuTemplate& menu);

// One drop-down of a menu template as a menu of its own, for a popup.
wxMenu* BuildPopupMenu(const MenuPopupTemplate& popup);

}  // namespace pictaro
