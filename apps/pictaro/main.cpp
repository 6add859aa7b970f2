// pictaro: the icon work of the plug-in without a host or a window, for scripts and terminals.
#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
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
#include "platform/FileProblem.h"
#include "platform/ProgramArguments.h"

namespace {

using namespace pictaro;

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct Command {
  std::string_view name;
  const char* synopsis;  // after "pictaro NAME "
  const char* about;     // the paragraph the help gives it
};

constexpr std::array<Command, 4> kCommands = {{
    {"info", "ICON.ico",
     "  info     lists the icon images of a file that have a place in the grid, then the\n"
     "           file's compatibility report; names the entries without a place, which a\n"
     "           save leaves out, on standard error\n"},
    {"convert", "IN.ico -o OUT.ico [--png] [--drop-unplaced]",
     "  convert  reads an icon file and writes it again as Pictaro stores icons; --png stores\n"
     "           the 256x256 image as PNG. It writes nothing when entries without a place in\n"
     "           the grid would be lost, unless --drop-unplaced says to leave them out\n"},
    {"build",
     "LAYER_IMAGE -o ICON.ico [--png] [--palette default|auto|FILE.act]\n"
     "                     [--same-position] [--opaque] [--verbose]",
     "  build    captures all thirteen images from the standard grid positions of a layer\n"
     "           image (README.md shows where they are), as the Build button does, writes the\n"
     "           icon file and prints its report; it writes nothing when no position holds any\n"
     "           artwork. --palette: the 8-bit table; auto (the default) fits one to the\n"
     "           artwork around each position, default is the fixed 256-colour table, or a\n"
     "           .act file. --same-position takes all depths of a size from the 32-bit\n"
     "           position; --opaque ignores the image's transparency\n"},
    {"apply",
     "ICON.ico LAYER_IMAGE -o OUTPUT_IMAGE [--slot SIZE:DEPTH]\n"
     "                     [--selection LEFT,TOP,RIGHT,BOTTOM] [--verbose]",
     "  apply    writes one image of an icon file, centred, into a layer image, as Apply does;\n"
     "           --slot 16|24|32|48|256:4|8|32 (default 48:32), --selection the filter area\n"},
}};

constexpr const char* kUsageEnd =
    "\n"
    "Problems are reported on standard error as \"pictaro: FILE: MESSAGE\". --verbose also\n"
    "shows what the image library says while it reads the layer image.\n"
    "Exit status: 0 success, 1 a file could not be read or written, or nothing would be\n"
    "written, 2 bad arguments.\n";

// The whole usage, or one command's.
std::string Usage(const Command* only = nullptr) {
  std::string text;
  for (const Command& command : kCommands) {
    if (only != nullptr && only != &command) continue;
    text += (text.empty() ? "Usage: " : "       ") + std::string("pictaro ") +
            std::string(command.name) + " " + command.synopsis + "\n";
  }
  if (only == nullptr) text += "       pictaro --help | --version\n";
  text += "\n";
  for (const Command& command : kCommands)
    if (only == nullptr || only == &command) text += command.about;
  return text + kUsageEnd;
}

// One line saying what is wrong with the arguments, and where to read how they go.
int UsageError(const Command* command, const std::string& message) {
  const std::string help = command != nullptr ? "pictaro " + std::string(command->name) : "pictaro";
  std::fprintf(stderr, "pictaro: %s\nTry '%s --help' for more information.\n", message.c_str(),
               help.c_str());
  return kExitUsage;
}

int Problem(const std::string& path, const std::string& message) {
  std::fprintf(stderr, "pictaro: %s: %s\n", path.c_str(), message.c_str());
  return kExitFailure;
}

// Counts the messages it prints, so that a failure the reader or writer did not explain (a file
// that cannot be opened or created) still gets a line.
class CountingDesktop : public ConsoleDesktop {
 public:
  CountingDesktop() : ConsoleDesktop("pictaro") {}
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override {
    ++shown;
    return ConsoleDesktop::ShowMessage(text, caption, icon, buttons);
  }
  int shown = 0;
};

// Reads an icon file, saying why when it can't.
bool ReadIcon(const std::string& path, ResourceGrid& grid,
              std::array<StoredEntry, ResourceGrid::kResourceCount>* stored,
              std::vector<SkippedEntry>* skipped) {
  CountingDesktop desktop;
  if (grid.ReadIco(path, desktop, stored, skipped) != 0) return true;
  if (desktop.shown == 0) {
    const std::string why = ReadProblem(path);
    Problem(path, why.empty() ? "can't read the file" : why);
  }
  return false;
}

// Writes the grid as an icon file, saying why when it can't.
bool WriteIcon(ResourceGrid& grid, const std::string& path) {
  CountingDesktop desktop;
  errno = 0;
  if (grid.WriteIco(path, desktop) != 0) return true;
  const int failure = errno;
  if (desktop.shown == 0) {
    const std::string why = WriteProblem(path, failure);
    Problem(path, why.empty() ? "can't write the file" : why);
  }
  return false;
}

// An icon written under another extension is easily taken for something else later.
void WarnUnlessIco(const std::string& path) {
  const std::size_t dot = path.find_last_of("./\\");
  std::string extension = dot != std::string::npos && path[dot] == '.' ? path.substr(dot) : "";
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (extension != ".ico")
    Problem(path, "warning: the name does not end in .ico, but the file holds an icon");
}

// Names on standard error each entry that has no place in the grid, which a save leaves out.
void ReportSkipped(const std::string& path, const std::vector<SkippedEntry>& skipped) {
  for (const SkippedEntry& entry : skipped) {
    Problem(path, "entry " + std::to_string(entry.entry + 1) + " (" + std::to_string(entry.width) +
                      "x" + std::to_string(entry.height) + ", " + std::to_string(entry.depth) +
                      " bpp, " + (entry.png ? "png" : "bitmap") + ") has no place in the grid");
  }
}

int Info(const Command& command, const std::vector<std::string_view>& args) {
  if (args.size() != 1) return UsageError(&command, "info takes one icon file");
  if (args[0].starts_with("-"))
    return UsageError(&command, "unknown option " + std::string(args[0]));
  const std::string path(args[0]);
  ResourceGrid grid;
  std::array<StoredEntry, ResourceGrid::kResourceCount> stored;
  std::vector<SkippedEntry> skipped;
  if (!ReadIcon(path, grid, &stored, &skipped)) return kExitFailure;
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

int Convert(const Command& command, const std::vector<std::string_view>& args) {
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
      if (i + 1 == args.size()) return UsageError(&command, "-o needs an output file");
      output = args[++i];
    } else if (args[i].starts_with("-")) {
      return UsageError(&command, "unknown option " + std::string(args[i]));
    } else if (input.empty()) {
      input = args[i];
    } else {
      return UsageError(&command, "convert takes one input file");
    }
  }
  if (input.empty()) return UsageError(&command, "convert needs an input file");
  if (output.empty()) return UsageError(&command, "convert needs -o OUT.ico");

