// The module's only export.
#include "ui/main/WxPluginUi.h"

extern "C" __attribute__((visibility("default"))) void PluginMain(pictaro::int16 selector,
                                                                  pictaro::FilterRecord* record,
                                                                  intptr_t* data,
                                                                  pictaro::int16* result) {
  pictaro::WxPluginMain(selector, record, data, result);
}
