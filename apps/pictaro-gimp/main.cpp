// pictaro-gimp: a GIMP 2.10 plug-in that hosts the Pictaro filter module on the active layer.
// The module's windows use GTK 3, so this process links libgimp only, never libgimpui (GTK 2).
#include <libgimp/gimp.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "gimp/RunOnDrawable.h"

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
                         "Quillory", "Quillory", "2026, version " PICTARO_VERSION, "Pictaro\u2026",
                         "RGB*", GIMP_PLUGIN, G_N_ELEMENTS(kArguments), 0, kArguments, nullptr);
  gimp_plugin_menu_register(kProcedure, "<Image>/Filters/Icons");
}

class Drawable210 : public DrawableAccess {
 public:
  explicit Drawable210(gint32 id) : id_(id) {}
  int Width() override { return gimp_drawable_width(id_); }
  int Height() override { return gimp_drawable_height(id_); }
  bool HasAlpha() override { return gimp_drawable_has_alpha(id_); }
  std::optional<Rect> SelectionBounds() override {
    gint x = 0, y = 0, width = 0, height = 0;
    if (!gimp_drawable_mask_intersect(id_, &x, &y, &width, &height)) return std::nullopt;
    return Rect{static_cast<int16>(y), static_cast<int16>(x), static_cast<int16>(y + height),
                static_cast<int16>(x + width)};
  }
  GeglBuffer* Buffer() override { return gimp_drawable_get_buffer(id_); }
  GeglBuffer* ShadowBuffer() override { return gimp_drawable_get_shadow_buffer(id_); }
  bool StillThere() override { return gimp_item_is_valid(id_); }
  bool NarrowSelectionTo(const Rect& rect) override {
    const gint32 image = gimp_item_get_image(id_);
    gint x = 0, y = 0;
    gimp_drawable_offsets(id_, &x, &y);
    x += rect.left;
    y += rect.top;
    if (!gimp_selection_is_empty(image) || gimp_image_get_floating_sel(image) != -1 || x < 0 ||
        y < 0 || x + rect.Width() > gimp_image_width(image) ||
        y + rect.Height() > gimp_image_height(image))
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
    gimp_drawable_merge_shadow(id_, TRUE);
    gimp_drawable_update(id_, area.left, area.top, area.Width(), area.Height());
    if (narrowed_ != -1) {
      gimp_selection_none(narrowed_);
      gimp_image_undo_group_end(narrowed_);
      narrowed_ = -1;
    }
    gimp_displays_flush();
  }
  std::vector<std::uint8_t> StoredParameters() override {
    const gint size = gimp_get_data_size(kProcedure);
    std::vector<std::uint8_t> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
    if (!bytes.empty()) gimp_get_data(kProcedure, bytes.data());
    return bytes;
  }
  void StoreParameters(const std::vector<std::uint8_t>& bytes) override {
    gimp_set_data(kProcedure, bytes.data(), bytes.size());
  }
  // The image window the plug-in was started from; none in a batch run.
  intptr_t HostWindow() override {
    const gint32 display = gimp_default_display();
    return display > 0 && gimp_display_is_valid(display) ? gimp_display_get_window_handle(display)
                                                         : 0;
  }

 private:
  gint32 id_;
  gint32 narrowed_ = -1;  // the image whose selection NarrowSelectionTo set
};

void Run(const gchar* /*name*/, gint count, const GimpParam* parameters, gint* returnCount,
         GimpParam** returnValues) {
  static GimpParam values[2];
  static std::string message;
  values[0].type = GIMP_PDB_STATUS;
  values[0].data.d_status = GIMP_PDB_CALLING_ERROR;
  *returnCount = 1;
  *returnValues = values;
  if (count < 3) return;
  gegl_init(nullptr, nullptr);
  // Every run mode opens the window: the filter has no settings that could run without it.
  RunOutcome outcome;
  try {
    Drawable210 drawable(parameters[2].data.d_drawable);
    outcome = RunOnDrawable(drawable);
  } catch (const std::exception& e) {
    outcome = {RunStatus::Failed, std::string("Pictaro: ") + e.what()};
  }
  values[0].data.d_status = outcome.status == RunStatus::Ok          ? GIMP_PDB_SUCCESS
                            : outcome.status == RunStatus::Cancelled ? GIMP_PDB_CANCEL
                                                                     : GIMP_PDB_EXECUTION_ERROR;
  // GIMP shows an interactive run's error message and hands a script's to its caller.
  if (outcome.status == RunStatus::Failed) {
    message = outcome.message;
    values[1].type = GIMP_PDB_STRING;
    values[1].data.d_string = message.data();
    *returnCount = 2;
  }
}

}  // namespace

const GimpPlugInInfo PLUG_IN_INFO = {nullptr, nullptr, Query, Run};

// GIMP starts the program with its own arguments; run by hand, it tells its version.
int main(int argc, char* argv[]) {
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::puts("pictaro-gimp " PICTARO_VERSION);
    return 0;
  }
  return gimp_main(&PLUG_IN_INFO, argc, argv);
}
