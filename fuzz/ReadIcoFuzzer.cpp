// Feeds arbitrary bytes to ReadIco as an .ico file, PNG entries through FreeImage included. Every
// resource it leaves present is then read pixel by pixel with PixelAt, as drawing and Apply read
// it, with sizes and depth taken from the resource itself. A view reaching past a block, a
// leak or an allocation the file cannot justify shows up under the sanitizers and libFuzzer's
// limits.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "icofile/IcoInput.h"
#include "model/BitmapInfoHeader.h"
#include "model/ResourceGrid.h"
#include "model/ResourcePixels.h"
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

// Every pixel as drawing and Apply read it, and the last byte of every colour and mask row, so
// that a row reaching past the block shows up whatever the depth.
std::uint32_t ReadPixels(const pictaro::IconResource& r) {
  using pictaro::RowBytes;
  std::uint32_t sum = 0;
  for (std::uint32_t y = 0; y < r.height; ++y) {
    sum += r.colorBits[(y + 1) * RowBytes(r.width, r.depth) - 1];
    sum += r.maskBits[(y + 1) * RowBytes(r.width, 1) - 1];
    for (std::uint32_t x = 0; x < r.width; ++x) {
      const pictaro::ResourcePixel pixel = pictaro::PixelAt(r, x, y);
      sum += pixel.red + pixel.green + pixel.blue + pixel.alpha + (pixel.masked ? 1 : 0);
    }
  }
  return sum + r.header[0];
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
