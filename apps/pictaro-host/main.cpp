// pictaro-host: runs the filter plug-in on a layer image, as an image editor would.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hostengine/HostEngine.h"
#include "hostengine/PluginProperties.h"
#include "hostengine/display/DisplayAvailable.h"
#include "platform/ProgramArguments.h"

namespace {

using namespace pictaro;

constexpr int kExitSuccess = 0;
constexpr int kExitCancelled = 1;
constexpr int kExitFailure = 2;

constexpr const char* kUsage =
    "Usage: pictaro-host [--selection LEFT,TOP,RIGHT,BOTTOM] [--opaque] [--plugin PATH]\n"
    "                    [-o OUTPUT] LAYER_IMAGE\n"
    "       pictaro-host --about [--plugin PATH]\n"
    "\n"
    "Runs the Pictaro filter plug-in on a layer image, as an image editor would.\n"
    "\n"
    "  --selection L,T,R,B  the filter area, inside the layer (default: the whole layer)\n"
    "  --opaque             load the layer without its transparency\n"
    "  --plugin PATH        the plug-in module (default: Pictaro.8bf beside this program)\n"
    "  -o OUTPUT            write the resulting layer to OUTPUT (format from its extension)\n"
    "  --about              show the plug-in's About box instead of running the filter\n"
    "  --help               show this help\n"
    "  --version            show the version\n"
    "\n"
    "Exit status: 0 success, 1 cancelled by the user, 2 any other failure (no display\n"
    "included).\n";

struct Options {
  bool about = false;
  bool opaque = false;
  std::optional<Rect> selection;
  std::string plugin;
  std::string output;
  std::string layer;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "pictaro-host: %s\n", message.c_str());
  return kExitFailure;
}

// Parses the command line; returns an exit code when the program should stop.
std::optional<int> ParseArguments(const std::vector<std::string>& arguments, Options& options) {
  const std::vector<std::string_view> args(arguments.begin() + 1, arguments.end());
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return kExitSuccess;
    } else if (arg == "--version") {
      std::puts("pictaro-host " PICTARO_VERSION);
      return kExitSuccess;
    } else if (arg == "--about") {
      options.about = true;
    } else if (arg == "--opaque") {
      options.opaque = true;
    } else if (arg == "--selection") {
      if (!value(text)) return Fail("--selection needs LEFT,TOP,RIGHT,BOTTOM");
      options.selection = ParseSelection(text);
      if (!options.selection)
        return Fail("bad --selection '" + text +
                    "': give four integers LEFT,TOP,RIGHT,BOTTOM with LEFT < RIGHT and "
                    "TOP < BOTTOM");
    } else if (arg == "--plugin") {
      if (!value(options.plugin)) return Fail("--plugin needs a path");
    } else if (arg == "-o" || arg == "--output") {
      if (!value(options.output)) return Fail("-o needs a file name");
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Fail("unknown option " + std::string(arg) + " (try --help)");
    } else if (options.layer.empty()) {
      options.layer = arg;
    } else {
      return Fail("one layer image only (try --help)");
    }
  }
  if (options.about) {
    if (!options.layer.empty() || options.selection || options.opaque || !options.output.empty())
      return Fail("--about takes no layer image and no layer options");
  } else if (options.layer.empty()) {
    return Fail("no layer image given (try --help)");
  }
  return std::nullopt;
}

int ExitFor(int16 result) {
  if (result == kNoErr) return kExitSuccess;
  if (result == kUserCanceledErr) {
    std::fprintf(stderr, "pictaro-host: cancelled by the user\n");
    return kExitCancelled;
  }
  return Fail("the plug-in failed with result " + std::to_string(result));
}

// Loads the module as a host does: first its property list, without running any of its code, to
// refuse a module that is not a filter or can't filter a layer of `filterCase` (none for About)
// and to find the entry point; then the code. A Linux module carries no property list and is
// entered at PluginMain.
PluginEntryProc LoadFilter(const std::string& modulePath, std::optional<int16> filterCase,
                           std::optional<PluginProperties>& properties, std::string& error) {
  if (!ReadModuleProperties(modulePath, properties, error)) return nullptr;
  if (!properties) return LoadPluginModule(modulePath, error);
  error = FilterRefusal(*properties, modulePath);
  if (error.empty() && filterCase) error = LayerRefusal(*properties, *filterCase, modulePath);
  if (!error.empty()) return nullptr;
  return LoadPluginModule(modulePath, error, properties->EntryPoint());
}

int Run(const Options& options) {
  const std::string modulePath = options.plugin.empty() ? DefaultModulePath() : options.plugin;
  std::string error;
  std::optional<PluginProperties> properties;
  if (options.about) {
    const PluginEntryProc entry = LoadFilter(modulePath, std::nullopt, properties, error);
    if (entry == nullptr) return Fail(error);
    if (properties) {
      // The About item a host lists for the filter.
      std::printf("About %s\n", MenuText(*properties).c_str());
      std::fflush(stdout);
    }
    if (!DisplayAvailable()) return Fail(kNoDisplayMessage);
    HostEngine host(Layer{1, 1, 4, {0, 0, 0, 0}});
    return ExitFor(host.RunAbout(entry));
  }

  const std::unique_ptr<LayerPixels> layer = LoadLayerPixels(options.layer, options.opaque, error);
  if (!layer) return Fail(error);
  if (options.selection && !SelectionInside(*options.selection, layer->Width(), layer->Height())) {
    return Fail("--selection must lie inside the " + std::to_string(layer->Width()) + " x " +
                std::to_string(layer->Height()) + " layer");
  }
  if (!options.output.empty() && !CanSaveLayerImage(options.output, layer->Planes(), error))
    return Fail(error);
  // Without a display the plug-in could only say so where nobody sees it, and end as if the user
  // had cancelled.
  if (!DisplayAvailable()) return Fail(kNoDisplayMessage);
  const int16 filterCase = FilterCaseFor(layer->Planes(), options.selection.has_value());
  const PluginEntryProc entry = LoadFilter(modulePath, filterCase, properties, error);
  if (entry == nullptr) return Fail(error);

  HostEngine host(*layer, options.selection);
  // A host that read the filter's case info tells it which case it runs in.
  if (properties) host.Record().filterCase = filterCase;
  const int16 result = host.RunFilter(entry);
  if (result != kNoErr) return ExitFor(result);
  if (!options.output.empty()) {
    if (!SaveLayerImage(*layer, options.output, error)) return Fail(error);
  } else if (host.LayerChanged()) {
    std::fprintf(stderr, "pictaro-host: layer changed but not saved (no -o given)\n");
  }
  return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const std::optional<int> exit = ParseArguments(Utf8Arguments(argc, argv), options))
    return *exit;
  try {
    return Run(options);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
