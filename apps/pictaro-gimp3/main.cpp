// pictaro-gimp3: a GIMP 3 plug-in that hosts the Pictaro filter module on the selected layer.
// GIMP 3 keeps the parameter block among the procedure's settings (an auxiliary argument),
// which it stores, across restarts too, after every run that returns success.
#include <libgimp/gimp.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "gimp/RunOnDrawable.h"

namespace {

using namespace pictaro;

constexpr const char* kProcedure = "plug-in-pictaro";
constexpr const char* kBlock = "parameter-block";

class Drawable3 : public DrawableAccess {
 public:
  Drawable3(GimpDrawable* drawable, GimpProcedureConfig* config)
      : drawable_(drawable), config_(config) {}
  int Width() override { return gimp_drawable_get_width(drawable_); }
  int Height() override { return gimp_drawable_get_height(drawable_); }
  bool HasAlpha() override { return gimp_drawable_has_alpha(drawable_); }
  std::optional<Rect> SelectionBounds() override {
    gint x = 0, y = 0, width = 0, height = 0;
    if (!gimp_drawable_mask_intersect(drawable_, &x, &y, &width, &height)) return std::nullopt;
    return Rect{static_cast<int16>(y), static_cast<int16>(x), static_cast<int16>(y + height),
                static_cast<int16>(x + width)};
  }
  GeglBuffer* Buffer() override { return gimp_drawable_get_buffer(drawable_); }
  GeglBuffer* ShadowBuffer() override { return gimp_drawable_get_shadow_buffer(drawable_); }
  bool StillThere() override { return gimp_item_is_valid(GIMP_ITEM(drawable_)); }
  bool NarrowSelectionTo(const Rect& rect) override {
    GimpImage* image = gimp_item_get_image(GIMP_ITEM(drawable_));
    gint x = 0, y = 0;
    gimp_drawable_get_offsets(drawable_, &x, &y);
    x += rect.left;
    y += rect.top;
    if (!gimp_selection_is_empty(image) || gimp_image_get_floating_sel(image) != nullptr || x < 0 ||
        y < 0 || x + rect.Width() > gimp_image_get_width(image) ||
        y + rect.Height() > gimp_image_get_height(image))
      return false;
    gimp_image_undo_group_start(image);
    gimp_context_push();
    gimp_context_set_feather(FALSE);
    gimp_image_select_rectangle(image, GIMP_CHANNEL_OP_REPLACE, x, y, rect.Width(), rect.Height());
    gimp_context_pop();
    narrowed_ = image;
    return true;
  }
  void MergeShadow(const Rect& area) override {
    gimp_drawable_merge_shadow(drawable_, TRUE);
    gimp_drawable_update(drawable_, area.left, area.top, area.Width(), area.Height());
    if (narrowed_ != nullptr) {
      gimp_selection_none(narrowed_);
      gimp_image_undo_group_end(narrowed_);
      narrowed_ = nullptr;
    }
    gimp_displays_flush();
  }
  std::vector<std::uint8_t> StoredParameters() override {
    GBytes* bytes = nullptr;
    g_object_get(config_, kBlock, &bytes, nullptr);
    if (bytes == nullptr) return {};
    gsize size = 0;
    const auto* data = static_cast<const std::uint8_t*>(g_bytes_get_data(bytes, &size));
    std::vector<std::uint8_t> block(data, data + size);
    g_bytes_unref(bytes);
    return block;
  }
  void StoreParameters(const std::vector<std::uint8_t>& block) override {
    GBytes* bytes = g_bytes_new(block.data(), block.size());
    g_object_set(config_, kBlock, bytes, nullptr);
    g_bytes_unref(bytes);
  }
  // The image window the plug-in was started from; none in a batch run.
  intptr_t HostWindow() override {
    GimpDisplay* display = gimp_default_display();
    if (display == nullptr || !gimp_display_is_valid(display)) return 0;
    GBytes* handle = gimp_display_get_window_handle(display);
    if (handle == nullptr) return 0;
    // On X11 the handle holds the window's XID (an unsigned long); elsewhere it is a text.
    gsize size = 0;
    const void* data = g_bytes_get_data(handle, &size);
    unsigned long window = 0;
    if (size == sizeof window) std::memcpy(&window, data, size);
    g_bytes_unref(handle);
    return static_cast<intptr_t>(window);
  }

