// Text at the Windows API: UTF-16 there, UTF-8 in the rest of the program.
#pragma once

#include <string>
#include <string_view>

namespace pictaro {

// Invalid sequences become U+FFFD rather than failing: a name is shown or refused, never thrown.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The system's text for a Win32 error code, without its trailing line break.
std::string SystemErrorText(unsigned long code);

}  // namespace pictaro
