// Reads an .ico file into the grid. Bitmap images become resource blocks byte for byte; a PNG
// image of a size the grid keeps is decoded into the 32-bit resource of that size. Nothing read
// from the file is trusted: every count, offset and length is held against the file's size
// before anything is allocated or read.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "icofile/IcoFormat.h"
#include "icofile/IcoInput.h"
#include "icofile/PngImage.h"
#include "model/LittleEndian.h"
#include "model/ResourceGrid.h"
#include "platform/Desktop.h"

namespace pictaro {

namespace {

constexpr std::uint32_t kZeroEntryPixels = 256;  // what width and height bytes of 0 stand for

struct DirectoryEntry {
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t depth;  // planes x bit count
  std::uint32_t bytes;
  std::uint32_t offset;
};

DirectoryEntry EntryAt(const std::uint8_t* p) {
  return DirectoryEntry{
      .width = p[ico::kEntryWidth],
      .height = p[ico::kEntryHeight],
      .depth = std::uint32_t{GetU16(p + ico::kEntryPlanes)} * GetU16(p + ico::kEntryBitCount),
      .bytes = GetU32(p + ico::kEntryBytes),
      .offset = GetU32(p + ico::kEntryOffset)};
}

bool StartsWithPng(const std::vector<std::uint8_t>& bytes) {
  return bytes.size() >= ico::kPngSignature.size() &&
         std::memcmp(bytes.data(), ico::kPngSignature.data(), ico::kPngSignature.size()) == 0;
}

// The 32-bit slot of a square image of `pixels`, if the grid has one.
std::optional<GridSlot> Slot32(std::uint32_t pixels) {
  for (std::uint32_t size = 0; size <= 4; ++size) {
    const GridSlot slot(size, 2, 1, 0);
    if (slot.PixelSize() == pixels) return slot;
  }
  return std::nullopt;
}

// A PNG entry whose header names a slot. It is decoded only if no later entry takes the slot:
// a file may repeat a slot tens of thousands of times.
struct PendingPng {
  std::uint32_t number;  // in directory order
  DirectoryEntry entry;
  PngHeader header;
  const char* what;  // how the messages of its reading name it
};

class IcoReader {
 public:
  IcoReader(ResourceGrid& grid, IcoInput& input, const std::string& path, Desktop& desktop,
            std::array<StoredEntry, 13>* stored, std::vector<SkippedEntry>* skipped)
      : grid_(grid),
        input_(input),
        path_(path),
        desktop_(desktop),
        stored_(stored),
        skipped_(skipped) {}

  int Read() {
    std::array<std::uint8_t, ico::kHeaderSize> header{};
    for (std::size_t word = 0; word < header.size(); word += 2) {
      if (input_.Read(header.data() + word, 2) != 2) return Fail("Error reading .ICO file header");
    }
    if (GetU16(header.data()) != 0) return Fail("Error reading .ICO file header");
    if (GetU16(header.data() + 2) != ico::kTypeIcon) converted_ = true;
    const std::uint32_t count = GetU16(header.data() + 4);

    const std::uint64_t directoryBytes = std::uint64_t{count} * ico::kEntrySize;
    std::vector<std::uint8_t> directory;
    // A directory longer than the rest of the file is a short read, not an allocation.
    const bool fits =
        directoryBytes <= input_.Size() - std::min<std::uint64_t>(input_.Size(), ico::kHeaderSize);
    if (fits && !input_.Allocate(directory, directoryBytes)) {
      return Fail("Error allocating memory for icon directory entries");
    }
    const std::int64_t got = fits ? input_.Read(directory.data(), directoryBytes) : 0;
    if (got < 0) return Fail("Error reading icon directory entries from file");
    if (static_cast<std::uint64_t>(got) != directoryBytes) {
      return Fail("Error reading all icon directory entries from file");
    }

    for (std::uint32_t i = 0; i < count; ++i) {
      entryNumber_ = i;
      if (!ReadEntry(EntryAt(directory.data() + std::size_t{i} * ico::kEntrySize))) return 0;
    }
    return LandPngs() ? 1 : 0;
  }

