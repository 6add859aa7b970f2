// The Welcome window (first run) and the About window.
#pragma once

#include <wx/window.h>

namespace pictaro {

void ShowWelcomeDialog(wxWindow* parent);
void ShowAboutDialog(wxWindow* parent);

}  // namespace pictaro
