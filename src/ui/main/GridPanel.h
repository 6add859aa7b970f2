// The painted panel behind the grid: the background colour where the cells stand, its shade
// in the bands above and below that hold the working file's name, the selection radios and
// the document buttons, and a line between the radios and the buttons. The controls on it all
// stand in the bands, so the bands' shade is the panel's background colour for them.
#pragma once

#include <wx/panel.h>

#include <cstdint>

namespace pictaro {

class GridPanel : public wxPanel {
 public:
  // Where the bands meet, in pixels from the panel's top.
  static constexpr int kTopBandEnd = 35;
  static constexpr int kBottomBandStart = 325;
  static constexpr int kLineY = 430;

  GridPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

  void SetColor(std::uint32_t color);
  std::uint32_t GetColor() const { return color_; }

 private:
  void OnPaint(wxPaintEvent& event);

  std::uint32_t color_ = 0xFFFFFF;
};

}  // namespace pictaro
