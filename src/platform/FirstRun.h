// Where Pictaro keeps its per-user state, and the record of the first run
// (the Welcome window is shown only then).
#pragma once

#include <filesystem>

namespace pictaro {

// On Windows the key Software\Quillory\PictaroXP\2.0 under HKEY_CURRENT_USER; elsewhere the folder
// $XDG_CONFIG_HOME/Quillory/PictaroXP/2.0, or ~/.config/... when unset.
std::filesystem::path SettingsFolder();

// True until RecordFirstRun has succeeded for this folder (key). The record is kept beside the
// settings: the file "Welcomed", or on Windows the value "Welcomed".
bool IsFirstRun(const std::filesystem::path& folder);
// Returns false when the record can't be written (the Welcome then shows again).
bool RecordFirstRun(const std::filesystem::path& folder);

}  // namespace pictaro
