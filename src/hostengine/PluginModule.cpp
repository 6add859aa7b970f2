// Loads the plug-in module as a host does: resolved at once, its symbols kept
// to itself, and never unloaded (the module's toolkit can't be loaded twice).
#ifdef _WIN32
#include <windows.h>

#include "platform/windows/ModuleFile.h"
#include "platform/windows/WideText.h"
#else
#include <dlfcn.h>
#endif

#include <filesystem>
#include <system_error>

#include "hostengine/HostEngine.h"
#include "platform/Utf8Path.h"

namespace pictaro {

namespace {

constexpr const char* kModuleName = "Pictaro.8bf";

}  // namespace

#ifdef _WIN32

PluginEntryProc LoadPluginModule(const std::string& path, std::string& error,
                                 const std::string& entryName) {
  // A module that loads stays loaded, whatever it exports.
  const HMODULE module = ::LoadLibraryW(PathFromUtf8(path).c_str());
  if (module == nullptr) {
    error = "can't load the plug-in module " + path + ": " + SystemErrorText(::GetLastError());
    return nullptr;
  }
  const FARPROC symbol = ::GetProcAddress(module, entryName.c_str());
  if (symbol == nullptr) {
    error = path + " is not a filter plug-in: it exports no " + entryName;
    return nullptr;
  }
  return reinterpret_cast<PluginEntryProc>(reinterpret_cast<void*>(symbol));
}

std::string ModuleBesideProgram() {
  const std::filesystem::path self = ModuleFile(nullptr);
  if (self.empty()) return kModuleName;
  return Utf8FromPath(self.parent_path() / kModuleName);
}

#else

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
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return kModuleName;
  return (self.parent_path() / kModuleName).string();
}

#endif

std::string DefaultModulePath() {
  std::string beside = ModuleBesideProgram();
#ifdef PICTARO_INSTALLED_MODULE
  std::error_code ec;
  if (!std::filesystem::exists(PathFromUtf8(beside), ec)) return PICTARO_INSTALLED_MODULE;
#endif
  return beside;
}

}  // namespace pictaro
