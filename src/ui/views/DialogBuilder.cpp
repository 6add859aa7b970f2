#include "ui/views/DialogBuilder.h"

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcscreen.h>
#include <wx/fontenum.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "ui/views/ClickablePicture.h"
#include "ui/views/RasterBitmap.h"
#include "ui/views/ResourceImages.h"

#ifdef __WXGTK__
#include <gdk/gdk.h>
#endif

namespace pictaro {
namespace {

wxString Text(const ControlTemplate& control) {
  return control.text == nullptr ? wxString() : wxString::FromUTF8(control.text);
}

// One line of text in dialog units.
constexpr int kLineHeight = 8;

// The toolkit's check mark takes more room than the templates allow for: a box or radio grows
// to the right until its whole text shows, and about its middle to the toolkit's least height.
wxWindow* AtLeastBestSize(wxWindow* control) {
  wxRect rect = control->GetRect();
  const wxSize best = control->GetBestSize();
  if (best.x > rect.width) rect.width = best.x;
  if (best.y > rect.height) {
    rect.y -= (best.y - rect.height) / 2;
    rect.height = best.y;
  }
  control->SetSize(rect);
  return control;
}

// Where a picture of `size` made from `control` stands in `room`, the template's rectangle:
// where the room has grown more than the picture (larger text at the same pixel factor), in the
// place it had in the middle of the room at the stock base units; otherwise at its origin.
wxRect PlaceInRoom(const ControlTemplate& control, const wxRect& room, const wxSize& size) {
  const int factor = PixelFactor();
  const wxSize stock(control.width * 6 / 4 * factor, control.height * 13 / 8 * factor);
  return wxRect(room.x + std::max(0, (room.width - stock.x) / 2),
                room.y + std::max(0, (room.height - stock.y) / 2), size.x, size.y);
}

wxWindow* MakeStandardControl(wxWindow* parent, const ControlTemplate& c, const wxRect& rect) {
  const wxWindowID id = c.id < 0 ? wxID_ANY : c.id;
  const wxPoint pos = rect.GetPosition();
  const wxSize size = rect.GetSize();
  switch (c.kind) {
    case ControlKind::Label: {
      // A label taller than one line of the font wraps inside its width; a one-line label
      // that doesn't fit ends in an ellipsis, or on Windows is cut at its edge as the system's
      // own static text is.
      const bool oneLine = c.height <= kLineHeight;
#ifdef _WIN32
      constexpr long kOverflow = 0;
#else
      constexpr long kOverflow = wxST_ELLIPSIZE_END;
#endif
      auto* label =
          new wxStaticText(parent, id, Text(c), pos, size,
                           wxST_NO_AUTORESIZE | (oneLine ? kOverflow : 0) |
                               ((c.style & kStyleCentred) ? wxALIGN_CENTRE_HORIZONTAL : 0));
      if (!oneLine) label->Wrap(size.x);
      // Text a little wider than the template allows for (its widths are rounded to units
      // of the font's average letter) takes what it needs to the right.
      const int textWidth = label->GetTextExtent(label->GetLabelText()).x;
      if (oneLine && textWidth > size.x) label->SetSize(textWidth, size.y);
      if (c.style & kStyleMiddle) {
        // The toolkit puts the text at the top of its box: the box shrinks to the text's
        // lines about the template box's middle.
        const int lines = 1 + static_cast<int>(label->GetLabel().Freq('\n'));
        const int textHeight = std::min(label->GetCharHeight() * lines, size.y);
        label->SetSize(pos.x, pos.y + (size.y - textHeight) / 2, size.x, textHeight);
      }
      return label;
    }
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
      auto* button = new wxButton(parent, id, Text(c), pos, size, wxBU_EXACTFIT);
      if (c.kind == ControlKind::DefaultButton) button->SetDefault();
      return button;
    }
    case ControlKind::Radio:
      return AtLeastBestSize(new wxRadioButton(parent, id, Text(c), pos, size,
                                               (c.style & kStyleGroup) ? wxRB_GROUP : 0));
    case ControlKind::CheckBox:
      return AtLeastBestSize(new wxCheckBox(parent, id, Text(c), pos, size));
    case ControlKind::Edit: {
      long style = 0;
      if (c.style & kStyleReadOnly) style |= wxTE_READONLY;
      if (c.style & kStyleMultiline) style |= wxTE_MULTILINE | wxVSCROLL;
      return new wxTextCtrl(parent, id, Text(c), pos, size, style);
    }
    case ControlKind::Picture: {
      const wxBitmap bitmap(Magnified(ResourceBitmap(c.image).ConvertToImage(), PixelFactor()));
      auto* picture = new ClickablePicture(parent, id, bitmap, pos, (c.style & kStyleSunken) != 0,
                                           (c.style & kStyleNotify) != 0);
      picture->Move(PlaceInRoom(c, rect, picture->GetSize()).GetPosition());
      return picture;
    }
    case ControlKind::GroupBox:
      return new wxStaticBox(parent, id, Text(c), pos, size);
    case ControlKind::Custom:
      break;
  }
  return nullptr;
}

// A box or radio grown to its text's width may reach into the control beside it: that control,
// and what stands right of it in its row, move right as far.
void MakeRoomBeside(wxWindow& parent) {
  const wxWindowList& controls = parent.GetChildren();
  for (wxWindow* grown : controls) {
    if (dynamic_cast<wxCheckBox*>(grown) == nullptr &&
        dynamic_cast<wxRadioButton*>(grown) == nullptr)
      continue;
    const wxRect box = grown->GetRect();
    auto inRow = [&](const wxRect& rect) {
      return rect.y <= box.GetBottom() && rect.GetBottom() >= box.y && rect.x > box.x;
    };
    int reach = 0;
    for (wxWindow* other : controls) {
      const wxRect rect = other->GetRect();
      if (other != grown && inRow(rect) && rect.x <= box.GetRight())
        reach = std::max(reach, box.GetRight() + 1 - rect.x);
    }
    if (reach == 0) continue;
    for (wxWindow* other : controls) {
      if (other != grown && inRow(other->GetRect()))
        other->Move(other->GetPosition() + wxPoint(reach, 0));
    }
  }
}

// Calls `visit` for each control inside `parent` but `skip`, with its rectangle in the
// outermost parent's coordinates; a control's own controls follow it when `visit` says so.
void VisitControls(wxWindow& parent, const wxWindow& skip, const wxPoint& offset,
                   const std::function<bool(wxWindow&, const wxRect&)>& visit) {
  for (wxWindow* child : parent.GetChildren()) {
    if (child == &skip || child->IsTopLevel()) continue;
    wxRect rect = child->GetRect();
    rect.Offset(offset);
    if (visit(*child, rect))
      VisitControls(*child, skip, rect.GetPosition() + child->GetClientAreaOrigin(), visit);
  }
}

}  // namespace

