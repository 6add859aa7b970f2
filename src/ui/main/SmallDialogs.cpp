#include "ui/main/SmallDialogs.h"

#include <wx/dialog.h>

#include "resources/DialogTemplates.h"
#include "ui/views/DialogBuilder.h"

namespace pictaro {
namespace {

// Both windows end through their button 1 (Close or OK), by Enter, Esc or the close box.
constexpr int kEndButton = 1;

// Labels that span several lines break at their template width.
void RunTemplateDialog(wxWindow* parent, int id) {
  const DialogTemplate& layout = *FindDialogTemplate(id);
  const ToolTipsPaused paused;
  wxDialog dialog(parent, wxID_ANY, wxString::FromUTF8(layout.caption));
  dialog.SetFont(DialogFont());
  BuildControls(&dialog, layout, nullptr);
  dialog.SetClientSize(DialogClientSize(layout));
  dialog.SetAffirmativeId(kEndButton);
  dialog.SetEscapeId(kEndButton);
  dialog.Centre();
  dialog.ShowModal();
}

}  // namespace

void ShowWelcomeDialog(wxWindow* parent) {
  RunTemplateDialog(parent, kWelcomeDialog);
}

void ShowAboutDialog(wxWindow* parent) {
  RunTemplateDialog(parent, kAboutDialog);
}

}  // namespace pictaro
