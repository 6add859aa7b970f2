#include "model/GridSlot.h"

#include <array>

namespace pictaro {

namespace {

constexpr std::array<std::uint32_t, 5> kPixelSizes = {16, 24, 32, 48, 256};
constexpr std::array<int, 5> kSizeRadios = {kSizeRadio16, kSizeRadio24, kSizeRadio32, kSizeRadio48,
                                            kSizeRadio256};
constexpr std::array<int, 3> kDepthRadios = {kDepthRadio4, kDepthRadio8, kDepthRadio32};
constexpr std::array<int, 2> kMaskRadios = {kMaskRadio1, kMaskRadio8};
constexpr std::array<int, 3> kViewRadios = {kViewRadioBoth, kViewRadioData, kViewRadioMask};

// An index outside the table picks its first entry.
template <typename T, std::size_t N>
T PickOrFirst(const std::array<T, N>& table, std::uint32_t index) {
  return index < N ? table[index] : table[0];
}

}  // namespace

void GridSlot::CopyFrom(const GridSlot& other, bool copyViewMode) {
  sizeIndex = other.sizeIndex;
  depthIndex = other.depthIndex;
  maskIndex = other.maskIndex;
  if (copyViewMode) viewMode = other.viewMode;
}

std::uint32_t GridSlot::PixelSize() const {
  return sizeIndex < kPixelSizes.size() ? kPixelSizes[sizeIndex] : 0;
}

std::uint32_t GridSlot::GridPixelSize() const {
  return PickOrFirst(kPixelSizes, sizeIndex);
}

std::uint32_t GridSlot::BitsPerPixel() const {
  switch (depthIndex) {
    case 1:
      return 8;
    case 2:
      return 32;
    default:
      return 4;
  }
}

int GridSlot::SizeRadioId() const {
  return PickOrFirst(kSizeRadios, sizeIndex);
}

int GridSlot::DepthRadioId() const {
  return PickOrFirst(kDepthRadios, depthIndex);
}

int GridSlot::MaskRadioId() const {
  return maskIndex == 1 ? kMaskRadio8 : kMaskRadio1;
}

int GridSlot::ViewRadioId() const {
  return PickOrFirst(kViewRadios, viewMode);
}

bool SelectByRadio(GridSlot& slot, int radioId) {
  constexpr std::uint32_t kSize256 = 4;
  constexpr std::uint32_t kSize48 = 3;
  auto smallerThan256 = [&slot] {
    if (slot.sizeIndex == kSize256) slot.sizeIndex = kSize48;
  };
  auto depth = [&slot](std::uint32_t depthIndex, std::uint32_t maskIndex) {
    slot.depthIndex = depthIndex;
    slot.maskIndex = maskIndex;
  };
  switch (radioId) {
    case kSizeRadio16:
      slot.sizeIndex = 0;
      break;
    case kSizeRadio24:
      slot.sizeIndex = 1;
      break;
    case kSizeRadio32:
      slot.sizeIndex = 2;
      break;
    case kSizeRadio48:
      slot.sizeIndex = kSize48;
      break;
    case kSizeRadio256:
      slot.sizeIndex = kSize256;
      depth(2, 1);
      break;
    case kDepthRadio4:
      smallerThan256();
      depth(0, 0);
      break;
    case kDepthRadio8:
    case kMaskRadio1:
      smallerThan256();
      depth(1, 0);
      break;
    case kDepthRadio32:
    case kMaskRadio8:
      depth(2, 1);
      break;
    default:
      return false;
  }
  return true;
}

GridSlot RestoreSelection(std::uint32_t sizeIndex, std::uint32_t depthIndex,
                          std::uint32_t maskIndex) {
  // Mask first, then data, then size: a grid slot comes back unchanged, and in a conflict the
  // data wins over the mask and the size over both.
  GridSlot slot;
  if (maskIndex < kMaskRadios.size()) SelectByRadio(slot, kMaskRadios[maskIndex]);
  if (depthIndex < kDepthRadios.size()) SelectByRadio(slot, kDepthRadios[depthIndex]);
  if (sizeIndex < kSizeRadios.size()) SelectByRadio(slot, kSizeRadios[sizeIndex]);
  return slot;
}

}  // namespace pictaro
