#include "ui/main/WxDesktop.h"

#include <wx/app.h>
#include <wx/colordlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

#include "platform/ConsoleDesktop.h"
#include "platform/FileRequestRules.h"
#include "platform/Utf8Path.h"
#include "ui/views/RasterBitmap.h"

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
    case MessageIcon::None:
      return wxICON_NONE;
    case MessageIcon::Exclamation:
      break;
  }
  return wxICON_EXCLAMATION;
}

std::filesystem::path DocumentsFolder() {
  const std::filesystem::path documents = PathFromUtf8(DefaultWorkingFolder());
#ifndef _WIN32
  std::error_code ignored;
  if (!std::filesystem::is_directory(documents, ignored)) {
    return PathFromUtf8(wxGetHomeDir().utf8_string());
  }
#endif
  return documents;
}

// The chooser confirms replacing the name the user typed; a name that only the
// default extension made is confirmed here.
bool MayReplace(wxWindow* owner, const std::string& path) {
  std::error_code ignored;
  if (!std::filesystem::exists(PathFromUtf8(path), ignored)) return true;
  const wxString text =
      wxString::Format("%s already exists.\nDo you want to replace it?", wxString::FromUTF8(path));
  wxMessageDialog question(owner, text, "Save As", wxYES_NO | wxICON_EXCLAMATION);
  return question.ShowModal() == wxID_YES;
}

// COLORREF and wxColour's RGB value share their layout: red in the low byte.
std::uint32_t FromWx(const wxColour& color) {
  return static_cast<std::uint32_t>(color.GetRGB()) & 0xFFFFFFu;
}

}  // namespace

std::string DefaultWorkingFolder() {
#ifdef _WIN32
  return "%USERPROFILE%\\My Documents";
#else
  return wxStandardPaths::Get().GetDocumentsDir().utf8_string();
#endif
}

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

std::optional<std::string> WxDesktop::ChooseFile(const FileRequest& request) {
  if (wxTheApp == nullptr) return std::nullopt;
  wxString wildcard = wxString::FromUTF8(ToWildcard(request.filter));
  if (wildcard.empty()) wildcard = wxFileSelectorDefaultWildcardStr;
  const long style =
      request.save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
  std::filesystem::path folder = InitialFolder(request.initialFolder, DocumentsFolder());
  std::string name = request.proposedName;
  for (;;) {
    wxFileDialog dialog(owner_, request.save ? "Save As" : "Open",
                        wxString::FromUTF8(Utf8FromPath(folder)), wxString::FromUTF8(name),
                        wildcard, style);
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;
    const std::string chosen = dialog.GetPath().utf8_string();
    const std::string named = WithDefaultExtension(chosen, request.defaultExtension);
    std::error_code ignored;
    if (!request.save) {
      // The chooser only lets an existing file through; "robot" may stand for "robot.ico".
      const bool useNamed = !std::filesystem::exists(PathFromUtf8(chosen), ignored) &&
                            std::filesystem::exists(PathFromUtf8(named), ignored);
      return useNamed ? named : chosen;
    }
    if (named == chosen || MayReplace(owner_, named)) return named;
    // Not replaced: back to the chooser, as the user left it.
    folder = PathFromUtf8(named).parent_path();
    name = Utf8FromPath(PathFromUtf8(named).filename());
  }
}

std::optional<std::uint32_t> WxDesktop::ChooseColor(std::uint32_t initial, CustomColors& custom) {
  if (wxTheApp == nullptr) return std::nullopt;
  wxColourData data;
  data.SetChooseFull(true);
  data.SetColour(ToWxColour(initial));
  for (std::size_t i = 0; i < custom.size(); ++i) data.SetCustomColour(i, ToWxColour(custom[i]));
  wxColourDialog dialog(owner_, &data);
  const bool chosen = dialog.ShowModal() == wxID_OK;
  const wxColourData& result = dialog.GetColourData();
  for (std::size_t i = 0; i < custom.size(); ++i) {
    const wxColour color = result.GetCustomColour(i);
    if (color.IsOk()) custom[i] = FromWx(color);
  }
  if (!chosen) return std::nullopt;
  return FromWx(result.GetColour());
}

bool WxDesktop::ShiftDown() {
  return wxTheApp != nullptr && wxGetKeyState(WXK_SHIFT);
}

bool WxDesktop::ControlDown() {
  return wxTheApp != nullptr && wxGetKeyState(WXK_CONTROL);
}

bool WxDesktop::OpenUrl(const std::string& url) {
  if (wxTheApp == nullptr) return false;
#ifdef _WIN32
  // The shell's "open", as the system opens any address or file.
  const HINSTANCE opened = ::ShellExecuteW(nullptr, L"open", wxString::FromUTF8(url).wc_str(),
                                           nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(opened) > 32;
#else
  // A page that can't be opened is not worth a message box.
  wxLogNull quiet;
  return wxLaunchDefaultBrowser(wxString::FromUTF8(url));
#endif
}

}  // namespace pictaro
