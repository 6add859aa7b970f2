#include "hostengine/PluginProperties.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pictaro {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A list of one property, kind '8BFM', then cut short or changed to claim more than it holds.
TEST(PluginProperties, RefusesAListThatClaimsMoreThanItHolds) {
  const Bytes list = {1,   0,   0,   0, 0, 0, 1, 0, 0, 0, 'M', 'I', 'B', '8', 'd',
                      'n', 'i', 'k', 0, 0, 0, 0, 4, 0, 0, 0,   'M', 'F', 'B', '8'};
  struct Damage {
    std::size_t size, at;  // keep `size` bytes, then set the byte at `at`
    std::uint8_t value;
  };
  const Damage damages[] = {{9, 0, 1},        // the header cut short
                            {29, 0, 1},       // the data cut short
                            {30, 6, 2},       // two properties
                            {30, 22, 5},      // 5 bytes of data
                            {30, 25, 0x80}};  // a negative length
  std::string error;
  EXPECT_TRUE(PluginProperties::Parse(list, error)) << error;
  for (const Damage& d : damages) {
    Bytes bytes(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(d.size));
    bytes[d.at] = d.value;
    EXPECT_FALSE(PluginProperties::Parse(bytes, error)) << d.size << " " << d.at;
  }
}

// A list of the host's properties, each padded to 4 bytes.
Bytes List(std::initializer_list<std::pair<const char*, Bytes>> properties) {
  Bytes bytes = {1, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(properties.size()), 0, 0, 0};
  for (const auto& [key, data] : properties) {
    for (const char* code : {"8BIM", key})
      for (int i = 3; i >= 0; --i) bytes.push_back(static_cast<std::uint8_t>(code[i]));
    bytes.insert(bytes.end(), {0, 0, 0, 0, static_cast<std::uint8_t>(data.size()), 0, 0, 0});
    bytes.insert(bytes.end(), data.begin(), data.end());
    bytes.resize(bytes.size() + (4 - data.size() % 4) % 4);
  }
  return bytes;
}

// What a host says before loading the module, then before filtering a layer of case 4.
TEST(PluginProperties, AHostRefusesAnotherKindNoEntryPointAndLayersTheFilterCantTake) {
  const Bytes filter = {'M', 'F', 'B', '8'}, entry = {'G', 'o', 0}, rgb = {0x10, 0};
  Bytes cantFilter(28, 1), matted(28, 1);
  cantFilter[12] = 0;  // case 4: input handling "can't filter"
  matted[13] = 2;      // case 4: output handling "black matte"
  const std::pair<Bytes, std::string> rows[] = {
      {List({{"kind", {'M', 'F', 'B', '9'}}, {"8664", entry}}),
       "m is not a filter plug-in: its property list gives kind '9BFM', not '8BFM'"},
      {List({{"kind", filter}}), "m has no x64 entry point in its property list"},
      {List({{"kind", filter}, {"8664", entry}, {"mode", {0x01, 0}}}),
       "|m does not filter RGB images"},
      {List({{"kind", filter}, {"8664", entry}, {"mode", rgb}, {"fici", cantFilter}}),
       "|m can't filter for this layer (filter case 4)"},
      {List({{"kind", filter}, {"8664", entry}, {"mode", rgb}, {"fici", matted}}),
       "|m wants matted pixels for this layer (filter case 4), which pictaro-host doesn't "
       "provide"},
      {List({{"kind", filter}, {"8664", entry}, {"mode", rgb}}), "|"}};
  for (const auto& [bytes, said] : rows) {
    std::string error;
    const std::optional<PluginProperties> list = PluginProperties::Parse(bytes, error);
    ASSERT_TRUE(list) << error;
    const std::string refusal = FilterRefusal(*list, "m");
    EXPECT_EQ(refusal.empty() ? std::string("|").append(LayerRefusal(*list, 4, "m")) : refusal,
              said);
    EXPECT_EQ(list->EntryPoint(), refusal.empty() ? "Go" : list->EntryPoint());
  }
}

#ifdef _WIN32
std::string HexText(const Bytes& bytes) {
  std::string text;
  char digits[3];
  for (std::uint8_t b : bytes) text.append(digits, std::snprintf(digits, sizeof digits, "%02x", b));
  return text;
}

// The built module's resources, byte for byte as a host reads them without loading the code.
TEST(PluginProperties, ModuleCarriesItsPropertyListAndTerminology) {
  const std::string module = PICTARO_BINARY_DIR "/bin/Pictaro.8bf";
  std::string error;
  const std::optional<Bytes> list = ReadModuleResource(module, "PiPL", 16000, error);
  ASSERT_TRUE(list) << error;
  EXPECT_EQ(list->size(), 318u);  // 10-byte header, 9 properties of 16 bytes + data padded to 4
  const std::optional<PluginProperties> properties = PluginProperties::Parse(*list, error);
  ASSERT_TRUE(properties) << error;
  // clang-format off
  const std::pair<std::uint32_t, const char*> expected[] = {
      {0x6b696e64, "4d464238"},                               // kind: '8BFM'
      {0x6e616d65, "0e" "5069637461726f20322e302e2e2e"},      // name: "Pictaro 2.0..."
      {0x63617467, "08" "5175696c6c6f7279"},                  // catg: "Quillory"
      {0x76657273, "00000400"},                               // vers: 4.0
      {0x38363634, "506c7567696e4d61696e00"},                 // 8664: "PluginMain"
      {0x6d6f6465, "1000"},                                   // mode: RGB
      {0x656e626c, "696e20285053484f505f496d6167654d6f64652c205247424d6f64652900"},  // enbl
      {0x66696369, "01010300010103000101030001010300010103000101030001010300"},      // fici
      {0x6873746d, "00000000" "316b6473" "316b6473" "803e"  // hstm: 0, 'sdk1', 'sdk1', 16000,
                   "41373141343246332d373845362d346634372d413033382d34363133373432314531363700"}};
  // clang-format on
  ASSERT_EQ(properties->All().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const PluginProperty& property = properties->All()[i];
    EXPECT_EQ(property.vendor, 0x3842494du) << i;  // '8BIM'
    EXPECT_EQ(property.key, expected[i].first) << i;
    EXPECT_EQ(property.id, 0) << i;
    EXPECT_EQ(HexText(property.data), expected[i].second) << i;
  }
  EXPECT_EQ(MenuText(*properties) + " " + properties->EntryPoint(),
            "Pictaro 2.0\u2026 (Quillory) PluginMain");

  const std::optional<Bytes> terminology = ReadModuleResource(module, "AETE", 16000, error);
  ASSERT_TRUE(terminology) << error;
  // clang-format off
  EXPECT_EQ(HexText(*terminology),
            "0100" "0100" "0000" "0000" "0100"     // reserved, version 1.0, language, script, suites
            "08" "5175696c6c6f7279"                              // "Quillory"
            "16" "41646f6265206578616d706c6520706c75672d696e73"  // "Adobe example plug-ins"
            "316b6473" "0100" "0100" "0100"                      // 'sdk1', level, version, 1 event
            "0b" "5069637461726f20322e30"                        // "Pictaro 2.0"
            "16" "5069637461726f2066696c74657220706c75672d696e"  // "Pictaro filter plug-in"
            "316b6473" "316b6473" "6c6c756e" "00" "0000"         // 'sdk1', 'sdk1', no reply
            "526d4923" "00" "00b0" "0000"                        // '#ImR', flags 0xB000
            "0000" "0000" "0000");                               // no classes, operators, enums
  // clang-format on
}
#endif

}  // namespace
}  // namespace pictaro
