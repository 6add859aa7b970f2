#include "ui/main/HostWindowLink.h"

#ifdef __WXGTK__
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#define PICTARO_LINK_X11 1
#endif
#endif

namespace pictaro {

#ifdef PICTARO_LINK_X11

namespace {

// Runs after GtkWidget's own "realize" handler, so the window's GdkWindow exists and carries the
// hints before it is first mapped. A window that already has a parent of ours keeps it; popups
// (menus, tool tips) are no one's dialogs. Every top-level window the module opens is modal.
// The host's window is named by its id alone: a GdkWindow wrapped around another program's
// window would stay in GDK's table after the call.
gboolean OnRealize(GSignalInvocationHint*, guint count, const GValue* values, gpointer data) {
  if (count == 0 || !G_VALUE_HOLDS_OBJECT(&values[0])) return TRUE;
  GObject* object = static_cast<GObject*>(g_value_get_object(&values[0]));
  if (!GTK_IS_WINDOW(object)) return TRUE;
  GtkWindow* window = GTK_WINDOW(object);
  GdkWindow* own = gtk_widget_get_window(GTK_WIDGET(window));
  if (own == nullptr || !GDK_IS_X11_WINDOW(own) ||
      gtk_window_get_window_type(window) != GTK_WINDOW_TOPLEVEL ||
      gtk_window_get_transient_for(window) != nullptr)
    return TRUE;
  GdkDisplay* display = gdk_window_get_display(own);
  gdk_x11_display_error_trap_push(display);
  XSetTransientForHint(GDK_DISPLAY_XDISPLAY(display), GDK_WINDOW_XID(own),
                       static_cast<Window>(reinterpret_cast<uintptr_t>(data)));
  gdk_window_set_modal_hint(own, TRUE);
  gdk_x11_display_error_trap_pop_ignored(display);
  return TRUE;
}

}  // namespace

HostWindowLink::HostWindowLink(intptr_t hostWindow) {
  GdkDisplay* display = gdk_display_get_default();
  if (hostWindow == 0 || display == nullptr || !GDK_IS_X11_DISPLAY(display)) return;
  // An id that names no window (a bogus one, a closed window) links nothing.
  XWindowAttributes attributes;
  gdk_x11_display_error_trap_push(display);
  const Status found = XGetWindowAttributes(GDK_DISPLAY_XDISPLAY(display),
                                            static_cast<Window>(hostWindow), &attributes);
  if (gdk_x11_display_error_trap_pop(display) != 0 || found == 0) return;
  // Signals are installed when their class is first made.
  gpointer widgetClass = g_type_class_ref(GTK_TYPE_WIDGET);
  signal_ = g_signal_lookup("realize", GTK_TYPE_WIDGET);
  g_type_class_unref(widgetClass);
  hook_ = g_signal_add_emission_hook(signal_, 0, OnRealize,
                                     reinterpret_cast<gpointer>(static_cast<uintptr_t>(hostWindow)),
                                     nullptr);
}

HostWindowLink::~HostWindowLink() {
  if (hook_ != 0) g_signal_remove_emission_hook(signal_, hook_);
}

#else

HostWindowLink::HostWindowLink(intptr_t) {}
HostWindowLink::~HostWindowLink() = default;

#endif

}  // namespace pictaro