 private:
  bool ReadEntry(DirectoryEntry entry) {
    completed_ = false;
    std::uint32_t w = entry.width;
    std::uint32_t h = entry.height;
    std::uint32_t d = entry.depth;
    if (w == 0 && h == 0) {
      std::array<std::uint8_t, 4> signature{};
      if (!input_.Seek(entry.offset)) return FailEntry("Error locating icon", w, h, d);
      if (input_.Read(signature.data(), signature.size()) != 4) {
        return FailEntry("Error reading icon", w, h, d);
      }
      if (signature == ico::kPngSignature) return ReadPngEntry(entry);
      w = h = kZeroEntryPixels;
    }

    int index = ResourceGrid::IndexOf(w, h, d);
    std::vector<std::uint8_t> bytes;
    if (index < 0) {
      // The directory names no resource (often planes and bit count 0): the image's own header
      // decides.
      if (!ReadBytes(entry, "temporary icon", w, h, d, bytes)) return false;
      if (StartsWithPng(bytes)) return PlacePng(entry, bytes, "temporary icon");
      IconResource probe;
      probe.AdoptBlock(std::move(bytes));
      if (!Parse(probe)) return FailEntry("Error converting format of icon", w, h, d);
      w = probe.width;
      h = probe.height;
      d = probe.depth;
      index = ResourceGrid::IndexOf(w, h, d);
      if (index < 0) return Skip(w, h, d, false);
      converted_ = true;
      // The bytes just checked are the entry; they need not be read a second time.
      bytes = std::move(probe.block);
    } else {
      if (!ReadBytes(entry, "icon", w, h, d, bytes)) return false;
      if (StartsWithPng(bytes)) return PlacePng(entry, bytes, "icon");
    }

    // The later entry wins wholly: a PNG entry before this one for the slot never lands.
    pending_[index].reset();
    IconResource& resource = grid_.resources[index];
    resource.AdoptBlock(std::move(bytes));
    if (!Parse(resource)) return FailEntry("Error converting format of icon", w, h, d);
    resource.present = 1;
    // A block whose mask had to be completed differs from the file.
    resource.modified = converted_ || completed_ ? 1 : 0;
    Note(index, entry.bytes, false);
    return true;
  }

  // A PNG entry of width and height 0: its header is all the directory walk needs of it.
  bool ReadPngEntry(const DirectoryEntry& entry) {
    std::vector<std::uint8_t> start;
    if (!ReadBytes(entry, "temporary icon", entry.width, entry.height, entry.depth, start,
                   kPngHeaderBytes)) {
      return false;
    }
    return PlacePng(entry, start, "temporary icon");
  }

  // Finds a PNG entry's slot from its header, whatever the directory says of it; the entry
  // lands there unless a later one takes the slot. A stream whose header names no square of a
  // size the grid keeps is never decoded.
  bool PlacePng(const DirectoryEntry& entry, const std::vector<std::uint8_t>& start,
                const char* what) {
    const std::optional<PngHeader> header = ReadPngHeader(start.data(), start.size());
    if (!header) return Skip(entry.width, entry.height, entry.depth, true);
    const std::optional<GridSlot> slot =
        header->width == header->height ? Slot32(header->width) : std::nullopt;
    if (!slot) return Skip(header->width, header->height, header->bitsPerPixel, true);
    pending_[ResourceGrid::IndexOf(*slot)] =
        PendingPng{.number = entryNumber_, .entry = entry, .header = *header, .what = what};
    return true;
  }

  // Decodes the PNG entries no later entry displaced, in directory order.
  bool LandPngs() {
    std::vector<PendingPng> landing;
    for (const std::optional<PendingPng>& png : pending_) {
      if (png) landing.push_back(*png);
    }
    std::sort(landing.begin(), landing.end(),
              [](const PendingPng& a, const PendingPng& b) { return a.number < b.number; });
    for (const PendingPng& png : landing) {
      std::vector<std::uint8_t> bytes;
      const DirectoryEntry& e = png.entry;
      if (!ReadBytes(e, png.what, e.width, e.height, e.depth, bytes)) return false;
      if (!LandPng(png, bytes)) return false;
    }
    return true;
  }

  // Decodes a PNG image into the 32-bit resource of its size. Only a 256 px stream of 8-bit
  // RGBA is stored as this program would store it; any other counts as modified, since a save
  // writes it otherwise.
  bool LandPng(const PendingPng& png, const std::vector<std::uint8_t>& bytes) {
    const PngImage image = PngImage::Decode(bytes.data(), bytes.size());
    const std::optional<GridSlot> slot = Slot32(image.Pixels());
    if (!slot) {
      return FailEntry("Error decoding PNG icon", png.header.width, png.header.height,
                       png.header.bitsPerPixel, image.Failure());
    }
    const int index = ResourceGrid::IndexOf(*slot);
    // The later entry wins wholly: nothing of an earlier block stays.
    grid_.ResetResource(index, 0);
    grid_.PrepareResource(*slot);
    IconResource& resource = grid_.resources[index];
    if (!resource.present) return true;
    ResourceBuffers buffers;
    grid_.GetBuffers(*slot, buffers);
    image.CopyTo(buffers.colorBits, buffers.colorRowBytes);
    // The stream holds no 1-bit mask; it follows alpha, as in images captured here.
    ResourceGrid::MaskFromAlpha(&resource);
    const DirectoryEntry& entry = png.entry;
    const bool asWritten = entry.width == 0 && entry.height == 0 && png.header.rgba8 &&
                           (entry.depth == 32 || entry.depth == 0);
    resource.modified = asWritten ? 0 : 1;
    Note(index, entry.bytes, true);
    return true;
  }

