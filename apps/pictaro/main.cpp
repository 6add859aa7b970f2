// pictaro: the icon work of the plug-in without a host or a window, for scripts and terminals.
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/FilterParameters.h"
#include "host/LayerAccess.h"
#include "host/LayerWindow.h"
#include "hostengine/HostEngine.h"
#include "model/ActFile.h"
#include "model/CompatibilityReport.h"
#include "model/ResourceGrid.h"
#include "platform/ConsoleDesktop.h"
#include "platform/ProgramArguments.h"

namespace {

using namespace pictaro;

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage: pictaro info ICON.ico\n"
    "       pictaro convert IN.ico -o OUT.ico [--png] [--drop-unplaced]\n"
    "       pictaro build LAYER_IMAGE -o ICON.ico [--png] [--palette default|auto|FILE.act]\n"
    "                     [--same-position] [--opaque]\n"
    "       pictaro apply ICON.ico LAYER_IMAGE -o OUTPUT_IMAGE [--slot SIZE:DEPTH]\n"
    "                     [--selection LEFT,TOP,RIGHT,BOTTOM]\n"
    "\n"
    "  info     lists the icon images of a file that have a place in the grid, then the\n"
    "           file's compatibility report; names the entries without a place, which a\n"
    "           save leaves out, on standard error\n"
    "  convert  reads an icon file and writes it again as Pictaro stores icons; --png stores\n"
    "           the 256x256 image as PNG. It writes nothing when entries without a place in\n"
    "           the grid would be lost, unless --drop-unplaced says to leave them out\n"
    "  build    captures all thirteen images from the standard grid positions of a layer\n"
    "           image, as the Build button does, writes the icon file and prints its report.\n"
    "           --palette: the 8-bit table; auto (the default) fits one to the artwork around\n"
    "           each position, default is the fixed 256-colour table, or a .act file.\n"
    "           --same-position takes all depths of a size from the 32-bit position;\n"
    "           --opaque ignores the image's transparency\n"
    "  apply    writes one image of an icon file, centred, into a layer image, as Apply does;\n"
    "           --slot 16|24|32|48|256:4|8|32 (default 48:32), --selection the filter area\n"
    "\n"
    "Reading and writing problems are reported on standard error as \"FILE: MESSAGE\".\n"
    "Exit status: 0 success, 1 a file could not be read or written (or apply wrote nothing),\n"
    "2 bad arguments.\n";

// Counts the messages it prints, so that a failure the reader or writer did not explain (a file
// that cannot be opened or created) still gets a line.
class CountingDesktop : public ConsoleDesktop {
 public:
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override {
    ++shown;
    return ConsoleDesktop::ShowMessage(text, caption, icon, buttons);
  }
  int shown = 0;
};

int FileError(const CountingDesktop& desktop, const std::string& path, const char* what) {
  if (desktop.shown == 0) std::fprintf(stderr, "%s: %s\n", path.c_str(), what);
  return kExitFailure;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "pictaro: %s\n%s", message.c_str(), kUsage);
  return kExitUsage;
}

// Names on standard error each entry that has no place in the grid, which a save leaves out.
void ReportSkipped(const std::string& path, const std::vector<SkippedEntry>& skipped) {
  for (const SkippedEntry& entry : skipped) {
    std::fprintf(stderr, "%s: entry %u (%ux%u, %u bpp, %s) has no place in the grid\n",
                 path.c_str(), entry.entry + 1, entry.width, entry.height, entry.depth,
                 entry.png ? "png" : "bitmap");
  }
}

int Info(const std::vector<std::string_view>& args) {
  if (args.size() != 1) return UsageError("info takes one icon file");
  const std::string path(args[0]);
  CountingDesktop desktop;
  ResourceGrid grid;
  std::array<StoredEntry, ResourceGrid::kResourceCount> stored;
  std::vector<SkippedEntry> skipped;
  if (grid.ReadIco(path, desktop, &stored, &skipped) == 0)
    return FileError(desktop, path, "can't open the file");
  ReportSkipped(path, skipped);
  for (int index = 0; index < ResourceGrid::kResourceCount; ++index) {
    const IconResource& resource = grid.resources[index];
    if (!resource.present) continue;
    const std::string size = std::to_string(resource.width) + "x" + std::to_string(resource.height);
    std::printf("%2d  %-7s  %2u bpp  %6u bytes%s\n", index, size.c_str(), resource.depth,
                stored[index].storedBytes, stored[index].png ? "  png" : "");
  }
  std::string report = ReportForDisplay(grid.BuildCompatibilityReport());
  while (!report.empty() && report.back() == '\n') report.pop_back();
  std::printf("\n%s\n", report.c_str());
  return kExitSuccess;
}

