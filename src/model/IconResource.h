// One icon image of the grid, held exactly as an .ico file stores it: header, colour table,
// colour bitmap and 1-bit mask in one block.
#pragma once

#include <cstdint>
#include <vector>

namespace pictaro {

struct IconResource {
  IconResource() = default;
  // header, colorBits and maskBits point into this resource's own block.
  IconResource(const IconResource&) = delete;
  IconResource& operator=(const IconResource&) = delete;

  // Installs bytes read from a file as the block. The resource is not present and has no views
  // into the block until ParseResource has accepted it. Returns 0, changing nothing, for a block
  // too large for its 32-bit size.
  int AdoptBlock(std::vector<std::uint8_t> bytes);

  // Frees the block and drops the views into it; the sizes keep their values.
  void ReleaseBlock();

  int present = 0;
  int modified = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;  // the image's, not the doubled one of the header
  std::uint32_t depth = 0;   // bits per pixel
  std::vector<std::uint8_t> block;
  // Bytes in block; the file writer briefly holds a PNG stream's length here.
  std::uint32_t blockSize = 0;
  std::uint8_t* header = nullptr;
  std::uint8_t* colorBits = nullptr;
  std::uint8_t* maskBits = nullptr;
  // Entries of 4 bytes in the colour table, which ends at colorBits.
  std::uint32_t colorCount = 0;
};

}  // namespace pictaro
