// Writes the grid as an .ico file: header, directory, then the images back to back, the
// 256 x 256 image as a PNG stream when PNG compression is on.
#include <array>
#include <string>
#include <vector>

#include "icofile/IcoFormat.h"
#include "icofile/PngImage.h"
#include "model/BitmapInfoHeader.h"
#include "model/LittleEndian.h"
#include "model/ResourceGrid.h"
#include "platform/Desktop.h"
#include "platform/ReplacingFile.h"

namespace pictaro {

namespace {

constexpr int kPngIndex = 8;

std::array<std::uint8_t, ico::kEntrySize> DirectoryEntryOf(const IconResource& resource,
                                                           std::uint32_t offset) {
  const BitmapInfoHeader header = ReadBitmapInfoHeader(resource.header);
  const std::uint32_t depth = std::uint32_t{header.biPlanes} * header.biBitCount;
  std::array<std::uint8_t, ico::kEntrySize> entry{};
  entry[ico::kEntryWidth] = static_cast<std::uint8_t>(resource.width);
  entry[ico::kEntryHeight] = static_cast<std::uint8_t>(resource.height);
  entry[ico::kEntryColorCount] = depth < 8 ? static_cast<std::uint8_t>(1u << depth) : 0;
  PutU16(entry.data() + ico::kEntryPlanes, header.biPlanes);
  PutU16(entry.data() + ico::kEntryBitCount, header.biBitCount);
  PutU32(entry.data() + ico::kEntryBytes, resource.blockSize);
  PutU32(entry.data() + ico::kEntryOffset, offset);
  return entry;
}

// A block as stored: byte for byte, but with biSizeImage 0, whatever the block holds.
bool WriteBlock(ReplacingFile& file, const IconResource& resource) {
  constexpr std::size_t kSizeImage = header_offset::kSizeImage;
  constexpr std::array<std::uint8_t, 4> kZero{};
  const std::uint8_t* block = resource.block.data();
  const std::size_t size = std::min<std::size_t>(resource.blockSize, resource.block.size());
  if (size < kSizeImage + kZero.size()) return file.Write(block, size);
  return file.Write(block, kSizeImage) && file.Write(kZero.data(), kZero.size()) &&
         file.Write(block + kSizeImage + kZero.size(), size - kSizeImage - kZero.size());
}

}  // namespace

std::uint32_t ResourceGrid::ImageOffset(int index) const {
  std::uint32_t offset = ico::kHeaderSize + ico::kEntrySize * CountPresent();
  for (int i = 0; i < index && i < kResourceCount; ++i) {
    if (resources[i].present) offset += resources[i].blockSize;
  }
  return offset;
}

int ResourceGrid::WriteIco(const std::string& path, Desktop& desktop) {
  ReplacingFile file(path);
  if (!file.IsOpen()) return 0;

  std::array<std::uint8_t, 2> word{};
  for (const int value : {0, static_cast<int>(ico::kTypeIcon), CountPresent()}) {
    PutU16(word.data(), static_cast<std::uint16_t>(value));
    if (!file.Write(word.data(), word.size())) {
      desktop.ShowMessage("Error writing .ICO file", path, MessageIcon::Error, MessageButtons::Ok);
      return 0;
    }
  }

  IconResource& large = resources[kPngIndex];
  std::vector<std::uint8_t> png;
  const std::uint32_t bitmapSize = large.blockSize;
  // A block read from another file may hold some other image in this place; only a real
  // 256 x 256 32-bit image has the rows the encoder reads.
  const bool packable = large.present && large.colorBits != nullptr && large.width == 256 &&
                        large.height == 256 && large.depth == 32;
  if (pngCompress && packable) {
    switch (EncodePng(large, png)) {
      case PngEncoding::Encoded:
        // While the stream stands in for the bitmap, the offsets of later entries count its
        // length.
        large.blockSize = static_cast<std::uint32_t>(png.size());
        break;
      case PngEncoding::SaveFailed:
        desktop.ShowMessage("Error compressing PNG data", path, MessageIcon::Error,
                            MessageButtons::Ok);
        png.clear();
        break;
      case PngEncoding::NoImage:
        png.clear();
        break;
    }
  }
  const bool asPng = !png.empty();

  bool written = true;
  for (int index = 0; index < kResourceCount && written; ++index) {
    if (!resources[index].present) continue;
    const auto entry = DirectoryEntryOf(resources[index], ImageOffset(index));
    written = file.Write(entry.data(), entry.size());
  }
  if (asPng) large.blockSize = bitmapSize;
  for (int index = 0; index < kResourceCount && written; ++index) {
    if (!resources[index].present) continue;
    written = index == kPngIndex && asPng ? file.Write(png.data(), png.size())
                                          : WriteBlock(file, resources[index]);
  }
  // The document counts as saved only once the file has replaced the old one.
  if (!written || !file.Commit()) return 0;
  for (IconResource& resource : resources) resource.modified = 0;
  return 1;
}

}  // namespace pictaro
