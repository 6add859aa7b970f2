// Expected outputs as text: pictures one character a pixel, pixels in hexadecimal, and reference
// files kept beside the tests, plain rows of inputs and expected outputs.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/BitmapInfoHeader.h"
#include "model/Raster.h"
#include "model/ResourcePixels.h"

namespace pictaro::testing {

inline std::uint32_t RgbaOf(const Raster& raster, int x, int y) {
  const std::uint8_t* p = raster.At(x, y);
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// `count` pixels of row y from x on, as "rrggbbaa" separated by spaces.
inline std::string Hex(const Raster& raster, int x, int y, int count = 1) {
  std::string text;
  char pixel[10];
  for (int i = 0; i < count; ++i)
    text.append(pixel, std::snprintf(pixel, sizeof pixel, " %08x", RgbaOf(raster, x + i, y)));
  return text.erase(0, 1);
}

// Pixels (x, y) of a resource, y from the top, each as "rrggbbaa" and its mask bit, preceded
// by the colour index at up to 8 bits ("12:ffffffff0"), separated by spaces.
inline std::string PixelText(const IconResource& r, std::vector<std::pair<int, int>> points) {
  std::string text;
  char pixel[12];
  for (const auto& [x, y] : points) {
    if (r.depth <= 8) {
      const std::uint8_t* row = r.colorBits + (r.height - 1 - y) * RowBytes(r.width, r.depth);
      const unsigned bit = x * r.depth, index = row[bit / 8] >> (8 - r.depth - bit % 8);
      text.append(" ").append(std::to_string(index & ((1u << r.depth) - 1))).append(":");
    }
    const ResourcePixel p = PixelAt(r, x, y);
    std::snprintf(pixel, sizeof pixel, "%02x%02x%02x%02x%d", p.red, p.green, p.blue, p.alpha,
                  p.masked);
    text.append(r.depth <= 8 ? "" : " ").append(pixel);
  }
  return text.erase(0, 1);
}

// Every row of the picture from the top, one mark a pixel, after the colours (0xRRGGBBAA) that
// got a mark here, in the order they first appear; `marks` may carry them from picture to picture.
template <typename Marks = std::map<std::uint32_t, char>>
inline std::string PictureText(const Raster& raster, Marks&& marks = {}) {
  static constexpr char kMarks[] = ".#o+*=-%@&ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string legend, rows;
  for (int y = 0; y < raster.height; ++y, rows += '\n') {
    for (int x = 0; x < raster.width; ++x) {
      const auto [mark, fresh] = marks.try_emplace(
          RgbaOf(raster, x, y), kMarks[std::min(marks.size(), sizeof kMarks - 2)]);
      if (fresh) legend.append(1, mark->second).append(" ").append(Hex(raster, x, y)).append("\n");
      rows += mark->second;
    }
  }
  return legend + rows;
}

inline std::string ReadText(const std::string& name) {
  std::stringstream text;
  text << std::ifstream(PICTARO_SOURCE_DIR "/tests/" + name).rdbuf();
  return text.str();
}

// Compares with the reference file tests/<name>; when they differ, the text got is written
// beside it as <name>.got.
inline void ExpectMatchesReference(const std::string& got, const std::string& name) {
  if (got == ReadText(name)) return;
  std::ofstream(PICTARO_SOURCE_DIR "/tests/" + name + ".got") << got;
  ADD_FAILURE() << "tests/" << name << " differs from the text got, written beside it:\n" << got;
}

// The lines of tests/<name> that are neither blank nor comments ('#').
inline std::vector<std::string> DataRows(const std::string& name) {
  std::vector<std::string> rows;
  std::istringstream text(ReadText(name));
  for (std::string line; std::getline(text, line);)
    if (!line.empty() && line[0] != '#') rows.push_back(line);
  EXPECT_FALSE(rows.empty()) << name;
  return rows;
}

// A row of numbers (decimal, or hexadecimal with 0x) and, after a '|', the words that name it.
using NumberRow = std::pair<std::vector<long long>, std::string>;

inline std::vector<NumberRow> NumberRows(const std::string& name) {
  std::vector<NumberRow> rows;
  for (const std::string& line : DataRows(name)) {
    const std::size_t bar = std::min(line.find('|'), line.size());
    auto& numbers = rows.emplace_back(std::vector<long long>(), line.substr(bar)).first;
    std::istringstream in(line.substr(0, bar));
    for (std::string n; in >> n;) numbers.push_back(std::stoll(n, nullptr, 0));
  }
  return rows;
}

}  // namespace pictaro::testing
