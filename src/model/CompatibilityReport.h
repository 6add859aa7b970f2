// The compatibility report (ResourceGrid::BuildCompatibilityReport) is Windows-1252 text with
// CR LF line ends; this turns it into what a terminal or a text control shows.
#pragma once

#include <string>

namespace pictaro {

// The report as UTF-8 with "\n" line ends: the 0x95 bullet becomes U+2022. The report's other
// bytes are ASCII and stay as they are.
std::string ReportForDisplay(const std::string& report);

}  // namespace pictaro
