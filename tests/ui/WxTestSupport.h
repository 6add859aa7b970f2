// What the window tests share: wx started for one test, events sent to controls, a window's
// pixels read back from the screen and compared with reference pictures, and modal dialogs
// played by a script.
#pragma once

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <gtest/gtest.h>
#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace pictaro::testing {

// Starts wx unless it already runs, and ends what it started. A wx assertion fails the test;
// logging is on, so that a log message box would show up.
struct WxSession {
  WxSession() {
    wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond,
                          const wxString& msg) {
      ADD_FAILURE() << "wx assertion " << cond << " at " << file << ":" << line << " " << msg;
    });
    wxLog::EnableLogging(true);
    if (wxTheApp != nullptr) return;
    wxApp::SetInstance(new wxApp);
    int argc = 1;
    char name[] = "pictaro_gui_tests";
    char* argv[] = {name, nullptr};
    started = wxEntryStart(argc, argv);
    // A pointer that an earlier program left over the windows' place would light up a button
    // in their pictures.
    if (!started) return;
    // The display clamps it to its far corner, whatever scale the toolkit draws at (GDK_SCALE
    // halves the size wx reports).
    const wxSize screen = wxGetDisplaySize();
    wxUIActionSimulator().MouseMove(4 * screen.x, 4 * screen.y);
  }
  ~WxSession() {
    if (started) wxEntryCleanup();
  }
  bool IsOk() const { return wxTheApp != nullptr; }
  bool started = false;
};

// Lets pending paints and the display catch up.
inline void Settle() {
  for (int i = 0; i < 10; ++i) wxTheApp->Yield(true), wxMilliSleep(5);
}

inline void Send(wxWindow& target, wxEvent& event) {
  event.SetEventObject(&target);
  target.ProcessWindowEvent(event);
}
// Clicks control `id` of `window`: a button, or a radio with wxEVT_RADIOBUTTON.
inline void Click(wxWindow& window, int id, wxEventType type = wxEVT_BUTTON) {
  wxCommandEvent click(type, id);
  Send(*window.FindWindow(id), click);
}
inline void Check(wxWindow& window, int id, bool on) {
  auto& box = dynamic_cast<wxCheckBox&>(*window.FindWindow(id));
  box.SetValue(on);
  wxCommandEvent click(wxEVT_CHECKBOX, id);
  click.SetInt(on);
  Send(box, click);
}
inline void Key(wxWindow& target, int code) {
  wxKeyEvent press(wxEVT_CHAR_HOOK);
  press.m_keyCode = code;
  Send(target, press);
}
// A mouse event at `at`, the left button held unless it is the release.
inline void Mouse(wxWindow& target, wxEventType type, wxPoint at = {}) {
  wxMouseEvent event(type);
  event.SetPosition(at);
  event.SetLeftDown(type != wxEVT_LEFT_UP);
  Send(target, event);
}

// The window's client area as it stands on the screen now.
inline wxImage Snapshot(wxWindow& window) {
  window.Refresh();
  window.Update();
  Settle();
  const wxSize size = window.GetClientSize();
  wxBitmap shot(size);
  wxMemoryDC memory(shot);
  wxClientDC screen(&window);
  memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
  memory.SelectObject(wxNullBitmap);
  return shot.ConvertToImage();
}

// How tall the pixels of `image` whose red, green and blue satisfy `is` stand: from the first row
// holding one to the last; 0 for none.
inline int HeightOf(const wxImage& image, const std::function<bool(int, int, int)>& is) {
  int top = image.GetHeight(), bottom = top - 1;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      if (is(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)))
        top = std::min(top, y), bottom = y;
  return bottom - top + 1;
}

// The Debian release the tests run on (VERSION_CODENAME), or "" where none is named.
inline std::string ReleaseName() {
  std::ifstream release("/etc/os-release");
  for (std::string line; std::getline(release, line);)
    if (line.starts_with("VERSION_CODENAME=")) return line.substr(17);
  return "";
}

