#include "ui/views/TestDialog.h"

#include <wx/checkbox.h>
#include <wx/control.h>
#include <wx/dcclient.h>
#include <wx/imaglist.h>
#include <wx/renderer.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/treectrl.h>

#include "resources/DialogTemplates.h"
#include "ui/views/DialogBuilder.h"
#include "ui/views/RasterBitmap.h"

namespace pictaro {

using namespace test_ids;

namespace {

constexpr int kLargestSide = 256;
constexpr int kTickStep = 16;
constexpr int kTreeImageSide = 16;
constexpr int kIconButtons[] = {kSmallButton, kMediumButton, kLargeButton};

// GTK draws no static border; a plain line is the nearest it has.
#ifdef __WXGTK__
constexpr long kStaticEdgeBorder = wxBORDER_SIMPLE;
#else
constexpr long kStaticEdgeBorder = wxBORDER_STATIC;
#endif

wxImage ImageOf(const wxIcon& icon) {
  wxBitmap bitmap;
  bitmap.CopyFromIcon(icon);
  return bitmap.ConvertToImage();
}

// A push button showing the icon at its own size in its middle, cut off by its frame, as a
// button of the icon's platform shows it. The toolkit's own button would shrink the icon into
// what its padding leaves (a few pixels on the small button).
class IconButton : public wxControl {
 public:
  IconButton(wxWindow* parent, wxWindowID id, const wxRect& rect)
      : wxControl(parent, id, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &IconButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) { Press(true); });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { Press(false); });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { Press(false); });
  }

  void SetIcon(const wxImage& icon) {
    icon_ = wxBitmap(Magnified(icon, PixelFactor()));
    disabledIcon_ = icon_.ConvertToDisabled();
    Refresh();
  }
  bool Enable(bool enable = true) override {
    const bool changed = wxControl::Enable(enable);
    Refresh();
    return changed;
  }
  // Pressing it does nothing; like the icon, it is only there to be seen.
  bool AcceptsFocusFromKeyboard() const override { return false; }

 private:
  static constexpr int kFrame = 2;

  void Press(bool down) {
    if (down && !HasCapture()) CaptureMouse();
    if (!down && HasCapture()) ReleaseMouse();
    pressed_ = down;
    Refresh();
  }

  void OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    const wxRect area(GetClientSize());
    int state = 0;
    if (!IsEnabled()) state |= wxCONTROL_DISABLED;
    if (pressed_) state |= wxCONTROL_PRESSED;
    wxRendererNative::Get().DrawPushButton(this, dc, area, state);
    const wxBitmap& icon = IsEnabled() ? icon_ : disabledIcon_;
    if (!icon.IsOk()) return;
    wxDCClipper inside(dc, wxRect(area).Deflate(kFrame));
    dc.DrawBitmap(icon, (area.width - icon.GetWidth()) / 2, (area.height - icon.GetHeight()) / 2,
                  true);
  }

  wxBitmap icon_;
  wxBitmap disabledIcon_;
  bool pressed_ = false;
};

}  // namespace

class IconPicture : public wxWindow {
 public:
  IconPicture(wxWindow* parent, wxWindowID id, const wxRect& rect, long border)
      : wxWindow(parent, id, rect.GetPosition(), rect.GetSize(), border) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &IconPicture::OnPaint, this);
  }

  void SetIcon(const wxIcon& icon) {
    image_ = ImageOf(icon);
    ownSize_ = wxBitmap(Magnified(image_, PixelFactor()));
    scaled_ = wxBitmap();
  }
  void SetCentred(bool centred) { centred_ = centred; }
  // Like a static picture, it never takes the focus.
  bool AcceptsFocus() const override { return false; }

 private:
  void OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    const wxSize area = GetClientSize();
    if (!image_.IsOk() || area.x <= 0 || area.y <= 0) return;
    if (centred_) {
      dc.DrawBitmap(ownSize_, (area.x - ownSize_.GetWidth()) / 2,
                    (area.y - ownSize_.GetHeight()) / 2, true);
      return;
    }
    // Whole pixels, as the icon's own pixels are what the window is for.
    if (!scaled_.IsOk() || scaled_.GetSize() != area)
      scaled_ = wxBitmap(image_.Scale(area.x, area.y, wxIMAGE_QUALITY_NEAREST));
    dc.DrawBitmap(scaled_, 0, 0, true);
  }

  wxImage image_;
  wxBitmap ownSize_;
  wxBitmap scaled_;
  bool centred_ = false;
};

