// Feeds arbitrary bytes to ReadIco as an .ico file, PNG entries through FreeImage included. Every
// resource it leaves present is then read pixel by pixel the way drawing and Apply read it:
// colour table entries the indices name, the colour bits of each row and the mask bit of each
// pixel, with sizes and depth taken from the resource itself. A view reaching past a block, a
// leak or an allocation the file cannot justify shows up under the sanitizers and libFuzzer's
// limits.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "icofile/IcoInput.h"
#include "model/BitmapInfoHeader.h"
#include "model/ResourceGrid.h"
#include "platform/Desktop.h"

namespace {

volatile std::uint32_t sink;

class CountingDesktop : public pictaro::Desktop {
 public:
  pictaro::MessageAnswer ShowMessage(const std::string& text, const std::string&,
                                     pictaro::MessageIcon, pictaro::MessageButtons) override {
    ++messages;
    characters += static_cast<std::uint32_t>(text.size());
    return pictaro::MessageAnswer::Ok;
  }
  std::uint32_t messages = 0;
  std::uint32_t characters = 0;
};

std::uint32_t Sum(const std::uint8_t* bytes, std::uint64_t count) {
  std::uint32_t sum = 0;
  for (std::uint64_t i = 0; i < count; ++i) sum += bytes[i];
  return sum;
}

// The `depth` bits of pixel x in a row, the leftmost pixel in the highest bits.
std::uint32_t IndexAt(const std::uint8_t* row, std::uint64_t x, std::uint32_t depth) {
  std::uint32_t index = 0;
  for (std::uint64_t bit = x * depth; bit < (x + 1) * depth; ++bit) {
    index = (index << 1) | ((row[bit / 8] >> (7 - bit % 8)) & 1u);
  }
  return index;
}

std::uint32_t ReadPixels(const pictaro::IconResource& r) {
  using pictaro::RowBytes;
  const std::uint8_t* table = r.colorBits - 4 * std::size_t{r.colorCount};
  const std::uint64_t colorRow = RowBytes(r.width, r.depth);
  const std::uint64_t maskRow = RowBytes(r.width, 1);
  std::uint32_t sum = Sum(r.header, pictaro::kBitmapInfoHeaderSize);
  for (std::uint64_t y = 0; y < r.height; ++y) {
    const std::uint8_t* row = r.colorBits + y * colorRow;
    const std::uint8_t* mask = r.maskBits + y * maskRow;
    const bool wholeRow = r.depth > 8 && r.depth != 16 && r.depth != 24 && r.depth != 32;
    if (wholeRow) sum += Sum(row, colorRow);
    for (std::uint64_t x = 0; x < r.width; ++x) {
      if (r.depth <= 8) {
        const std::uint32_t index = IndexAt(row, x, r.depth);
        if (index < r.colorCount) sum += Sum(table + 4 * std::size_t{index}, 4);
      } else if (!wholeRow) {
        sum += Sum(row + x * (r.depth / 8), r.depth / 8);
      }
      sum += (mask[x / 8] >> (7 - x % 8)) & 1u;
    }
  }
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictaro;
  ResourceGrid grid;
  CountingDesktop desktop;
  MemoryIcoInput input(data, size);
  std::array<StoredEntry, ResourceGrid::kResourceCount> stored;
  std::uint32_t sum = static_cast<std::uint32_t>(grid.ReadIco(input, "fuzz.ico", desktop, &stored));
  sum += desktop.messages + desktop.characters;
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    const IconResource& resource = grid.resources[index];
    sum += stored[index].storedBytes;
    if (resource.present) sum += ReadPixels(resource);
  }
  sink = sum;
  return 0;
}