// Compares `parts`, laid side by side, with tests/ui/reference/NAME.png, pixel for pixel, or
// with tests/ui/reference/RELEASE/NAME.png where the release has one: GTK draws some of the
// platform's own controls (the tree view's expander and frame) differently from one release to
// the next. A picture that differs is written to the build folder for a look. A missing
// reference is made from the picture when PICTARO_UPDATE_REFERENCES=1, to be reviewed before it
// is committed.
inline void ExpectPicture(const std::vector<wxImage>& parts, const std::string& name) {
  int width = 0, height = 0;
  for (const wxImage& part : parts)
    width += part.GetWidth(), height = std::max(height, part.GetHeight());
  wxImage got(width, height);
  for (int x = 0; const wxImage& part : parts) got.Paste(part, x, 0), x += part.GetWidth();
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(PICTARO_SOURCE_DIR) / "tests/ui/reference";
  fs::path reference = folder / ReleaseName() / (name + ".png");
  if (!fs::exists(reference)) reference = folder / (name + ".png");
  const char* update = std::getenv("PICTARO_UPDATE_REFERENCES");
  wxImage want;
  if (!fs::exists(reference) && update != nullptr && std::string(update) == "1") {
    got.SaveFile(reference.string(), wxBITMAP_TYPE_PNG);
  } else if (!fs::exists(reference) || !want.LoadFile(reference.string(), wxBITMAP_TYPE_PNG) ||
             want.GetSize() != got.GetSize() ||
             std::memcmp(want.GetData(), got.GetData(), 3 * std::size_t(width) * height)) {
    const fs::path shown = fs::path(PICTARO_BINARY_DIR) / "ui-pictures" / (name + ".got.png");
    fs::create_directories(shown.parent_path());
    got.SaveFile(shown.string(), wxBITMAP_TYPE_PNG);
    ADD_FAILURE() << "the picture " << shown << " is not the same as " << reference;
  }
}

// Plays each modal dialog that opens by the next step of a script. A step returns the dialog's
// answer at once (the dialog is then never shown) or wxID_NONE after arranging to end it.
// wxFileDialog enters twice (its own ShowModal and wxDialog's): one step serves both.
struct DialogScript : wxModalDialogHook {
  using Step = std::function<int(wxDialog&)>;
  explicit DialogScript(std::deque<Step> script = {}) : steps(std::move(script)) { Register(); }
  ~DialogScript() override { Unregister(); }

  std::deque<Step> steps;
  int entered = 0, answer = wxID_NONE;  // the dialogs entered, how the last one ended

  int Enter(wxDialog* dialog) override {
    if (dialog == open_) return ++depth_, wxID_NONE;
    ++entered;
    if (steps.empty()) {
      ADD_FAILURE() << "unexpected dialog " << dialog->GetClassInfo()->GetClassName();
      return wxID_CANCEL;
    }
    const Step step = std::move(steps.front());
    steps.pop_front();
    const int code = step(*dialog);
    if (code == wxID_NONE) open_ = dialog, depth_ = 1;
    return code;
  }
  void Exit(wxDialog* dialog) override {
    answer = dialog->GetReturnCode();
    if (dialog == open_ && --depth_ == 0) open_ = nullptr;
  }
  wxDialog* open_ = nullptr;  // the dialog a step let open, entered depth_ times
  int depth_ = 0;
};

// A step that lets the dialog open and paint, then ends it, unless `act` did, with what `act`
// answers; a message box, which runs GTK's own loop, with OK.
inline DialogScript::Step WhileShown(std::function<int(wxDialog&)> act) {
  return [act](wxDialog& dialog) {
    dialog.CallAfter([act, &dialog] {
      Settle();
      const int code = act(dialog);
      if (dialog.IsModal()) dialog.EndModal(code);
#ifdef __WXGTK__
      if (GTK_IS_MESSAGE_DIALOG(dialog.GetHandle()))
        gtk_dialog_response(GTK_DIALOG(dialog.GetHandle()), GTK_RESPONSE_OK);
#endif
    });
    return wxID_NONE;
  };
}

}  // namespace pictaro::testing
