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
#include <iterator>
#include <string>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif
#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include "platform/ConsoleDesktop.h"
#include "platform/FileRequestRules.h"
#include "platform/Utf8Path.h"
#include "ui/views/DialogBuilder.h"
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

// While it lives, a message box of GTK 3, which draws no image for its type, is given the icon
// theme's for it when it is realised, before it takes its size: the exclamation, error,
// question or information sign, in colour. Windows' boxes have theirs.
class MessageTypeIcons {
#ifdef __WXGTK__
 public:
  MessageTypeIcons() : hook_(g_signal_add_emission_hook(Realize(), 0, AddIcon, nullptr, nullptr)) {}
  ~MessageTypeIcons() {
    g_signal_remove_emission_hook(Realize(), hook_);
  }
  MessageTypeIcons(const MessageTypeIcons&) = delete;
  MessageTypeIcons& operator=(const MessageTypeIcons&) = delete;

 private:
  static constexpr int kSignSide = 48;  // GTK_ICON_SIZE_DIALOG

  static guint Realize() {
    return g_signal_lookup("realize", GTK_TYPE_WIDGET);
  }

  static gboolean AddIcon(GSignalInvocationHint*, guint, const GValue* values, gpointer) {
    auto* box = static_cast<GtkWidget*>(g_value_get_object(&values[0]));
    GtkMessageType type = GTK_MESSAGE_OTHER;
    if (GTK_IS_MESSAGE_DIALOG(box)) g_object_get(box, "message-type", &type, nullptr);
    // In GtkMessageType's order; a box without a type (wxICON_NONE) has no icon.
    constexpr const char* kNames[] = {"dialog-information", "dialog-warning", "dialog-question",
                                      "dialog-error"};
    if (static_cast<std::size_t>(type) >= std::size(kNames)) return TRUE;
    // The theme's colour icon as a picture: GTK 3.24.49 draws an icon named for a widget in its
    // symbolic form where the theme has one. A theme without it gives that form.
    const std::string name = kNames[type];
    cairo_surface_t* sign = gtk_icon_theme_load_surface(
        gtk_icon_theme_get_default(), name.c_str(), kSignSide, gtk_widget_get_scale_factor(box),
        nullptr, GTK_ICON_LOOKUP_FORCE_SIZE, nullptr);
    GtkWidget* image = sign != nullptr ? gtk_image_new_from_surface(sign)
                                       : gtk_image_new_from_icon_name((name + "-symbolic").c_str(),
                                                                      GTK_ICON_SIZE_DIALOG);
    if (sign != nullptr) cairo_surface_destroy(sign);
    // Where GTK's own image of old stood: before the texts, at their top.
    gtk_widget_set_valign(image, GTK_ALIGN_START);
    GtkWidget* row =
        gtk_widget_get_parent(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box)));
    gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
    gtk_box_reorder_child(GTK_BOX(row), image, 0);
    gtk_widget_show(image);
    return TRUE;
  }

  gulong hook_;
#endif
};

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
  [[maybe_unused]] const MessageTypeIcons icons;
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
  const ToolTipsPaused paused;
  const long buttonStyle = buttons == MessageButtons::Ok ? wxOK : (wxYES_NO | wxCANCEL);
  wxMessageDialog dialog(owner_, wxString::FromUTF8(text), wxString::FromUTF8(caption),
                         buttonStyle | IconStyle(icon));
  [[maybe_unused]] const MessageTypeIcons icons;
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
  const ToolTipsPaused paused;
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
  const ToolTipsPaused paused;
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