int Convert(const std::vector<std::string_view>& args) {
  std::string input;
  std::string output;
  bool png = false;
  bool dropUnplaced = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--png") {
      png = true;
    } else if (args[i] == "--drop-unplaced") {
      dropUnplaced = true;
    } else if (args[i] == "-o") {
      if (i + 1 == args.size()) return UsageError("-o needs an output file");
      output = args[++i];
    } else if (args[i].starts_with("-")) {
      return UsageError("unknown option " + std::string(args[i]));
    } else if (input.empty()) {
      input = args[i];
    } else {
      return UsageError("convert takes one input file");
    }
  }
  if (input.empty()) return UsageError("convert needs an input file");
  if (output.empty()) return UsageError("convert needs -o OUT.ico");

  CountingDesktop desktop;
  ResourceGrid grid;
  std::vector<SkippedEntry> skipped;
  if (grid.ReadIco(input, desktop, nullptr, &skipped) == 0)
    return FileError(desktop, input, "can't open the file");
  ReportSkipped(input, skipped);
  // A conversion never loses an image unless told to.
  if (!skipped.empty() && !dropUnplaced) {
    std::fprintf(stderr,
                 "%s: %zu of its entries would be lost; nothing was written (--drop-unplaced "
                 "writes the rest)\n",
                 input.c_str(), skipped.size());
    return kExitFailure;
  }
  grid.SetPngCompression(png ? 1 : 0);
  desktop.shown = 0;
  if (grid.WriteIco(output, desktop) == 0)
    return FileError(desktop, output, "can't write the file");
  return kExitSuccess;
}

// The options both build and apply take from their command lines.
struct LayerOptions {
  std::vector<std::string> files;
  std::string output;
  bool png = false;
  bool samePosition = false;
  bool opaque = false;
  std::string palette = "auto";
  std::string slot = "48:32";
  std::optional<Rect> selection;
};

std::optional<int> ParseLayerOptions(const std::vector<std::string_view>& args, bool building,
                                     LayerOptions& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const auto value = [&](std::string& out) {
      if (i + 1 == args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "-o") {
      if (!value(options.output)) return UsageError("-o needs an output file");
    } else if (building && arg == "--png") {
      options.png = true;
    } else if (building && arg == "--same-position") {
      options.samePosition = true;
    } else if (building && arg == "--opaque") {
      options.opaque = true;
    } else if (building && arg == "--palette") {
      if (!value(options.palette)) return UsageError("--palette needs default, auto or a file");
    } else if (!building && arg == "--slot") {
      if (!value(options.slot)) return UsageError("--slot needs SIZE:DEPTH");
    } else if (!building && arg == "--selection") {
      if (!value(text) || !(options.selection = ParseSelection(text))) {
        return UsageError(
            "--selection needs LEFT,TOP,RIGHT,BOTTOM with LEFT < RIGHT, TOP < BOTTOM");
      }
    } else if (arg.starts_with("-")) {
      return UsageError("unknown option " + std::string(arg));
    } else {
      options.files.emplace_back(arg);
    }
  }
  if (options.output.empty()) return UsageError("-o OUTPUT is needed");
  return std::nullopt;
}

// "SIZE:DEPTH" as a grid slot: 16, 24, 32, 48 or 256 pixels at 4, 8 or 32 bits.
std::optional<GridSlot> ParseSlot(const std::string& text) {
  static constexpr std::array<std::string_view, 5> kSizes = {"16", "24", "32", "48", "256"};
  static constexpr std::array<std::string_view, 3> kDepths = {"4", "8", "32"};
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  const std::string_view size = std::string_view(text).substr(0, colon);
  const std::string_view depth = std::string_view(text).substr(colon + 1);
  for (std::uint32_t s = 0; s < kSizes.size(); ++s) {
    for (std::uint32_t d = 0; d < kDepths.size(); ++d) {
      if (size != kSizes[s] || depth != kDepths[d]) continue;
      const GridSlot slot(s, d, d == 2 ? 1 : 0, 0);
      if (ResourceGrid::IndexOf(slot) < 0) return std::nullopt;
      return slot;
    }
  }
  return std::nullopt;
}