  ResourceGrid grid;
  std::vector<SkippedEntry> skipped;
  if (!ReadIcon(input, grid, nullptr, &skipped)) return kExitFailure;
  ReportSkipped(input, skipped);
  // A conversion never loses an image unless told to.
  if (!skipped.empty() && !dropUnplaced) {
    return Problem(input, std::to_string(skipped.size()) +
                              " of its entries would be lost; nothing was written "
                              "(--drop-unplaced writes the rest)");
  }
  grid.SetPngCompression(png ? 1 : 0);
  if (!WriteIcon(grid, output)) return kExitFailure;
  WarnUnlessIco(output);
  return kExitSuccess;
}

// The options both build and apply take from their command lines.
struct LayerOptions {
  std::vector<std::string> files;
  std::string output;
  bool png = false;
  bool samePosition = false;
  bool opaque = false;
  bool verbose = false;
  std::string palette = "auto";
  std::string slot = "48:32";
  std::optional<Rect> selection;
};

std::optional<int> ParseLayerOptions(const Command& command,
                                     const std::vector<std::string_view>& args,
                                     LayerOptions& options) {
  const bool building = command.name == "build";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const auto value = [&](std::string& out) {
      if (i + 1 == args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "-o") {
      if (!value(options.output)) return UsageError(&command, "-o needs an output file");
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (building && arg == "--png") {
      options.png = true;
    } else if (building && arg == "--same-position") {
      options.samePosition = true;
    } else if (building && arg == "--opaque") {
      options.opaque = true;
    } else if (building && arg == "--palette") {
      if (!value(options.palette))
        return UsageError(&command, "--palette needs default, auto or a file");
    } else if (!building && arg == "--slot") {
      if (!value(options.slot)) return UsageError(&command, "--slot needs SIZE:DEPTH");
    } else if (!building && arg == "--selection") {
      if (!value(text) || !(options.selection = ParseSelection(text))) {
        return UsageError(
            &command, "--selection needs LEFT,TOP,RIGHT,BOTTOM with LEFT < RIGHT, TOP < BOTTOM");
      }
    } else if (arg.starts_with("-")) {
      return UsageError(&command, "unknown option " + std::string(arg));
    } else {
      options.files.emplace_back(arg);
    }
  }
  if (options.output.empty()) return UsageError(&command, "-o OUTPUT is needed");
  return std::nullopt;
}

constexpr std::array<std::string_view, 5> kSizes = {"16", "24", "32", "48", "256"};
constexpr std::array<std::string_view, 3> kDepths = {"4", "8", "32"};

// "SIZE:DEPTH" as a grid slot: 16, 24, 32, 48 or 256 pixels at 4, 8 or 32 bits.
std::optional<GridSlot> ParseSlot(const std::string& text) {
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

// The slots of the images an icon holds, as --slot takes them.
std::string SlotsPresent(const ResourceGrid& grid) {
  std::string list;
  for (std::uint32_t s = 0; s < kSizes.size(); ++s) {
    for (std::uint32_t d = 0; d < kDepths.size(); ++d) {
      const int index = ResourceGrid::IndexOf(GridSlot(s, d, d == 2 ? 1 : 0, 0));
      if (index < 0 || !grid.resources[index].present) continue;
      if (!list.empty()) list += ' ';
      list.append(kSizes[s]).append(":").append(kDepths[d]);
    }
  }
  return list;
}

// Loads the layer image; what the image library said while reading it is shown with --verbose,
// and always when the image can't be read.
std::unique_ptr<LayerPixels> LoadLayer(const std::string& path, const LayerOptions& options) {
  std::string error;
  std::vector<std::string> said;
  std::unique_ptr<LayerPixels> layer = LoadLayerPixels(path, options.opaque, error, &said);
  if (options.verbose || !layer)
    for (const std::string& line : said) Problem(path, line);
  if (!layer) std::fprintf(stderr, "pictaro: %s\n", error.c_str());
  return layer;
}

int Build(const Command& command, const std::vector<std::string_view>& args) {
  LayerOptions options;
  if (const std::optional<int> exit = ParseLayerOptions(command, args, options)) return *exit;
  if (options.files.size() != 1) return UsageError(&command, "build takes one layer image");

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
      case ActRead::CannotOpen: {
        const std::string why = ReadProblem(options.palette);
        return Problem(options.palette, why.empty() ? "can't read the file" : why);
      }
      case ActRead::TooShort:
        return Problem(options.palette, kActTooShortMessage);
    }
  }

  const std::string& path = options.files[0];
  const std::unique_ptr<LayerPixels> layer = LoadLayer(path, options);
  if (!layer) return kExitFailure;
  const std::string size = std::to_string(layer->Width()) + " x " + std::to_string(layer->Height());
  HostEngine host(*layer);
  CountingDesktop desktop;
  ResourceGrid grid;
  host.RunInside([&](HostContext& context) {
    GridSlot current;
    window.Build(context, current, BuildSlots(current, false, false), grid, desktop);
  });
  bool captured = false;
  for (const IconResource& resource : grid.resources) captured = captured || resource.present;
  if (!captured) {
    return Problem(path, "no icon image was captured: the " + size +
                             " layer has no artwork at the standard grid positions; nothing "
                             "was written");
  }
  grid.SetPngCompression(options.png ? 1 : 0);
  if (!WriteIcon(grid, options.output)) return kExitFailure;
  WarnUnlessIco(options.output);
  std::string report = ReportForDisplay(grid.BuildCompatibilityReport());
  while (!report.empty() && report.back() == '\n') report.pop_back();
  std::printf("%s\n", report.c_str());
  return kExitSuccess;
}

