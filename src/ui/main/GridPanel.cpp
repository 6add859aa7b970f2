#include "ui/main/GridPanel.h"

#include <wx/dcclient.h>

#include "model/CellPicture.h"
#include "ui/views/DialogBuilder.h"
#include "ui/views/RasterBitmap.h"

namespace pictaro {

GridPanel::GridPanel(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxPanel(parent, id, pos, size, wxTAB_TRAVERSAL | wxBORDER_NONE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &GridPanel::OnPaint, this);
  SetColor(color_);
}

void GridPanel::SetColor(std::uint32_t color) {
  color_ = color;
  // Labels and radios draw no background of their own: GTK shows the panel's painting through
  // them, Windows fills them with the colour of the panel they stand on.
  SetBackgroundColour(ToWxColour(ShadeOf(color_)));
}

void GridPanel::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  // The bands reach 10 pixels past the top and bottom edges.
  const int top = -10;
  const int bottom = size.y + 10;
  // The bands follow the controls, which follow the font.
  const int topBandEnd = StockPixelsToPixelsY(kTopBandEnd);
  const int bottomBandStart = StockPixelsToPixelsY(kBottomBandStart);
  const int lineY = StockPixelsToPixelsY(kLineY);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWxColour(ShadeOf(color_))));
  dc.DrawRectangle(0, top, size.x, topBandEnd - top);
  dc.DrawRectangle(0, bottomBandStart, size.x, bottom - bottomBandStart);
  dc.SetBrush(wxBrush(ToWxColour(color_)));
  dc.DrawRectangle(0, topBandEnd, size.x, bottomBandStart - topBandEnd);
  dc.SetPen(wxPen(ToWxColour(color_)));
  dc.DrawLine(0, lineY, size.x, lineY);
}

}  // namespace pictaro