TestDialog::TestDialog(const wxIcon& icon, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(FindDialogTemplate(kTestDialog)->caption)),
      icon_(icon) {
  const DialogTemplate& layout = *FindDialogTemplate(kTestDialog);
  SetFont(DialogFont());
  BuildControls(this, layout, [this](wxWindow* on, const ControlTemplate& c, const wxRect& rect) {
    return MakeControl(on, c.id, rect);
  });
  SetClientSize(DialogClientSize(layout));
  // Done is both the affirmative and the escape button, so Enter, Esc and the close box all
  // end the window through it.
  SetAffirmativeId(kDone);
  SetEscapeId(kDone);
  sizeText_ = dynamic_cast<wxStaticText*>(FindWindow(kSizeText));
  Initialise();
  Centre();

  // The slider reports a move as a scroll and as a slider command; either redraws.
  Bind(wxEVT_SLIDER, &TestDialog::OnSliderMoved, this, kSlider);
  Bind(wxEVT_SCROLL_THUMBTRACK, &TestDialog::OnSliderMoved, this, kSlider);
  Bind(wxEVT_SCROLL_CHANGED, &TestDialog::OnSliderMoved, this, kSlider);
  Bind(wxEVT_CHECKBOX, &TestDialog::OnDisableButtons, this, kDisableButtons);
  for (int id : {kCenterImage, kClientEdge, kStaticEdge})
    Bind(wxEVT_CHECKBOX, &TestDialog::OnPictureStyle, this, id);
}

wxWindow* TestDialog::MakeControl(wxWindow* parent, int id, const wxRect& rect) {
  switch (id) {
    case kPicture:
      picture_ = new IconPicture(parent, id, rect, wxBORDER_NONE);
      return picture_;
    case kSlider:
      slider_ = new wxSlider(parent, id, 0, 0, kLargestSide, rect.GetPosition(), rect.GetSize(),
                             wxSL_HORIZONTAL | wxSL_AUTOTICKS);
      return slider_;
    case kTree:
      tree_ = new wxTreeCtrl(parent, id, rect.GetPosition(), rect.GetSize(),
                             wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxBORDER_SUNKEN);
      // wx's own tree (GTK's) draws its items in the system's font though it reports the
      // dialog's, and takes a font only when it differs from the one it reports.
      tree_->SetFont(GetFont().Bold());
      tree_->SetFont(GetFont());
      return tree_;
    default:
      return new IconButton(parent, id, rect);
  }
}

void TestDialog::Initialise() {
  SetIcon(icon_);

  const wxImage image = ImageOf(icon_);
  for (int id : kIconButtons) {
    if (auto* button = dynamic_cast<IconButton*>(FindWindow(id))) button->SetIcon(image);
  }
  picture_->SetIcon(icon_);

  const int side = icon_.GetWidth();

  slider_->SetRange(0, kLargestSide);
  slider_->SetTickFreq(kTickStep);
  slider_->SetValue(side);
  ShowPictureSize(side);

  const int treeSide = kTreeImageSide * PixelFactor();
  auto* images = new wxImageList(treeSide, treeSide, true, 1);
  images->Add(wxBitmap(image.Scale(treeSide, treeSide, wxIMAGE_QUALITY_HIGH)));
  tree_->AssignImageList(images);

  const wxTreeItemId root = tree_->AddRoot("Parent Item", 0, 0);
  for (int i = 0; i < 2; ++i) tree_->AppendItem(root, "Child Item", 0, 0);
  tree_->Expand(root);
}

void TestDialog::OnSliderMoved(wxCommandEvent&) {
  ShowPictureSize(slider_->GetValue());
}

void TestDialog::OnDisableButtons(wxCommandEvent& event) {
  for (int id : kIconButtons) {
    if (wxWindow* button = FindWindow(id)) button->Enable(!event.IsChecked());
  }
}

void TestDialog::OnPictureStyle(wxCommandEvent&) {
  // The toolkit has one frame per window: the sunken client edge wins over the static edge.
  long border = wxBORDER_NONE;
  if (IsChecked(kClientEdge)) {
    border = wxBORDER_SUNKEN;
  } else if (IsChecked(kStaticEdge)) {
    border = kStaticEdgeBorder;
  }
  if (border != (picture_->GetWindowStyleFlag() & wxBORDER_MASK)) ReplacePicture(border);
  picture_->SetCentred(IsChecked(kCenterImage));
  RefreshPicture();
}

void TestDialog::ReplacePicture(long border) {
  // GTK fixes a window's frame when the window is made, so a new frame takes a new window.
  const wxRect outer = picture_->GetRect();
  wxWindow* parent = picture_->GetParent();
  picture_->Destroy();
  picture_ = new IconPicture(parent, kPicture, outer, border);
  picture_->SetIcon(icon_);
}

void TestDialog::ShowPictureSize(int side) {
  if (sizeText_ != nullptr) sizeText_->SetLabel(wxString::Format("%d x %d pixels", side, side));
  // Pixels of the picture, each as many screen pixels over as the display's pixel factor.
  picture_->SetSize(wxSize(side, side) * PixelFactor());
  RefreshPicture();
}

void TestDialog::RefreshPicture() {
  // Resizing to nothing and back makes a changed frame take effect.
  const wxRect outer = picture_->GetRect();
  picture_->SetSize(outer.x, outer.y, 0, 0);
  picture_->SetSize(outer);
  picture_->Refresh();
}

bool TestDialog::IsChecked(int id) const {
  const auto* box = dynamic_cast<wxCheckBox*>(FindWindow(id));
  return box != nullptr && box->IsChecked();
}

void ShowTestDialog(const wxIcon& icon, wxWindow* parent) {
  const ToolTipsPaused paused;
  TestDialog dialog(icon, parent);
  dialog.ShowModal();
}

}  // namespace pictaro
