#include "model/GridSlot.h"

#include <gtest/gtest.h>

namespace pictaro {
namespace {

TEST(GridSlotTest, DefaultIs48By48At32BitsWithAlphaMaskShowingBoth) {
  const GridSlot slot;
  EXPECT_EQ(slot.PixelSize(), 48u);
  EXPECT_EQ(slot.BitsPerPixel(), 32u);
  EXPECT_EQ(slot.maskIndex, 1u);
  EXPECT_EQ(slot.viewMode, 0u);
}

TEST(GridSlotTest, PixelSizeIsZeroAboveTheLargestSize) {
  const std::uint32_t expected[] = {16, 24, 32, 48, 256};
  for (std::uint32_t size = 0; size < 5; ++size) {
    EXPECT_EQ(GridSlot(size, 0, 0).PixelSize(), expected[size]) << "size index " << size;
    EXPECT_EQ(GridSlot(size, 0, 0).GridPixelSize(), expected[size]) << "size index " << size;
  }
  EXPECT_EQ(GridSlot(5, 0, 0).PixelSize(), 0u);
  EXPECT_EQ(GridSlot(0xFFFFFFFF, 0, 0).PixelSize(), 0u);
}

TEST(GridSlotTest, GridPixelSizeCountsUnknownSizesAs16) {
  EXPECT_EQ(GridSlot(5, 0, 0).GridPixelSize(), 16u);
  EXPECT_EQ(GridSlot(0xFFFFFFFF, 2, 1).GridPixelSize(), 16u);
}

TEST(GridSlotTest, BitsPerPixelFallsBackTo4) {
  EXPECT_EQ(GridSlot(0, 0, 0).BitsPerPixel(), 4u);
  EXPECT_EQ(GridSlot(0, 1, 0).BitsPerPixel(), 8u);
  EXPECT_EQ(GridSlot(0, 2, 1).BitsPerPixel(), 32u);
  EXPECT_EQ(GridSlot(0, 3, 0).BitsPerPixel(), 4u);
  EXPECT_EQ(GridSlot(0, 0xFFFFFFFF, 0).BitsPerPixel(), 4u);
}

TEST(GridSlotTest, SizeRadioIds) {
  const int expected[] = {1031, 1032, 1033, 1034, 1043};
  for (std::uint32_t size = 0; size < 5; ++size) {
    EXPECT_EQ(GridSlot(size, 0, 0).SizeRadioId(), expected[size]) << "size index " << size;
  }
  EXPECT_EQ(GridSlot(5, 0, 0).SizeRadioId(), 1031);
}

TEST(GridSlotTest, DepthRadioIds) {
  EXPECT_EQ(GridSlot(0, 0, 0).DepthRadioId(), 1035);
  EXPECT_EQ(GridSlot(0, 1, 0).DepthRadioId(), 1036);
  EXPECT_EQ(GridSlot(0, 2, 0).DepthRadioId(), 1037);
  EXPECT_EQ(GridSlot(0, 3, 0).DepthRadioId(), 1035);
}

TEST(GridSlotTest, MaskRadioIdIs8BitOnlyForMaskIndex1) {
  EXPECT_EQ(GridSlot(0, 0, 0).MaskRadioId(), 1039);
  EXPECT_EQ(GridSlot(0, 0, 1).MaskRadioId(), 1040);
  EXPECT_EQ(GridSlot(0, 0, 2).MaskRadioId(), 1039);
}

TEST(GridSlotTest, ViewRadioIds) {
  EXPECT_EQ(GridSlot(0, 0, 0, 0).ViewRadioId(), 1045);
  EXPECT_EQ(GridSlot(0, 0, 0, 1).ViewRadioId(), 1046);
  EXPECT_EQ(GridSlot(0, 0, 0, 2).ViewRadioId(), 1047);
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

}  // namespace
}  // namespace pictaro
