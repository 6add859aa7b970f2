// A filter module's property list (resource PiPL 16000 of a Windows module), which a host reads
// before it loads any of the module's code: what kind of plug-in it is, the name and category
// its menu item shows, its entry point, and the images and filter cases it handles.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/FilterRecord.h"

namespace pictaro {

// A four-character code as the property list stores it: the 32-bit value whose most significant
// byte is the first character.
constexpr std::uint32_t FourCharCode(const char (&code)[5]) {
  return std::uint32_t{static_cast<std::uint8_t>(code[0])} << 24 |
         std::uint32_t{static_cast<std::uint8_t>(code[1])} << 16 |
         std::uint32_t{static_cast<std::uint8_t>(code[2])} << 8 |
         std::uint32_t{static_cast<std::uint8_t>(code[3])};
}

inline constexpr int kPropertyListId = 16000;
inline constexpr std::uint32_t kFilterKind = FourCharCode("8BFM");

struct PluginProperty {
  std::uint32_t vendor = 0;
  std::uint32_t key = 0;
  std::int32_t id = 0;
  std::vector<std::uint8_t> data;  // without the padding that follows it in the list
};

// How a filter wants the pixels of one filter case handed in and taken back.
struct FilterCaseInfo {
  std::uint8_t inputHandling = 0;
  std::uint8_t outputHandling = 0;
  std::uint8_t flags1 = 0;
  std::uint8_t flags2 = 0;
};
inline constexpr std::uint8_t kHandlingCantFilter = 0;
inline constexpr std::uint8_t kHandlingStraightData =
    1;  // unmatted pixels, as the layer holds them
inline constexpr std::uint8_t kCaseDontCopyToDestination = 0x01;  // flags1
inline constexpr std::uint8_t kCaseWorksWithBlankData = 0x02;     // flags1

// The record's filterCase values a host of layers reports.
inline constexpr int16 kFilterCaseFlatImageNoSelection = 1;
inline constexpr int16 kFilterCaseFlatImageWithSelection = 2;
inline constexpr int16 kFilterCaseEditableTransparencyNoSelection = 4;
inline constexpr int16 kFilterCaseEditableTransparencyWithSelection = 5;

class PluginProperties {
 public:
  // Splits the list into its properties; nullopt with `error` set when a count or length in it
  // reaches past its end.
  static std::optional<PluginProperties> Parse(std::span<const std::uint8_t> bytes,
                                               std::string& error);

  const std::vector<PluginProperty>& All() const { return properties_; }
  // The accessors read the host's own properties (vendor '8BIM'); a property that is missing
  // or too short for its content reads as nullopt, empty or false.
  std::optional<std::uint32_t> Kind() const;
  std::string Name() const;  // as stored, in the system's ANSI code page
  std::string Category() const;
  std::string EntryPoint() const;  // the x64 one
  bool SupportsRgb() const;
  std::string EnableExpression() const;
  std::optional<FilterCaseInfo> CaseInfo(int16 filterCase) const;  // 1 to 7

 private:
  const std::vector<std::uint8_t>* Find(std::uint32_t key) const;

  std::vector<PluginProperty> properties_;
};

// The menu item a host shows for the filter: its name, a trailing "..." set as an ellipsis, and
// its category, as "Pictaro 2.0… (Quillory)" (UTF-8).
std::string MenuText(const PluginProperties& properties);

// The filter case of a layer: a flat image when it has no transparency, otherwise a layer whose
// transparency the filter may change; with or without a selection.
int16 FilterCaseFor(int planes, bool selection);

// Why a host refuses the module at `modulePath` before loading its code: it is not a filter, or
// has no entry point for this platform. Empty when the host may load it.
std::string FilterRefusal(const PluginProperties& properties, const std::string& modulePath);
// Why a host refuses to run the filter on an RGB layer of `filterCase`; empty when it may.
std::string LayerRefusal(const PluginProperties& properties, int16 filterCase,
                         const std::string& modulePath);

// Reads the property list of the module at `path` (UTF-8) without running any of its code. A
// Windows module must carry a well-formed one (false with `error` set otherwise). A Linux module
// has no resources: `properties` is left empty and the module is run as it is.
bool ReadModuleProperties(const std::string& path, std::optional<PluginProperties>& properties,
                          std::string& error);

#ifdef _WIN32
// The bytes of resource `type` (ASCII) `id` of the module at `path` (UTF-8), read with the module
// mapped as data only; empty when the module has no such resource, nullopt with `error` set when
// the module can't be opened.
std::optional<std::vector<std::uint8_t>> ReadModuleResource(const std::string& path,
                                                            const char* type, int id,
                                                            std::string& error);
#endif

}  // namespace pictaro
