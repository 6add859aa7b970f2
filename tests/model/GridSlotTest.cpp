#include "model/GridSlot.h"

#include <gtest/gtest.h>

namespace pictaro {
namespace {

TEST(GridSlotTest, DerivedValuesAndTheirFallbacks) {
  const GridSlot def;
  EXPECT_EQ(def, GridSlot(3, 2, 1, 0));  // 48 x 48, 32-bit, 8-bit mask, both

  const std::uint32_t pixels[] = {16, 24, 32, 48, 256};
  for (std::uint32_t size = 0; size < 5; ++size) {
    EXPECT_EQ(GridSlot(size, 0, 0).PixelSize(), pixels[size]) << "size index " << size;
  }
  // The plain query knows no size above 4; the grid counts it as 16.
  for (const std::uint32_t size : {5u, 0xFFFFFFFFu}) {
    EXPECT_EQ(GridSlot(size, 0, 0).PixelSize(), 0u);
    EXPECT_EQ(GridSlot(size, 2, 1).GridPixelSize(), 16u);
  }

  EXPECT_EQ(GridSlot(0, 3, 0).BitsPerPixel(), 4u);

  // Values the radio buttons do not know show as the first button of their group.
  EXPECT_EQ(GridSlot(5, 0, 0).SizeRadioId(), 1031);
  EXPECT_EQ(GridSlot(0, 3, 0).DepthRadioId(), 1035);
  EXPECT_EQ(GridSlot(0, 0, 1).MaskRadioId(), 1040);
  EXPECT_EQ(GridSlot(0, 0, 2).MaskRadioId(), 1039);
  EXPECT_EQ(GridSlot(0, 0, 0, 3).ViewRadioId(), 1045);
}

TEST(GridSlotTest, CopyFromTakesTheViewModeOnlyWhenAsked) {
  const GridSlot source(1, 1, 0, 2);
  GridSlot withoutView(4, 2, 1, 1);
  withoutView.CopyFrom(source, false);
  EXPECT_EQ(withoutView, GridSlot(1, 1, 0, 1));
  GridSlot withView(4, 2, 1, 1);
  withView.CopyFrom(source, true);
  EXPECT_EQ(withView, source);
}

TEST(GridSlotTest, RadiosKeepTheGridsDepthAndMaskPairs) {
  struct Case {
    GridSlot from;
    int radio;
    GridSlot to;
  };
  const Case cases[] = {
      {GridSlot(4, 2, 1, 2), kDepthRadio4, GridSlot(3, 0, 0, 2)},  // the view mode stays
      {GridSlot(0, 2, 1), kMaskRadio1, GridSlot(0, 1, 0)},
      {GridSlot(3, 0, 0), kSizeRadio256, GridSlot(4, 2, 1)},
      {GridSlot(4, 2, 1), kSizeRadio16, GridSlot(0, 2, 1)},
      {GridSlot(4, 2, 1), kMaskRadio8, GridSlot(4, 2, 1)},
      {GridSlot(2, 0, 0), kMaskRadio8, GridSlot(2, 2, 1)},
      {GridSlot(4, 2, 1), kDepthRadio8, GridSlot(3, 1, 0)},
      {GridSlot(0, 0, 0), kMaskRadio1, GridSlot(0, 1, 0)},  // also on the checked radio
  };
  for (const Case& c : cases) {
    GridSlot slot = c.from;
    EXPECT_TRUE(SelectByRadio(slot, c.radio));
    EXPECT_EQ(slot, c.to) << c.radio;
  }
  GridSlot slot(1, 1, 0);
  EXPECT_FALSE(SelectByRadio(slot, kViewRadioMask));
  EXPECT_EQ(slot, GridSlot(1, 1, 0));
}

}  // namespace
}  // namespace pictaro
