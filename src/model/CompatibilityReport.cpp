#include "model/CompatibilityReport.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "model/ResourceGrid.h"

namespace pictaro {

namespace {

// The bullet is Windows-1252 0x95; the blank line between messages is CR LF twice.
constexpr std::string_view kBullet = "\x95 ";
constexpr std::string_view kSeparator = "\r\n\r\n";
constexpr std::string_view kBulletUtf8 = "\xE2\x80\xA2";

constexpr std::string_view k48By48At4Bits =
    " resource will cause problems on older versions of Windows. A generic icon will be "
    "displayed on the desktop and applications will not be able to load the resource on "
    "Windows 95, 98, ME or 2000.";
constexpr std::string_view kPngCompressed =
    " resource will be compressed with PNG compression which is only compatible with Vista. "
    "There are also cases where PNG icons will cause errors when building the software in "
    "which they are used. Turn off PNG compression in the Options menu if you experience any "
    "problems.";
constexpr std::string_view kVistaOnly =
    " resource will only be displayed on Windows Vista. Earlier versions of Windows will "
    "ignore this resource.";
constexpr std::string_view kHas24 =
    "Including a 24x24 pixel resource in the icon will cause older versions of Windows to "
    "display the icon incorrectly. If you are designing icons for Windows 95, 98, ME or 2000, "
    "do not include this size. The size is only recommended when you are creating icons for "
    "Windows XP or Vista toolbars.";
constexpr std::string_view kLarge =
    "Icon resources larger than 32x32 will not display on Windows 95, 98, ME or 2000. These "
    "sizes will only display on Windows XP and Vista.";
constexpr std::string_view kDepth32 =
    "Icon resources with 32-bit depth will not display on Windows 95, 98, ME or 2000. This "
    "depth will only display on Windows XP and Vista.";
constexpr std::string_view kNo16 =
    "At least one 16x16 resource should be included in the grid. This icon will be used in "
    "favorites menus, window title bars, the taskbar and many other parts of the Windows user "
    "interface.";
constexpr std::string_view kNo32 =
    "At least one 32x32 resource should be included in the grid. This icon will be used on the "
    "desktop and many other parts of the Windows user interface.";
constexpr std::string_view kAllCompatible =
    "The icon resources are compatible with all versions of Windows.";

// One message: bullet, the texts, and the separator.
void Append(std::string& report, std::string_view first, std::string_view second = {},
            std::string_view third = {}) {
  for (std::string_view part : {kBullet, first, second, third, kSeparator}) report += part;
}

}  // namespace

std::string ResourceGrid::BuildCompatibilityReport() const {
  std::string report;
  bool has16 = false, has24 = false, has32 = false, large = false, depth32 = false;
  for (const IconResource& r : resources) {
    if (!r.present) continue;
    char name[64];
    std::snprintf(name, sizeof name, "%dx%d pixel, %d-bit", static_cast<int>(r.width),
                  static_cast<int>(r.height), static_cast<int>(r.depth));
    const auto square = [&r](std::uint32_t side) { return r.width == side && r.height == side; };
    has16 |= square(16);
    has24 |= square(24);
    has32 |= square(32);
    large |= r.width > 32 && r.height > 32;
    depth32 |= r.depth == 32;
    if (square(48) && r.depth == 4) Append(report, "The ", name, k48By48At4Bits);
    if (square(256)) {
      if (pngCompress) Append(report, "The ", name, kPngCompressed);
      Append(report, "The ", name, kVistaOnly);
    }
  }

  const std::pair<bool, std::string_view> general[] = {
      {has24, kHas24}, {large, kLarge}, {depth32, kDepth32}, {!has16, kNo16}, {!has32, kNo32}};
  for (const auto& [shown, text] : general) {
    if (shown) Append(report, text);
  }

  if (report.empty()) report.append(kBullet).append(kAllCompatible);
  return report;
}

std::string ReportForDisplay(const std::string& report) {
  std::string text;
  text.reserve(report.size() + report.size() / 8);
  for (std::size_t i = 0; i < report.size(); ++i) {
    const char c = report[i];
    if (c == kBullet[0]) {
      text += kBulletUtf8;
    } else if (!(c == '\r' && i + 1 < report.size() && report[i + 1] == '\n')) {
      text += c;
    }
  }
  return text;
}

}  // namespace pictaro
