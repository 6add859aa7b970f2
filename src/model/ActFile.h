// Host colour table files (.act): 256 entries of red, green, blue, entry 0 first. Only the
// first 768 bytes count; a longer file (with an entry count and a transparent index behind the
// colours) is accepted, a shorter one refused.
#pragma once

#include <string>

#include "model/ColorTable.h"

namespace pictaro {

enum class ActRead { Loaded, CannotOpen, TooShort };

// Reads up to 768 bytes into `table`; on TooShort the bytes read are in the table's start, as
// the options dialog reads them, and the caller decides what to keep.
ActRead ReadActFile(const std::string& path, ColorTable& table);

inline constexpr const char* kActTooShortMessage =
    "There was a problem reading the color table file: the number of color table entries is "
    "incorrect.";

}  // namespace pictaro
