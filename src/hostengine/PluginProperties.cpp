#include "hostengine/PluginProperties.h"

#include <algorithm>
#include <string_view>

#include "model/LittleEndian.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/windows/WideText.h"
#endif

namespace pictaro {

namespace {

// int16 reserved (1), int32 version (0), int32 number of properties.
constexpr std::size_t kListHeaderSize = 10;
constexpr std::uint32_t kListVersion = 0;
// vendor, key, id, data length: 4 bytes each.
constexpr std::size_t kPropertyHeaderSize = 16;

constexpr std::uint32_t kHostVendor = FourCharCode("8BIM");
constexpr std::uint32_t kKindKey = FourCharCode("kind");
constexpr std::uint32_t kNameKey = FourCharCode("name");
constexpr std::uint32_t kCategoryKey = FourCharCode("catg");
constexpr std::uint32_t kEntryPointX64Key = FourCharCode("8664");
constexpr std::uint32_t kImageModesKey = FourCharCode("mode");
constexpr std::uint32_t kEnableKey = FourCharCode("enbl");
constexpr std::uint32_t kFilterCaseInfoKey = FourCharCode("fici");

constexpr std::uint8_t kImageModeRgbFlag = 0x10;  // of the first byte
constexpr int16 kFilterCases = 7;
constexpr std::size_t kCaseInfoSize = 4;

std::string CodeText(std::uint32_t code) {
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>(code >> shift);
  return text + "'";
}

// A length byte, then the characters.
std::string PascalString(const std::vector<std::uint8_t>* data) {
  if (data == nullptr || data->empty() || data->front() >= data->size()) return {};
  return std::string(data->begin() + 1, data->begin() + 1 + data->front());
}

std::string CString(const std::vector<std::uint8_t>* data) {
  if (data == nullptr) return {};
  const auto end = std::find(data->begin(), data->end(), std::uint8_t{0});
  return end == data->end() ? std::string() : std::string(data->begin(), end);
}

}  // namespace

std::optional<PluginProperties> PluginProperties::Parse(std::span<const std::uint8_t> bytes,
                                                        std::string& error) {
  if (bytes.size() < kListHeaderSize) {
    error = "the property list is shorter than its header";
    return std::nullopt;
  }
  const std::uint32_t version = GetU32(&bytes[2]);
  const std::uint32_t count = GetU32(&bytes[6]);
  if (version != kListVersion) {
    error = "property list version " + std::to_string(version) + " is not " +
            std::to_string(kListVersion);
    return std::nullopt;
  }
  if (count > (bytes.size() - kListHeaderSize) / kPropertyHeaderSize) {
    error = "the property list claims " + std::to_string(count) + " properties, more than it holds";
    return std::nullopt;
  }
  PluginProperties list;
  list.properties_.reserve(count);
  std::size_t at = kListHeaderSize;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (bytes.size() - at < kPropertyHeaderSize) {
      error = "property " + std::to_string(i + 1) + " of the list is cut short";
      return std::nullopt;
    }
    PluginProperty property;
    property.vendor = GetU32(&bytes[at]);
    property.key = GetU32(&bytes[at + 4]);
    property.id = static_cast<std::int32_t>(GetU32(&bytes[at + 8]));
    const std::uint32_t length = GetU32(&bytes[at + 12]);
    at += kPropertyHeaderSize;
    if (length > bytes.size() - at) {
      error = "property " + CodeText(property.key) + " claims " + std::to_string(length) +
              " bytes, more than the list holds";
      return std::nullopt;
    }
    property.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
    // The padding to 4 bytes; the last property's may be missing.
    at += std::min((std::size_t{length} + 3) & ~std::size_t{3}, bytes.size() - at);
    list.properties_.push_back(std::move(property));
  }
  return list;
}

const std::vector<std::uint8_t>* PluginProperties::Find(std::uint32_t key) const {
  for (const PluginProperty& property : properties_)
    if (property.vendor == kHostVendor && property.key == key) return &property.data;
  return nullptr;
}

std::optional<std::uint32_t> PluginProperties::Kind() const {
  const std::vector<std::uint8_t>* data = Find(kKindKey);
  if (data == nullptr || data->size() < 4) return std::nullopt;
  return GetU32(data->data());
}

std::string PluginProperties::Name() const {
  return PascalString(Find(kNameKey));
}
std::string PluginProperties::Category() const {
  return PascalString(Find(kCategoryKey));
}
std::string PluginProperties::EntryPoint() const {
  return CString(Find(kEntryPointX64Key));
}
std::string PluginProperties::EnableExpression() const {
  return CString(Find(kEnableKey));
}