namespace {

// The base units of the dialog font, measured as the system measures them for a dialog: the
// average width of the 52 letters, rounded, and the font's height. Never below the classic
// 6 x 13, which the stock 8-point font has at 96 dots an inch: the windows' pictures keep their
// pixel sizes there, and a font of smaller metrics (as Wine's stand-in for Tahoma) would squeeze
// the controls onto them. Larger text (a denser display, or text enlarged on Linux with Xft.dpi)
// grows the window with it.
wxSize DialogBaseUnits() {
  static const wxSize units = [] {
    wxScreenDC dc;
    dc.SetFont(DialogFont());
    const wxSize letters = dc.GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return wxSize(std::max((letters.x / 26 + 1) / 2, 6), std::max(dc.GetCharHeight(), 13));
  }();
  return units;
}

// units × base ÷ per: on Windows rounded half away from zero, as the system's MulDiv rounds; the
// GTK build has always cut the fraction off, and its layouts keep their pixels.
int Scaled(int units, int base, int per) {
#ifdef _WIN32
  const int twice = 2 * units * base;
  return twice >= 0 ? (twice + per) / (2 * per) : -((per - twice) / (2 * per));
#else
  return units * base / per;
#endif
}

}  // namespace

int DialogUnitsToPixelsX(int units) {
  return Scaled(units, DialogBaseUnits().x, 4);
}
int DialogUnitsToPixelsY(int units) {
  return Scaled(units, DialogBaseUnits().y, 8);
}
int StockPixelsToPixelsY(int pixels) {
  return Scaled(pixels, DialogBaseUnits().y, 13);
}

