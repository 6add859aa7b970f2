#include "model/CompatibilityReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ResourceGrid.h"
#include "support/ReferenceText.h"

namespace pictaro {
namespace {

TEST(CompatibilityReportTest, ResourceMessagesThenGeneralOnes) {
  // GridSlot(size index, depth index, mask index): sizes 16, 24, 32, 48, 256; depths 4, 8, 32.
  std::vector<GridSlot> all;
  for (std::uint32_t i = 0; i < 15; ++i) all.emplace_back(i / 3, i % 3, 0);
  const struct {
    const char* name;
    std::vector<GridSlot> slots;
    int png;
    bool emptyFirst;  // an emptied resource keeps its width and height, but no longer counts
  } cases[] = {
      {"nothing", {}, 0, false},
      {"16x16 4-bit, 32x32 8-bit", {GridSlot(0, 0, 0), GridSlot(2, 1, 0)}, 0, false},
      {"32x32 8-bit, 16x16 4-bit emptied", {GridSlot(0, 0, 0), GridSlot(2, 1, 0)}, 0, true},
      {"32x32 32-bit", {GridSlot(2, 2, 1)}, 0, false},
      {"48x48 8-bit", {GridSlot(3, 1, 0)}, 0, false},
      {"all, PNG", all, 1, false},
      {"all", all, 0, false},
  };
  // Each report as Windows-1252 text with CR LF, the bullet 0x95 and CR written out, then as the
  // window shows it.
  std::string text;
  for (const auto& c : cases) {
    ResourceGrid grid;
    for (const GridSlot& slot : c.slots) grid.PrepareResource(slot);
    if (c.emptyFirst) grid.ClearResource(c.slots[0]);
    grid.SetPngCompression(c.png);
    const std::string report = grid.BuildCompatibilityReport();
    text.append("== ").append(c.name).append("\n");
    for (char b : report) text += b == '\r' ? "\\r" : b == '\x95' ? "\\x95" : std::string(1, b);
    text.append("\n-- as shown\n").append(ReportForDisplay(report)).append("\n\n");
  }
  testing::ExpectMatchesReference(text, "model/compatibility-reports.txt");
}

}  // namespace
}  // namespace pictaro
