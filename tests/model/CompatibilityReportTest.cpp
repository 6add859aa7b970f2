#include "model/CompatibilityReport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/ResourceGrid.h"
#include "support/ReferenceText.h"

namespace pictaro {
namespace {

// The report of the named messages in that order, as Windows-1252 text with CR LF.
std::string Report(const std::string& names) {
  std::map<std::string, std::string> messages;
  for (const std::string& row : testing::DataRows("model/compatibility-messages.txt")) {
    const std::string name = row.substr(0, row.find('\t'));
    messages[name] = "\x95 " + row.substr(name.size() + 1) + (name == "all" ? "" : "\r\n\r\n");
  }
  std::string report, name;
  for (std::istringstream in(names); in >> name;) report += messages.at(name);
  return report;
}

TEST(CompatibilityReportTest, ResourceMessagesThenGeneralOnes) {
  // GridSlot(size index, depth index, mask index): sizes 16, 24, 32, 48, 256; depths 4, 8, 32.
  std::vector<GridSlot> all;
  for (std::uint32_t size = 0; size < 5; ++size) {
    for (std::uint32_t depth = 0; depth < 3; ++depth) all.emplace_back(size, depth, 0);
  }
  const struct {
    std::vector<GridSlot> slots;
    int png;
    const char* messages;
  } cases[] = {
      {{}, 0, "no16 no32"},
      {{GridSlot(0, 0, 0), GridSlot(2, 1, 0)}, 0, "all"},
      {{GridSlot(2, 2, 1)}, 0, "depth32 no16"},
      {{GridSlot(3, 1, 0)}, 0, "large no16 no32"},  // the 48 x 48 message is for 4-bit only
      {all, 1, "48at4 png vista has24 large depth32"},
      {all, 0, "48at4 vista has24 large depth32"},
  };
  for (const auto& c : cases) {
    ResourceGrid grid;
    for (const GridSlot& slot : c.slots) grid.PrepareResource(slot);
    grid.SetPngCompression(c.png);
    EXPECT_EQ(grid.BuildCompatibilityReport(), Report(c.messages)) << c.messages;
  }
  // An emptied resource keeps its width and height, but no longer counts.
  ResourceGrid grid;
  grid.PrepareResource(GridSlot(0, 0, 0));
  grid.PrepareResource(GridSlot(2, 1, 0));
  grid.ClearResource(GridSlot(0, 0, 0));
  EXPECT_EQ(grid.BuildCompatibilityReport(), Report("no16"));

  EXPECT_EQ(ReportForDisplay(Report("large all")),
            "\u2022 Icon resources larger than 32x32 will not display on Windows 95, 98, ME or "
            "2000. These sizes will only display on Windows XP and Vista.\n\n"
            "\u2022 The icon resources are compatible with all versions of Windows.");
}

}  // namespace
}  // namespace pictaro
