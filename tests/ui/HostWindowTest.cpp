// The windows the plug-in opens for a host that names its own window, as GIMP's front ends do, read
// back as a window manager reads them on X11; its message boxes as the display shows them, with
// their signs and no tip beside them.
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

// The tips standing on the display now.
int ShownTips() {
  g_autoptr(GList) windows = gtk_window_list_toplevels();
  int shown = 0;
  for (GList* w = windows; w != nullptr; w = w->next)
    shown += gtk_widget_get_mapped(GTK_WIDGET(w->data)) &&
             gtk_window_get_type_hint(GTK_WINDOW(w->data)) == GDK_WINDOW_TYPE_HINT_TOOLTIP;
  return shown;
}

// Past GTK's delay before a tip: whether the message box shows a sign, pixels of a strong colour
// (not the greys of text and buttons) at least 32 rows tall, then the tips on the display.
std::string SignAndTips(GtkWidget* box) {
  for (int i = 0; i < 15; ++i) Settle();
  GdkWindow* w = gtk_widget_get_window(box);
  const int width = gdk_window_get_width(w), height = gdk_window_get_height(w);
  const auto shot = wxBitmap(gdk_pixbuf_get_from_window(w, 0, 0, width, height)).ConvertToImage();
  const auto strong = [](int r, int g, int b) { return std::abs(r - g) + std::abs(g - b) > 80; };
  return (HeightOf(shot, strong) >= 32 ? " sign" : " none") + std::to_string(ShownTips());
}

// Given the host's window (another client's), the Welcome, the main window and About are its
// modal dialogs, and the messages owned by the main window stay the main window's; with a host
// window that is gone, or none, the main window belongs to no one. Each message but the plain one
// shows its sign in colour; the pointer resting on Open, its tip goes while a message is open and
// no other comes, and the tips are back afterwards.
TEST(HostWindowTest, TheWindowsAreModalDialogsOfTheHostsWindowAndMessagesShowSignsButNoTips) {
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
      seen += name + " " + OwnerOf(x, dialog);
      seen += (name == "message" ? SignAndTips(dialog.GetHandle()) : "") + "|";
      return wxID_OK;
    });
  };
  const auto box = look("message");
  DialogScript script({look("welcome"), box, box, box, box, look("about")});
  ui.SetMainWindowDriver([&](MainDialog& window) {
    window.CallAfter([&] {
      seen += "main " + OwnerOf(x, window) + "|";
      if (mainId.empty()) {
        mainId = std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(window.GetHandle())));
        wxWindow& open = *window.FindWindow(main_ids::kOpen);
        // Now and then onto Open, a pixel further: the window may still be taking its place, and
        // only a pointer that moves starts a tip.
        for (int tries = 0; tries < 100 && ShownTips() == 0; ++tries, Settle())
          if (tries % 20 == 0)
            wxUIActionSimulator().MouseMove(open.GetScreenPosition() + wxSize(20 + tries / 20, 10));
        seen += std::to_string(ShownTips()) + "|";
        // None, Exclamation, Error, Question (Xlib's None hides the first's name).
        for (int icon = 0; icon < 4; ++icon)
          ui.GetDesktop().ShowMessage("Hi", "Pictaro", MessageIcon(icon), MessageButtons::Ok);
        seen += open.GetToolTipText() + "|";
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
  const std::string message = "message " + mainId + " modal";
  EXPECT_EQ(seen, "welcome " + h + " modal|main " + h + " modal|1|" + message + " none0|" +
                      message + " sign0|" + message + " sign0|" + message +
                      " sign0|Load an existing icon file into the resource grid|about " + h +
                      " modal|main none|main none|");
  XCloseDisplay(x);
}

}  // namespace
}  // namespace pictaro