int Apply(const Command& command, const std::vector<std::string_view>& args) {
  LayerOptions options;
  if (const std::optional<int> exit = ParseLayerOptions(command, args, options)) return *exit;
  if (options.files.size() != 2)
    return UsageError(&command, "apply takes an icon file and a layer image");
  const std::optional<GridSlot> slot = ParseSlot(options.slot);
  if (!slot) {
    return UsageError(&command,
                      "bad --slot '" + options.slot + "': give 16|24|32|48:4|8|32 or 256:32");
  }
  const std::string& icon = options.files[0];
  ResourceGrid grid;
  if (!ReadIcon(icon, grid, nullptr, nullptr)) return kExitFailure;
  if (!grid.resources[ResourceGrid::IndexOf(*slot)].present) {
    const std::string present = SlotsPresent(grid);
    return Problem(icon, "no " + options.slot + " image to apply (" +
                             (present.empty() ? "it holds none" : "it holds " + present) + ")");
  }

  std::string error;
  const std::unique_ptr<LayerPixels> layer = LoadLayer(options.files[1], options);
  if (!layer) return kExitFailure;
  if (options.selection && !SelectionInside(*options.selection, layer->Width(), layer->Height())) {
    return UsageError(&command, "--selection must lie inside the " +
                                    std::to_string(layer->Width()) + " x " +
                                    std::to_string(layer->Height()) + " layer");
  }
  if (!CanSaveLayerImage(options.output, layer->Planes(), error)) {
    std::fprintf(stderr, "pictaro: %s\n", error.c_str());
    return kExitFailure;
  }
  HostEngine host(*layer, options.selection);
  CountingDesktop desktop;
  // As a host runs the filter: the parameter block first, then the Apply step reading it.
  const int16 result = host.RunInside([&](HostContext& context) {
    PrepareParameters(context);
    if (context.result != kNoErr) return;
    StoreApplySelection(context, *slot, icon, icon);
    DoFilterRect(context, desktop);
  });
  if (result != kNoErr) {
    std::fprintf(stderr, "pictaro: the Apply step failed (%d)\n", result);
    return kExitFailure;
  }
  if (!host.LayerChanged()) {
    if (desktop.shown == 0) std::fprintf(stderr, "pictaro: nothing was written into the layer\n");
    return kExitFailure;
  }
  if (!SaveLayerImage(*layer, options.output, error)) {
    std::fprintf(stderr, "pictaro: %s\n", error.c_str());
    return kExitFailure;
  }
  return kExitSuccess;
}

using CommandRun = int (*)(const Command&, const std::vector<std::string_view>&);
constexpr std::array<CommandRun, kCommands.size()> kRuns = {Info, Convert, Build, Apply};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  const std::vector<std::string_view> args(arguments.begin() + 1, arguments.end());
  if (args.empty()) return UsageError(nullptr, "no command");
  const std::string_view name = args[0];
  if (name == "--help" || name == "-h") {
    std::fputs(Usage().c_str(), stdout);
    return kExitSuccess;
  }
  if (name == "--version") {
    std::puts("pictaro " PICTARO_VERSION);
    return kExitSuccess;
  }
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (kCommands[i].name != name) continue;
    const std::vector<std::string_view> rest(args.begin() + 1, args.end());
    for (const std::string_view arg : rest) {
      if (arg == "--help" || arg == "-h") {
        std::fputs(Usage(&kCommands[i]).c_str(), stdout);
        return kExitSuccess;
      }
    }
    return kRuns[i](kCommands[i], rest);
  }
  return UsageError(nullptr, "unknown command " + std::string(name));
}