 private:
  GimpDrawable* drawable_;
  GimpProcedureConfig* config_;
  GimpImage* narrowed_ = nullptr;  // the image whose selection NarrowSelectionTo set
};

GimpValueArray* Run(GimpProcedure* procedure, GimpRunMode /*mode*/, GimpImage* /*image*/,
                    GimpDrawable** drawables, GimpProcedureConfig* config, gpointer /*data*/) {
  const guint count =
      drawables != nullptr ? g_strv_length(reinterpret_cast<gchar**>(drawables)) : 0;
  if (count != 1) {
    GError* error = g_error_new(GIMP_PLUG_IN_ERROR, 0,
                                "Pictaro works on one layer at a time: select exactly one "
                                "(%u are selected).",
                                count);
    return gimp_procedure_new_return_values(procedure, GIMP_PDB_CALLING_ERROR, error);
  }
  gegl_init(nullptr, nullptr);
  // Every run mode opens the window: the filter has no settings that could run without it.
  RunOutcome outcome;
  try {
    Drawable3 drawable(drawables[0], config);
    outcome = RunOnDrawable(drawable);
  } catch (const std::exception& e) {
    outcome = {RunStatus::Failed, std::string("Pictaro: ") + e.what()};
  }
  if (outcome.status == RunStatus::Failed) {
    // GIMP shows an interactive run's error message and hands a script's to its caller.
    GError* error = g_error_new_literal(GIMP_PLUG_IN_ERROR, 0, outcome.message.c_str());
    return gimp_procedure_new_return_values(procedure, GIMP_PDB_EXECUTION_ERROR, error);
  }
  return gimp_procedure_new_return_values(
      procedure, outcome.status == RunStatus::Ok ? GIMP_PDB_SUCCESS : GIMP_PDB_CANCEL, nullptr);
}

}  // namespace

// The plug-in class GIMP 3 asks for its procedures.
struct PictaroPlugIn {
  GimpPlugIn parent;
};
struct PictaroPlugInClass {
  GimpPlugInClass parent;
};

G_DEFINE_TYPE(PictaroPlugIn, pictaro_plug_in, GIMP_TYPE_PLUG_IN)

static GList* QueryProcedures(GimpPlugIn*) {
  return g_list_append(nullptr, g_strdup(kProcedure));
}

static GimpProcedure* CreateProcedure(GimpPlugIn* plugIn, const gchar* name) {
  if (std::strcmp(name, kProcedure) != 0) return nullptr;
  GimpProcedure* procedure =
      gimp_image_procedure_new(plugIn, name, GIMP_PDB_PROC_TYPE_PLUGIN, Run, nullptr, nullptr);
  gimp_procedure_set_image_types(procedure, "RGB*");
  gimp_procedure_set_sensitivity_mask(procedure, GIMP_PROCEDURE_SENSITIVE_DRAWABLE);
  gimp_procedure_set_menu_label(procedure, "Pictaro\u2026");
  gimp_procedure_add_menu_path(procedure, "<Image>/Filters/Icons");
  gimp_procedure_set_documentation(
      procedure, "Assemble a Windows icon from the layer's artwork",
      "Opens Pictaro on the selected layer: cut icon images from the artwork, save them as an "
      ".ico file and apply one of them back into the layer (inside the selection, when there is "
      "one).",
      name);
  gimp_procedure_set_attribution(procedure, "Quillory", "Quillory",
                                 "2026, version " PICTARO_VERSION);
  gimp_procedure_add_bytes_aux_argument(procedure, kBlock, "Parameter block",
                                        "Pictaro's settings from its last run", G_PARAM_READWRITE);
  return procedure;
}

// The plug-in has no translations of its own: without this GIMP looks for them and says so.
static gboolean NoTranslations(GimpPlugIn*, const gchar*, gchar**, gchar**) {
  return FALSE;
}

static void pictaro_plug_in_class_init(PictaroPlugInClass* klass) {
  GimpPlugInClass* plugInClass = GIMP_PLUG_IN_CLASS(klass);
  plugInClass->query_procedures = QueryProcedures;
  plugInClass->create_procedure = CreateProcedure;
  plugInClass->set_i18n = NoTranslations;
}

static void pictaro_plug_in_init(PictaroPlugIn*) {}

// GIMP starts the program with its own arguments; run by hand, it tells its version.
int main(int argc, char* argv[]) {
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::puts("pictaro-gimp3 " PICTARO_VERSION);
    return 0;
  }
  return gimp_main(pictaro_plug_in_get_type(), argc, argv);
}
