#include "host/PluginEntry.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "host/FilterParameters.h"
#include "hostengine/HostEngine.h"
#include "support/FakePluginUi.h"
#include "support/ReferenceText.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

using namespace testing;

class PluginEntryTest : public ::testing::Test {
 protected:
  PluginEntryTest() {
    services.settingsFolder = folder.Path() / "settings";
    services.applyStep = [this](HostContext& context, Desktop&) {
      ++applySteps;
      if (applyStepResult != kNoErr) context.result = applyStepResult;
    };
    gEntryServices = &services;
  }
  ~PluginEntryTest() override { gEntryServices = nullptr; }

  // The parameter block as the host keeps it.
  std::vector<std::uint8_t> Block() {
    const Handle handle = host.ParameterHandle();
    if (handle == nullptr) return {};
    return {*handle, *handle + host.HandleSize(handle)};
  }

  TempFolder folder;
  FakePluginUi ui;
  EntryServices services{ui, {}, nullptr};
  HostEngine host{Layer{8, 6, 4, std::vector<std::uint8_t>(8 * 6 * 4, 0x40)}};
  int applySteps = 0;
  int16 applyStepResult = kNoErr;
};

TEST_F(PluginEntryTest, SelectorsAnswerAndAlwaysClearTheDataCell) {
  for (const auto& [n, what] : NumberRows("host/selectors.txt")) {
    host.SetDataCell(99);
    EXPECT_EQ(host.Call(EntryUnderTest, int16(n[0]), int16(n[1])), n[2]) << n[0];
    EXPECT_EQ(host.DataCell(), 0) << n[0];
  }
  // Only About opened a window; nothing touched the parameters or the layer.
  EXPECT_EQ((std::vector<int>{ui.abouts, ui.begins, ui.ends, ui.welcomes, ui.mainWindows}),
            (std::vector<int>{1, 1, 1, 0, 0}));
  EXPECT_TRUE(host.ParameterHandle() == nullptr && host.Requests().empty());
}

TEST_F(PluginEntryTest, TheMainWindowsOutcomeDecidesTheResult) {
  constexpr int kThrows = 100, kOutOfMemory = 101;
  // The window leaves -30 in the result cell, as a failed fetch does, or throws.
  ui.whileOpen = [this](HostContext& context) {
    if (ui.outcome == kThrows) throw std::runtime_error("broken");
    if (ui.outcome == kOutOfMemory) throw std::bad_alloc();
    context.result = -30;
  };
  const std::vector<ShownMessage> said[] = {{}, {Warning("Can't open application window.")}};
  for (const auto& [n, what] : NumberRows("host/main-window.txt")) {
    ui.canBegin = n[0];
    ui.outcome = int(n[1]);
    applyStepResult = static_cast<int16>(n[2]);
    applySteps = 0;
    ui.desktop.messages.clear();
    host.SetDataCell(3);
    EXPECT_EQ((std::vector<long long>{host.Call(EntryUnderTest, kSelectorStart), applySteps,
                                      ui.welcomes, host.DataCell()}),
              (std::vector<long long>{n[3], n[4], n[5], 0}))
        << what;
    EXPECT_EQ(ui.desktop.messages, said[n[6]]) << what;
  }
  EXPECT_EQ(ui.mainWindows, 7);
  EXPECT_EQ(ui.begins, ui.ends);
}

TEST_F(PluginEntryTest, ParametersMakeMarkOrRenewTheBlock) {
  // The host's new handles hold no zeros: a new block's fields are cleared.
  const auto fresh = [this] {
    const std::vector<std::uint8_t> block = Block(), want = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    return block.size() == 1304 && block[280] == 0 &&
           std::equal(want.begin(), want.end(), block.begin());
  };
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNoErr);
  EXPECT_TRUE(fresh());

  // On a block the host kept, only the marker changes.
  const Handle handle = host.ParameterHandle();
  host.RunInside([](HostContext& context) {
    StoreApplySelection(context, GridSlot(1, 0, 0, 2), "cat.ico", "/tmp/cat.ico");
  });
  (*handle)[0] = 0;
  (*handle)[20] = 9;
  std::vector<std::uint8_t> kept = Block();
  kept[0] = 1;
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNoErr);
  EXPECT_TRUE(host.ParameterHandle() == handle && Block() == kept);

  // A shorter block from another version is grown and starts over.
  host.RunInside([](HostContext& c) { c.record->parameters = c.record->handleProcs->newProc(16); });
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNoErr);
  EXPECT_TRUE(fresh());

  host.ForgetParameters();
  host.FailNewHandle(true);
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNilHandleErr);
  EXPECT_TRUE(host.ParameterHandle() == nullptr);
  host.FailNewHandle(false);
  host.FailLock(true);
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kParamErr);

  FilterRecord bare{};  // a host without a handle suite
  HostContext context{&bare, nullptr, kNoErr};
  PrepareParameters(context);
  EXPECT_TRUE(context.result == kNilHandleErr && bare.parameters == nullptr);
}

TEST_F(PluginEntryTest, TheBlockKeepsOnlyWhatFitsItsFields) {
  const std::string fitting = "/" + std::string(1022, 'p');
  std::string path;
  GridSlot slot;
  host.RunInside([&](HostContext& context) {
    EXPECT_FALSE(StoreApplySelection(context, GridSlot(), "a.ico", "/a.ico"));  // no block yet
    PrepareParameters(context);
    // A name too long for its field is cut; a path too long is not stored, so that the Apply
    // step can't read some other file.
    EXPECT_TRUE(StoreApplySelection(context, GridSlot(), std::string(300, 'n'), fitting + "p"));
    EXPECT_EQ(LoadApplySelection(context, slot, path), kNoErr);
    EXPECT_EQ(path, "");
    EXPECT_EQ(std::string(*host.ParameterHandle() + 24), std::string(255, 'n'));
    EXPECT_TRUE(StoreApplySelection(context, GridSlot(4, 2, 1, 1), "x", fitting));
    EXPECT_EQ(LoadApplySelection(context, slot, path), kNoErr);
    host.FailLock(true);
    EXPECT_FALSE(StoreApplySelection(context, GridSlot(), "b.ico", "/b.ico"));
  });
  EXPECT_EQ(std::pair(slot, path), std::pair(GridSlot(4, 2, 1, 1), fitting));
}

}  // namespace
}  // namespace pictaro
