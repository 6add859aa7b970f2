// pictaro-gimp: a GIMP 2.10 plug-in that hosts the Pictaro filter module on the active layer.
// GIMP plays the image editor: the drawable's pixels are the layer, the selection's bounds
// are the filter area, and the parameter block is kept in GIMP's store for plug-in data.
// The module's windows use GTK 3, so this process links libgimp only, never libgimpui (GTK 2).
#include <libgimp/gimp.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "hostengine/HostEngine.h"

namespace {

using namespace pictaro;

constexpr const char* kProcedure = "plug-in-pictaro";

void Query() {
  static const GimpParamDef kArguments[] = {
      {GIMP_PDB_INT32, const_cast<gchar*>("run-mode"),
       const_cast<gchar*>("The run mode { RUN-INTERACTIVE (0), RUN-NONINTERACTIVE (1) }")},
      {GIMP_PDB_IMAGE, const_cast<gchar*>("image"), const_cast<gchar*>("Input image")},
      {GIMP_PDB_DRAWABLE, const_cast<gchar*>("drawable"), const_cast<gchar*>("Input drawable")},
  };
  gimp_install_procedure(kProcedure, "Assemble a Windows icon from the layer's artwork",
                         "Opens Pictaro on the active layer: cut icon images from the artwork, "
                         "save them as an .ico file and apply one of them back into the layer "
                         "(inside the selection, when there is one).",
                         "Quillory", "Quillory", "2026", "Pictaro\u2026", "RGB*", GIMP_PLUGIN,
                         G_N_ELEMENTS(kArguments), 0, kArguments, nullptr);
  gimp_plugin_menu_register(kProcedure, "<Image>/Filters/Icons");
}

// The module is found beside this program; an installation that keeps them apart names the
// module's folder when it is built.
std::string ModulePath() {
  std::string beside = ModuleBesideProgram();
  if (g_file_test(beside.c_str(), G_FILE_TEST_EXISTS)) return beside;
#ifdef PICTARO_INSTALLED_MODULE
  return PICTARO_INSTALLED_MODULE;
#else
  return beside;
#endif
}

const Babl* PixelFormat(int planes) {
  return babl_format(planes == 4 ? "R'G'B'A u8" : "R'G'B' u8");
}

// The parameter block of the previous run, as GIMP kept it for this procedure.
std::vector<std::uint8_t> StoredParameters() {
  const gint size = gimp_get_data_size(kProcedure);
  std::vector<std::uint8_t> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
  if (!bytes.empty()) gimp_get_data(kProcedure, bytes.data());
  return bytes;
}

// The smallest rectangle inside `area` that holds every pixel the run changed; empty when none.
Rect ChangedBounds(const std::vector<std::uint8_t>& before, const Layer& after, const Rect& area) {
  Rect bounds{INT16_MAX, INT16_MAX, 0, 0};
  const std::size_t rowBytes = static_cast<std::size_t>(area.Width()) * after.planes;
  for (int y = area.top; y < area.bottom; ++y) {
    const std::uint8_t* now = after.At(area.left, y);
    const std::uint8_t* was = before.data() + (now - after.pixels.data());
    if (std::equal(now, now + rowBytes, was)) continue;
    std::size_t first = 0, last = rowBytes;
    while (now[first] == was[first]) ++first;
    while (now[last - 1] == was[last - 1]) --last;
    const int left = area.left + static_cast<int>(first) / after.planes;
    const int right = area.left + static_cast<int>(last - 1) / after.planes + 1;
    bounds = {std::min(bounds.top, static_cast<int16>(y)),
              std::min(bounds.left, static_cast<int16>(left)), static_cast<int16>(y + 1),
              std::max(bounds.right, static_cast<int16>(right))};
  }
  return bounds.Empty() ? Rect{} : bounds;
}

// Writes the pixels the run changed into the drawable through its shadow buffer, so that GIMP
// blends them in through the selection and records one undo step named after the menu label
// ("Pictaro"). The rest of the filter area is copied into the shadow in the drawable's own
// format, so that an image of higher precision loses nothing outside the changed pixels.
void WriteBack(gint32 drawable, const Layer& layer, const Rect& area, const Rect& changed) {
  GeglBuffer* source = gimp_drawable_get_buffer(drawable);
  GeglBuffer* shadow = gimp_drawable_get_shadow_buffer(drawable);
  const GeglRectangle whole{area.left, area.top, area.Width(), area.Height()};
  gegl_buffer_copy(source, &whole, GEGL_ABYSS_NONE, shadow, &whole);
  const GeglRectangle rect{changed.left, changed.top, changed.Width(), changed.Height()};
  gegl_buffer_set(shadow, &rect, 0, PixelFormat(layer.planes), layer.At(changed.left, changed.top),
                  layer.width * layer.planes);
  g_object_unref(shadow);
  g_object_unref(source);
  gimp_drawable_merge_shadow(drawable, TRUE);
  gimp_drawable_update(drawable, area.left, area.top, area.Width(), area.Height());
  gimp_displays_flush();
}

GimpPDBStatusType RunPictaro(gint32 drawable) {
  gint x = 0, y = 0, width = 0, height = 0;
  if (!gimp_drawable_mask_intersect(drawable, &x, &y, &width, &height)) {
    g_message("Pictaro: the selection does not touch the layer.");
    return GIMP_PDB_EXECUTION_ERROR;
  }
  Layer layer;
  layer.width = gimp_drawable_width(drawable);
  layer.height = gimp_drawable_height(drawable);
  layer.planes = gimp_drawable_has_alpha(drawable) ? 4 : 3;
  if (layer.width > INT16_MAX || layer.height > INT16_MAX) {
    g_message("Pictaro: a layer is at most 32767 pixels wide and high.");
    return GIMP_PDB_EXECUTION_ERROR;
  }
  layer.pixels.resize(static_cast<std::size_t>(layer.width) * layer.height * layer.planes);
  GeglBuffer* buffer = gimp_drawable_get_buffer(drawable);
  const GeglRectangle whole{0, 0, layer.width, layer.height};
  gegl_buffer_get(buffer, &whole, 1.0, PixelFormat(layer.planes), layer.pixels.data(),
                  GEGL_AUTO_ROWSTRIDE, GEGL_ABYSS_NONE);
  g_object_unref(buffer);

  std::string error;
  const PluginEntryProc entry = LoadPluginModule(ModulePath(), error);
  if (entry == nullptr) {
    g_message("Pictaro: %s", error.c_str());
    return GIMP_PDB_EXECUTION_ERROR;
  }
  const Rect area{static_cast<int16>(y), static_cast<int16>(x), static_cast<int16>(y + height),
                  static_cast<int16>(x + width)};
  const std::vector<std::uint8_t> before = layer.pixels;
  HostEngine host(std::move(layer), area);
  host.RestoreParameters(StoredParameters());
  const int16 result = host.RunFilter(entry);
  const std::vector<std::uint8_t> parameters = host.ParameterBytes();
  if (!parameters.empty()) gimp_set_data(kProcedure, parameters.data(), parameters.size());
  if (result == kUserCanceledErr) return GIMP_PDB_CANCEL;
  if (result != kNoErr) {
    g_message("Pictaro failed with result %d.", result);
    return GIMP_PDB_EXECUTION_ERROR;
  }
  // A run that changed no pixel leaves the drawable, and its undo history, alone.
  const Rect changed = ChangedBounds(before, host.GetLayer(), area);
  if (!changed.Empty()) WriteBack(drawable, host.GetLayer(), area, changed);
  return GIMP_PDB_SUCCESS;
}

void Run(const gchar* /*name*/, gint count, const GimpParam* parameters, gint* returnCount,
         GimpParam** returnValues) {
  static GimpParam values[1];
  values[0].type = GIMP_PDB_STATUS;
  values[0].data.d_status = GIMP_PDB_CALLING_ERROR;
  *returnCount = 1;
  *returnValues = values;
  if (count < 3) return;
  gegl_init(nullptr, nullptr);
  // Every run mode opens the window: the filter has no settings that could run without it.
  try {
    values[0].data.d_status = RunPictaro(parameters[2].data.d_drawable);
  } catch (const std::exception& e) {
    g_message("Pictaro: %s", e.what());
    values[0].data.d_status = GIMP_PDB_EXECUTION_ERROR;
  }
}

}  // namespace

const GimpPlugInInfo PLUG_IN_INFO = {nullptr, nullptr, Query, Run};

MAIN()