std::optional<Layer> LoadLayer(const std::string& path, bool opaque) {
  std::string error;
  std::optional<Layer> layer = LoadLayerImage(path, opaque, error);
  if (!layer) std::fprintf(stderr, "pictaro: %s\n", error.c_str());
  return layer;
}

int Build(const std::vector<std::string_view>& args) {
  LayerOptions options;
  if (const std::optional<int> exit = ParseLayerOptions(args, true, options)) return *exit;
  if (options.files.size() != 1) return UsageError("build takes one layer image");

  LayerWindow window;
  window.samePosition = options.samePosition;
  if (options.palette == "auto") {
    window.useCustomTable = true;
    window.autoTable = true;
  } else if (options.palette != "default") {
    switch (ReadActFile(options.palette, window.customTable)) {
      case ActRead::Loaded:
        window.useCustomTable = true;
        break;
      case ActRead::CannotOpen:
        std::fprintf(stderr, "%s: can't open the file\n", options.palette.c_str());
        return kExitFailure;
      case ActRead::TooShort:
        std::fprintf(stderr, "%s: %s\n", options.palette.c_str(), kActTooShortMessage);
        return kExitFailure;
    }
  }

  std::optional<Layer> layer = LoadLayer(options.files[0], options.opaque);
  if (!layer) return kExitFailure;
  HostEngine host(std::move(*layer));
  CountingDesktop desktop;
  ResourceGrid grid;
  host.RunInside([&](HostContext& context) {
    GridSlot current;
    window.Build(context, current, BuildSlots(current, false, false), grid, desktop);
  });
  grid.SetPngCompression(options.png ? 1 : 0);
  desktop.shown = 0;
  if (grid.WriteIco(options.output, desktop) == 0) {
    return FileError(desktop, options.output, "can't write the file");
  }
  std::string report = ReportForDisplay(grid.BuildCompatibilityReport());
  while (!report.empty() && report.back() == '\n') report.pop_back();
  std::printf("%s\n", report.c_str());
  return kExitSuccess;
}

int Apply(const std::vector<std::string_view>& args) {
  LayerOptions options;
  if (const std::optional<int> exit = ParseLayerOptions(args, false, options)) return *exit;
  if (options.files.size() != 2) return UsageError("apply takes an icon file and a layer image");
  const std::optional<GridSlot> slot = ParseSlot(options.slot);
  if (!slot)
    return UsageError("bad --slot '" + options.slot + "': give 16|24|32|48:4|8|32 or 256:32");

  std::string error;
  std::optional<Layer> layer = LoadLayer(options.files[1], false);
  if (!layer) return kExitFailure;
  if (options.selection && !SelectionInside(*options.selection, *layer)) {
    return UsageError("--selection must lie inside the " + std::to_string(layer->width) + " x " +
                      std::to_string(layer->height) + " layer");
  }
  if (!CanSaveLayerImage(options.output, layer->planes, error)) {
    std::fprintf(stderr, "pictaro: %s\n", error.c_str());
    return kExitFailure;
  }
  HostEngine host(std::move(*layer), options.selection);
  ConsoleDesktop desktop;
  // As a host runs the filter: the parameter block first, then the Apply step reading it.
  const int16 result = host.RunInside([&](HostContext& context) {
    PrepareParameters(context);
    if (context.result != kNoErr) return;
    StoreApplySelection(context, *slot, options.files[0], options.files[0]);
    DoFilterRect(context, desktop);
  });
  if (result != kNoErr) {
    std::fprintf(stderr, "pictaro: the Apply step failed (%d)\n", result);
    return kExitFailure;
  }
  if (!host.LayerChanged()) {
    std::fprintf(stderr, "pictaro: nothing was written into the layer\n");
    return kExitFailure;
  }
  if (!SaveLayerImage(host.GetLayer(), options.output, error)) {
    std::fprintf(stderr, "pictaro: %s\n", error.c_str());
    return kExitFailure;
  }
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  const std::vector<std::string_view> args(arguments.begin() + 1, arguments.end());
  if (args.empty()) return UsageError("no command");
  const std::string_view command = args[0];
  const std::vector<std::string_view> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
  }
  if (command == "info") return Info(rest);
  if (command == "convert") return Convert(rest);
  if (command == "build") return Build(rest);
  if (command == "apply") return Apply(rest);
  return UsageError("unknown command " + std::string(command));
}