int PixelFactor() {
  static const int factor = [] {
#ifdef __WXGTK__
    // GDK's resolution is the one its text is drawn at (Xft.dpi); wx reports 96 whatever it
    // is. A scale GDK applies itself (GDK_SCALE) doubles the pictures with everything else.
    const double dpi = gdk_screen_get_resolution(gdk_screen_get_default());
#else
    const double dpi = wxScreenDC().GetPPI().y;
#endif
    return std::max(1, static_cast<int>(dpi) / 96);
  }();
  return factor;
}

namespace {

// Grows `window` by `extra` pixels downwards within its parent, which grows in turn: the
// window's client area; a page, whose tabs grow to hold it when it is shown; or a control,
// under which the controls move down.
void GrowDown(wxWindow& window, int extra) {
  if (window.IsTopLevel()) {
    window.SetClientSize(window.GetClientSize() + wxSize(0, extra));
    return;
  }
  wxWindow* parent = window.GetParent();
  // The panel that fills a window grows with its client area.
  if (parent->IsTopLevel()) {
    GrowDown(*parent, extra);
    return;
  }
  const bool page = dynamic_cast<wxBookCtrlBase*>(parent) != nullptr;
  if (!page) MakeRoomBelow(window, extra);
  window.SetSize(window.GetSize() + wxSize(0, extra));
  if (!page) GrowDown(*parent, extra);
}

}  // namespace

void FitPixelPart(wxWindow& part, const DialogTemplate& dialog, const wxSize& size) {
  const ControlTemplate& control =
      *std::ranges::find(dialog.controls, part.GetId(), &ControlTemplate::id);
  const wxRect room = part.GetRect();
  const wxRect rect = PlaceInRoom(control, room, size);
  // The nearest of what lies below the part, across its width, and its parent's bottom edge.
  wxWindow& parent = *part.GetParent();
  int limit = parent.GetClientSize().y;
  for (wxWindow* other : parent.GetChildren()) {
    const wxRect below = other->GetRect();
    if (other != &part && !other->IsTopLevel() && below.y > room.GetBottom() &&
        below.x <= rect.GetRight() && below.GetRight() >= rect.x)
      limit = std::min(limit, below.y);
  }
  const int extra = rect.GetBottom() + 1 - limit;
  if (extra > 0) {
    MakeRoomBelow(part, extra);
    if (!parent.IsTopLevel()) GrowDown(parent, extra);
  }
  part.SetSize(rect);
}

#ifdef _WIN32

wxFont DialogFont() {
  return wxFont(wxFontInfo(8).FaceName("Tahoma"));
}

#else

wxFont DialogFont() {
  // Liberation Sans has the metrics of the font the templates were laid out for; the
  // condensed sans is the nearest fallback.
  for (const char* face : {"Liberation Sans", "DejaVu Sans Condensed"}) {
    if (wxFontEnumerator::IsValidFacename(face)) return wxFont(wxFontInfo(8).FaceName(face));
  }
  return wxFont(wxFontInfo(8).Family(wxFONTFAMILY_SWISS));
}

#endif

wxRect DialogRect(const ControlTemplate& control) {
  return wxRect(DialogUnitsToPixelsX(control.x), DialogUnitsToPixelsY(control.y),
                DialogUnitsToPixelsX(control.width), DialogUnitsToPixelsY(control.height));
}

wxSize DialogClientSize(const DialogTemplate& dialog) {
  return wxSize(DialogUnitsToPixelsX(dialog.width), DialogUnitsToPixelsY(dialog.height));
}

