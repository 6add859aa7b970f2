// One position of the icon grid, as the user interface names it.
#pragma once

#include <cstdint>

namespace pictaro {

// Radio buttons that show a slot; the main window (dialog 1000) and the Preview tab
// (dialog 1027) use the same ids.
inline constexpr int kSizeRadio16 = 1031;
inline constexpr int kSizeRadio24 = 1032;
inline constexpr int kSizeRadio32 = 1033;
inline constexpr int kSizeRadio48 = 1034;
inline constexpr int kSizeRadio256 = 1043;
inline constexpr int kDepthRadio4 = 1035;
inline constexpr int kDepthRadio8 = 1036;
inline constexpr int kDepthRadio32 = 1037;
inline constexpr int kMaskRadio1 = 1039;
inline constexpr int kMaskRadio8 = 1040;
inline constexpr int kViewRadioBoth = 1045;
inline constexpr int kViewRadioData = 1046;
inline constexpr int kViewRadioMask = 1047;

class GridSlot {
 public:
  GridSlot() = default;
  GridSlot(std::uint32_t size, std::uint32_t depth, std::uint32_t mask, std::uint32_t view = 0)
      : sizeIndex(size), depthIndex(depth), maskIndex(mask), viewMode(view) {}
  GridSlot(const GridSlot&) = default;
  GridSlot& operator=(const GridSlot&) = default;
  virtual ~GridSlot() = default;

  // Copies the fields; the view mode only when asked to.
  void CopyFrom(const GridSlot& other, bool copyViewMode);

  // 16, 24, 32, 48 or 256; 0 for a size index above 4.
  std::uint32_t PixelSize() const;
  // The size of the grid position the slot maps to: like PixelSize, but a size index above 4
  // counts as 16. The layer view's square, its grid positions and the capture all use it.
  std::uint32_t GridPixelSize() const;
  // 4, 8 or 32.
  std::uint32_t BitsPerPixel() const;
  // The radio buttons of the main window and the Preview tab that show this slot.
  int SizeRadioId() const;
  int DepthRadioId() const;
  int MaskRadioId() const;
  int ViewRadioId() const;

  friend bool operator==(const GridSlot& a, const GridSlot& b) {
    return a.sizeIndex == b.sizeIndex && a.depthIndex == b.depthIndex &&
           a.maskIndex == b.maskIndex && a.viewMode == b.viewMode;
  }

  // 48 x 48, 32-bit, 8-bit mask, both.
  std::uint32_t sizeIndex = 3;
  std::uint32_t depthIndex = 2;
  std::uint32_t maskIndex = 1;
  std::uint32_t viewMode = 0;
};

// Moves `slot` as the main window's size, data and mask radios do; the depth and mask pairs
// stay those of the grid (4-bit and 8-bit with a 1-bit mask, 32-bit with an 8-bit mask, 256 x
// 256 only in 32 bits). Returns false for an id that is no such radio.
bool SelectByRadio(GridSlot& slot, int radioId);

// The slot a stored selection stands for. A selection outside the thirteen slots (a damaged or
// foreign record) becomes the slot that clicking the radios of its usable fields leads to,
// starting from 48 x 48 32-bit, which is also what is left when no field is usable. The view
// mode is the default.
GridSlot RestoreSelection(std::uint32_t sizeIndex, std::uint32_t depthIndex,
                          std::uint32_t maskIndex);

}  // namespace pictaro