  // Reads an entry's bytes, or its first `limit` of them. An entry reaching past the end of the
  // file is a short read, reported before any of it is allocated.
  bool ReadBytes(const DirectoryEntry& entry, const char* what, std::uint32_t w, std::uint32_t h,
                 std::uint32_t d, std::vector<std::uint8_t>& bytes, std::size_t limit = SIZE_MAX) {
    const std::string name = what;
    const std::uint64_t size = input_.Size();
    if (entry.offset > size || entry.bytes > size - entry.offset) {
      return FailEntry("Error reading all of " + name, w, h, d);
    }
    if (!input_.Allocate(bytes, std::min<std::size_t>(entry.bytes, limit))) {
      return FailEntry("Error allocating memory for " + name, w, h, d);
    }
    if (!input_.Seek(entry.offset)) return FailEntry("Error locating " + name, w, h, d);
    const std::int64_t got = input_.Read(bytes.data(), bytes.size());
    if (got < 0) return FailEntry("Error reading " + name, w, h, d);
    if (static_cast<std::uint64_t>(got) != bytes.size()) {
      return FailEntry("Error reading all of " + name, w, h, d);
    }
    return true;
  }

  // Parses a block read from the file, completing a missing or short mask.
  bool Parse(IconResource& resource) {
    if (ResourceGrid::ParseResource(&resource) != 0) return true;
    if (ResourceGrid::CompleteMask(&resource) == 0) return false;
    completed_ = true;
    return true;
  }

  void Note(int index, std::uint32_t bytes, bool png) {
    if (stored_ != nullptr) (*stored_)[index] = StoredEntry{.storedBytes = bytes, .png = png};
  }

  // An entry without a place in the grid is left out; the caller may want to say so.
  bool Skip(std::uint32_t w, std::uint32_t h, std::uint32_t d, bool png) {
    if (skipped_ != nullptr) {
      skipped_->push_back(
          SkippedEntry{.entry = entryNumber_, .width = w, .height = h, .depth = d, .png = png});
    }
    return true;
  }

  int Fail(const std::string& text) {
    desktop_.ShowMessage(text, path_, MessageIcon::Error, MessageButtons::Ok);
    return 0;
  }

  bool FailEntry(const std::string& what, std::uint32_t w, std::uint32_t h, std::uint32_t d,
                 const std::string& why = {}) {
    std::string text = what + " with " + std::to_string(w) + " x " + std::to_string(h) +
                       " pixels, " + std::to_string(d) + " bits per pixel";
    if (!why.empty()) text.append(": ").append(why);
    Fail(text);
    return false;
  }

  ResourceGrid& grid_;
  IcoInput& input_;
  const std::string& path_;
  Desktop& desktop_;
  std::array<StoredEntry, 13>* stored_;
  std::vector<SkippedEntry>* skipped_;
  std::uint32_t entryNumber_ = 0;  // in directory order, from 0
  // The last PNG entry so far for each resource, unless a later bitmap took its place.
  std::array<std::optional<PendingPng>, ResourceGrid::kResourceCount> pending_;
  // Set once the file needed converting (a type other than icon, or an entry identified from
  // its own header); every bitmap read after that counts as modified.
  bool converted_ = false;
  // The entry being read had its mask completed.
  bool completed_ = false;
};

}  // namespace

int ResourceGrid::ReadIco(const std::string& path, Desktop& desktop,
                          std::array<StoredEntry, 13>* stored, std::vector<SkippedEntry>* skipped) {
  Clear();
  if (stored != nullptr) stored->fill(StoredEntry{});
  if (skipped != nullptr) skipped->clear();
  const std::unique_ptr<IcoInput> input = OpenIcoFile(path);
  if (input == nullptr) return 0;
  return IcoReader(*this, *input, path, desktop, stored, skipped).Read();
}

int ResourceGrid::ReadIco(IcoInput& input, const std::string& path, Desktop& desktop,
                          std::array<StoredEntry, 13>* stored, std::vector<SkippedEntry>* skipped) {
  Clear();
  if (stored != nullptr) stored->fill(StoredEntry{});
  if (skipped != nullptr) skipped->clear();
  return IcoReader(*this, input, path, desktop, stored, skipped).Read();
}

}  // namespace pictaro