bool PluginProperties::SupportsRgb() const {
  const std::vector<std::uint8_t>* data = Find(kImageModesKey);
  return data != nullptr && !data->empty() && (data->front() & kImageModeRgbFlag) != 0;
}

std::optional<FilterCaseInfo> PluginProperties::CaseInfo(int16 filterCase) const {
  const std::vector<std::uint8_t>* data = Find(kFilterCaseInfoKey);
  if (data == nullptr || data->size() < kFilterCases * kCaseInfoSize || filterCase < 1 ||
      filterCase > kFilterCases)
    return std::nullopt;
  const std::uint8_t* info = data->data() + (filterCase - 1) * kCaseInfoSize;
  return FilterCaseInfo{info[0], info[1], info[2], info[3]};
}

std::string MenuText(const PluginProperties& properties) {
  std::string text = properties.Name();
  constexpr std::string_view kDots = "...";
  if (text.ends_with(kDots)) text.replace(text.size() - kDots.size(), kDots.size(), "\u2026");
  const std::string category = properties.Category();
  return category.empty() ? text : text + " (" + category + ")";
}

int16 FilterCaseFor(int planes, bool selection) {
  if (planes == 4)
    return selection ? kFilterCaseEditableTransparencyWithSelection
                     : kFilterCaseEditableTransparencyNoSelection;
  return selection ? kFilterCaseFlatImageWithSelection : kFilterCaseFlatImageNoSelection;
}

std::string FilterRefusal(const PluginProperties& properties, const std::string& modulePath) {
  const std::optional<std::uint32_t> kind = properties.Kind();
  if (kind != kFilterKind)
    return modulePath + " is not a filter plug-in: its property list gives " +
           (kind ? "kind " + CodeText(*kind) : std::string("no kind")) + ", not " +
           CodeText(kFilterKind);
  if (properties.EntryPoint().empty())
    return modulePath + " has no x64 entry point in its property list";
  return {};
}

// The engine hands in the layer's pixels straight, as the layer holds them, and never mats
// them, so a filter that wants matted pixels for this case is refused. Source and destination
// are the same layer: outData always holds the layer's current pixels, which a filter that asks
// for no copy of the source into the destination takes as well (it writes what it changes). A
// blank (fully transparent) layer is never refused, so "works with blank data" needs nothing.
std::string LayerRefusal(const PluginProperties& properties, int16 filterCase,
                         const std::string& modulePath) {
  if (!properties.SupportsRgb()) return modulePath + " does not filter RGB images";
  const std::optional<FilterCaseInfo> info = properties.CaseInfo(filterCase);
  if (!info) return {};  // no case info: every case is filtered with straight data
  const std::string which = " for this layer (filter case " + std::to_string(filterCase) + ")";
  if (info->inputHandling == kHandlingCantFilter || info->outputHandling == kHandlingCantFilter)
    return modulePath + " can't filter" + which;
  if (info->inputHandling != kHandlingStraightData || info->outputHandling != kHandlingStraightData)
    return modulePath + " wants matted pixels" + which + ", which pictaro-host doesn't provide";
  return {};
}

#ifdef _WIN32

std::optional<std::vector<std::uint8_t>> ReadModuleResource(const std::string& path,
                                                            const char* type, int id,
                                                            std::string& error) {
  // Mapped as data: none of the module's code runs, not even its DLL entry.
  const HMODULE module = LoadLibraryExW(WideFromUtf8(path).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) {
    error = "can't load the plug-in module " + path + ": " + SystemErrorText(GetLastError());
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), WideFromUtf8(type).c_str());
  const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data != nullptr) {
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.assign(first, first + SizeofResource(module, found));
  }
  FreeLibrary(module);
  return bytes;
}

bool ReadModuleProperties(const std::string& path, std::optional<PluginProperties>& properties,
                          std::string& error) {
  properties.reset();
  const std::optional<std::vector<std::uint8_t>> bytes =
      ReadModuleResource(path, "PiPL", kPropertyListId, error);
  if (!bytes) return false;
  if (bytes->empty()) {
    error = path + " is not a filter plug-in: it has no property list (resource PiPL " +
            std::to_string(kPropertyListId) + ")";
    return false;
  }
  properties = PluginProperties::Parse(*bytes, error);
  if (!properties) error = path + " has a damaged property list: " + error;
  return properties.has_value();
}

#else

bool ReadModuleProperties(const std::string& /*path*/, std::optional<PluginProperties>& properties,
                          std::string& /*error*/) {
  properties.reset();
  return true;
}

#endif

}  // namespace pictaro
