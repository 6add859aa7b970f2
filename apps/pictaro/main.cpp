// pictaro: the icon work of the plug-in without a host or a window, for scripts and terminals.
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "model/CompatibilityReport.h"
#include "model/ResourceGrid.h"
#include "platform/ConsoleDesktop.h"

namespace {

using namespace pictaro;

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage: pictaro info ICON.ico\n"
    "       pictaro convert IN.ico -o OUT.ico [--png]\n"
    "\n"
    "  info     lists the icon images of a file that have a place in the grid, then the\n"
    "           file's compatibility report\n"
    "  convert  reads an icon file and writes it again as Pictaro stores icons; --png stores\n"
    "           the 256x256 image as PNG\n"
    "\n"
    "Reading and writing problems are reported on standard error as \"FILE: MESSAGE\".\n"
    "Exit status: 0 success, 1 the file could not be read or written, 2 bad arguments.\n";

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

int Info(const std::vector<std::string_view>& args) {
  if (args.size() != 1) return UsageError("info takes one icon file");
  const std::string path(args[0]);
  CountingDesktop desktop;
  ResourceGrid grid;
  std::array<StoredEntry, ResourceGrid::kResourceCount> stored;
  if (grid.ReadIco(path, desktop, &stored) == 0)
    return FileError(desktop, path, "can't open the file");
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
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--png") {
      png = true;
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
  if (grid.ReadIco(input, desktop) == 0) return FileError(desktop, input, "can't open the file");
  grid.SetPngCompression(png ? 1 : 0);
  desktop.shown = 0;
  if (grid.WriteIco(output, desktop) == 0)
    return FileError(desktop, output, "can't write the file");
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) return UsageError("no command");
  const std::string_view command = args[0];
  const std::vector<std::string_view> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return kExitSuccess;
  }
  if (command == "info") return Info(rest);
  if (command == "convert") return Convert(rest);
  return UsageError("unknown command " + std::string(command));
}
