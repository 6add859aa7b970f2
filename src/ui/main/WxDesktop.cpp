#include "ui/main/WxDesktop.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

#include "platform/ConsoleDesktop.h"

namespace pictaro {
namespace {

long IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return wxICON_ERROR;
    case MessageIcon::Question:
      return wxICON_QUESTION;
    case MessageIcon::Information:
      return wxICON_INFORMATION;
    case MessageIcon::Exclamation:
      break;
  }
  return wxICON_EXCLAMATION;
}

}  // namespace

MessageAnswer WxDesktop::ShowMessage(const std::string& text, const std::string& caption,
                                     MessageIcon icon, MessageButtons buttons) {
  if (wxTheApp == nullptr) return ConsoleDesktop().ShowMessage(text, caption, icon, buttons);
  const long buttonStyle = buttons == MessageButtons::Ok ? wxOK : (wxYES_NO | wxCANCEL);
  wxMessageDialog dialog(owner_, wxString::FromUTF8(text), wxString::FromUTF8(caption),
                         buttonStyle | IconStyle(icon));
  switch (dialog.ShowModal()) {
    case wxID_YES:
      return MessageAnswer::Yes;
    case wxID_NO:
      return MessageAnswer::No;
    case wxID_OK:
      return MessageAnswer::Ok;
    default:
      return MessageAnswer::Cancel;
  }
}

}  // namespace pictaro
