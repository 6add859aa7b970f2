// The parts of a file chooser that need no window system: the filter in the
// toolkit's form, the folder it opens on, and the default extension.
#pragma once

#include <filesystem>
#include <string>

namespace pictaro {

// "Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||" as a wx wildcard: the trailing
// empty pairs dropped and "*.*" widened to "*", so that every file matches,
// names without a dot included.
std::string ToWildcard(const std::string& filter);

// The folder a chooser opens on for `requested`: that folder, the folder of a
// file, or the nearest existing parent; text that is no absolute path at all
// ("%USERPROFILE%\My Documents") gives `fallback`.
std::filesystem::path InitialFolder(const std::string& requested,
                                    const std::filesystem::path& fallback);

// `path` with ".extension" added when its file name has no extension at all;
// a name ending in a dot counts as having one.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace pictaro