void BuildControls(wxWindow* parent, const DialogTemplate& dialog,
                   const CustomControlMaker& makeCustom, int container) {
  wxWindow* inner = nullptr;
  wxRect innerRect;
  for (const ControlTemplate& control : dialog.controls) {
    wxRect rect = DialogRect(control);
    wxWindow* owner = parent;
    if (inner != nullptr && innerRect.Contains(rect)) {
      owner = inner;
      rect.Offset(-innerRect.GetPosition());
    }
    wxWindow* made = control.kind == ControlKind::Custom
                         ? (makeCustom ? makeCustom(owner, control, rect) : nullptr)
                         : MakeStandardControl(owner, control, rect);
    if (made != nullptr && control.id == container && container != 0) {
      inner = made;
      innerRect = rect;
    }
  }
  MakeRoomBeside(*parent);
  if (inner != nullptr) MakeRoomBeside(*inner);
}

void MakeRoomBelow(wxWindow& control, int extra) {
  const wxRect column = control.GetRect();
  const int edge = column.GetBottom() + 1;
  auto under = [&](const wxRect& rect) {
    return rect.y >= edge && rect.x <= column.GetRight() && rect.GetRight() >= column.x;
  };
  // The lowest control under it stands in the window's bottom row, which moves down whole.
  int row = edge;
  VisitControls(*control.GetParent(), control, wxPoint(), [&](wxWindow&, const wxRect& rect) {
    if (under(rect)) row = std::max(row, rect.y);
    return true;
  });
  VisitControls(*control.GetParent(), control, wxPoint(), [&](wxWindow& other, const wxRect& rect) {
    if (under(rect) || rect.y >= row) {
      other.Move(other.GetPosition() + wxPoint(0, extra));
      return false;
    }
    // What reaches down across the bottom row grows with the window.
    if (rect.GetBottom() >= row) other.SetSize(other.GetSize() + wxSize(0, extra));
    return true;
  });
}

wxMenuBar* BuildMenuBar(const MenuTemplate& menu) {
  auto* bar = new wxMenuBar;
  for (const MenuPopupTemplate& popup : menu.popups) {
    bar->Append(BuildPopupMenu(popup), wxString::FromUTF8(popup.text));
  }
  return bar;
}

wxMenu* BuildPopupMenu(const MenuPopupTemplate& popup) {
  auto* items = new wxMenu;
  for (const MenuItemTemplate& item : popup.items) {
    if (item.text == nullptr) {
      items->AppendSeparator();
    } else {
      items->Append(WxMenuId(item.id), wxString::FromUTF8(item.text), wxString(),
                    item.check ? wxITEM_CHECK : wxITEM_NORMAL);
    }
  }
  return items;
}

void AddToolTips(wxWindow& window, std::span<const ToolTipText> tips) {
  for (const ToolTipText& tip : tips) {
    if (wxWindow* control = window.FindWindow(tip.id)) control->SetToolTip(tip.text);
  }
}

namespace {

void TakeToolTips(wxWindow& window, std::vector<std::pair<wxWeakRef<wxWindow>, wxString>>& tips) {
  if (window.GetToolTip() != nullptr) {
    tips.emplace_back(&window, window.GetToolTipText());
    window.UnsetToolTip();
  }
  for (wxWindow* child : window.GetChildren()) TakeToolTips(*child, tips);
}

}  // namespace

ToolTipsPaused::ToolTipsPaused() {
  for (wxWindow* window : wxTopLevelWindows) TakeToolTips(*window, tips_);
}

ToolTipsPaused::~ToolTipsPaused() {
  // A window closed meanwhile has nothing to get back.
  for (const auto& [window, text] : tips_) {
    if (window) window->SetToolTip(text);
  }
}

void SwallowEnterAndEscape(wxWindow& page) {
  page.Bind(wxEVT_CHAR_HOOK, [](wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    const bool swallowed = key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_ESCAPE;
    if (!swallowed) event.Skip();
  });
}

}  // namespace pictaro
