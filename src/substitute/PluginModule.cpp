// Loads the plug-in module as a host does: resolved at once, its symbols kept
// to itself, and never unloaded (the module's toolkit can't be loaded twice).
#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "substitute/SubstituteHost.h"

namespace pictaro {

PluginEntryProc LoadPluginModule(const std::string& path, std::string& error,
                                 const std::string& entryName) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    error = "can't load the plug-in module " + path + (reason ? std::string(": ") + reason : "");
    return nullptr;
  }
  dlerror();
  void* symbol = dlsym(module, entryName.c_str());
  if (symbol == nullptr) {
    error = path + " is not a filter plug-in: it exports no " + entryName;
    dlclose(module);
    return nullptr;
  }
  return reinterpret_cast<PluginEntryProc>(symbol);
}

std::string ModuleBesideProgram() {
  constexpr const char* kModuleName = "Pictaro.8bf";
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return kModuleName;
  return (self.parent_path() / kModuleName).string();
}

}  // namespace pictaro
