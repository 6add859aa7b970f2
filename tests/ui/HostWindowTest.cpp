// The windows the plug-in opens for a host that names its own window, as GIMP's front ends do, read
// back as a window manager reads them on X11.
#include <gtest/gtest.h>

#include <string>

#include "hostengine/HostEngine.h"
#include "support/FakePluginUi.h"
#include "support/SampleLayer.h"
#include "support/TempFolder.h"
#include "ui/WxTestSupport.h"
#include "ui/main/MainDialog.h"
#include "ui/main/WxPluginUi.h"
// Last: Xlib's macros (None, Status, True...) would break the headers above.
#include <X11/Xatom.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace pictaro {
namespace {

using namespace testing;

// The window's WM_TRANSIENT_FOR, then " modal" when its _NET_WM_STATE says so.
std::string OwnerOf(Display* x, wxWindow& window) {
  gdk_display_sync(gdk_display_get_default());  // what the plug-in set has reached the server
  const Window id = GDK_WINDOW_XID(gtk_widget_get_window(window.GetHandle()));
  Window owner = 0;
  std::string s = XGetTransientForHint(x, id, &owner) ? std::to_string(owner) : "none";
  Atom type = 0, *states = nullptr;
  int format = 0;
  unsigned long count = 0, after = 0;
  XGetWindowProperty(x, id, XInternAtom(x, "_NET_WM_STATE", False), 0, 16, False, XA_ATOM, &type,
                     &format, &count, &after, reinterpret_cast<unsigned char**>(&states));
  for (unsigned long i = 0; i < count; ++i)
    if (states[i] == XInternAtom(x, "_NET_WM_STATE_MODAL", False)) s += " modal";
  if (states != nullptr) XFree(states);
  return s;
}

// Given the host's window (another client's), the Welcome, the main window and About are its
// modal dialogs, and a message owned by the main window stays the main window's; with a host
// window that is gone, or none, the main window belongs to no one.
TEST(HostWindowTest, TheWindowsAreModalDialogsOfTheHostsWindowWhileItIsThere) {
  Display* x = XOpenDisplay(nullptr);
  ASSERT_TRUE(x != nullptr);
  const Window host = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 64, 64, 0, 0, 0);
  const Window gone = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 64, 64, 0, 0, 0);
  XDestroyWindow(x, gone);
  XSync(x, False);

  TempFolder folder;  // no first-run record: the Welcome shows once
  WxPluginUi ui;
  EntryServices services{ui, folder.Path(), nullptr};
  gEntryServices = &services;
  HostEngine engine{SampleLayer()};
  std::string seen, mainId;
  const auto look = [&](std::string name) {
    return WhileShown([&seen, x, name](wxDialog& dialog) {
      seen += name + " " + OwnerOf(x, dialog) + "|";
      // A message box runs GTK's own loop.
      if (!dialog.IsModal()) gtk_dialog_response(GTK_DIALOG(dialog.GetHandle()), GTK_RESPONSE_OK);
      return wxID_OK;
    });
  };
  DialogScript script({look("welcome"), look("message"), look("about")});
  ui.SetMainWindowDriver([&](MainDialog& window) {
    window.CallAfter([&] {
      seen += "main " + OwnerOf(x, window) + "|";
      if (mainId.empty()) {
        mainId = std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(window.GetHandle())));
        ui.GetDesktop().ShowMessage("Hi", "Pictaro", MessageIcon::Information, MessageButtons::Ok);
      }
      Click(window, kIdDone);
    });
  });
  engine.SetHostWindow(static_cast<intptr_t>(host));
  engine.RunFilter(EntryUnderTest);
  engine.RunAbout(EntryUnderTest);
  for (const Window other : {gone, Window(0)}) {
    engine.SetHostWindow(static_cast<intptr_t>(other));
    EXPECT_EQ(engine.RunFilter(EntryUnderTest), kUserCanceledErr);
  }
  gEntryServices = nullptr;
  const std::string h = std::to_string(host);
  EXPECT_EQ(seen, "welcome " + h + " modal|main " + h + " modal|message " + mainId +
                      " modal|about " + h + " modal|main none|main none|");
  XCloseDisplay(x);
}

}  // namespace
}  // namespace pictaro
