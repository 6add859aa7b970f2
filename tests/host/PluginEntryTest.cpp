#include "host/PluginEntry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>

#include "host/FilterParameters.h"
#include "substitute/SubstituteHost.h"
#include "support/FakePluginUi.h"
#include "support/TempFolder.h"

namespace pictaro {
namespace {

using testing::EntryUnderTest;
using testing::FakePluginUi;
using testing::TempFolder;

Layer SmallLayer() {
  return Layer{8, 6, 4, std::vector<std::uint8_t>(8 * 6 * 4, 0x40)};
}

class PluginEntryTest : public ::testing::Test {
 protected:
  PluginEntryTest() : host(SmallLayer()) {
    services.settingsFolder = folder.Path() / "settings";
    services.applyStep = [this](HostContext& context, Desktop&) {
      ++applySteps;
      if (applyStepResult != kNoErr) context.result = applyStepResult;
    };
    testing::gEntryServices = &services;
  }
  ~PluginEntryTest() override { testing::gEntryServices = nullptr; }

  std::vector<std::uint8_t> ParameterBytes() {
    Handle handle = host.ParameterHandle();
    EXPECT_NE(handle, nullptr);
    if (handle == nullptr) return {};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(*handle);
    return {bytes, bytes + host.HandleSize(handle)};
  }

  TempFolder folder;
  FakePluginUi ui;
  EntryServices services{ui, {}, nullptr};
  SubstituteHost host;
  int applySteps = 0;
  int16 applyStepResult = kNoErr;
};

TEST_F(PluginEntryTest, QuietSelectorsReportSuccessAndClearTheDataCell) {
  for (int16 selector : {kSelectorPrepare, kSelectorContinue, kSelectorFinish}) {
    host.SetDataCell(99);
    EXPECT_EQ(host.Call(EntryUnderTest, selector, -7), kNoErr) << selector;
    EXPECT_EQ(host.DataCell(), 0) << selector;
  }
  EXPECT_EQ(ui.begins, 0);
  EXPECT_TRUE(host.ParameterHandle() == nullptr);
}

TEST_F(PluginEntryTest, UnknownSelectorsReturnTheIncomingResultAndRunNothing) {
  for (int16 selector : {int16{7}, int16{-1}, int16{100}}) {
    host.SetDataCell(12345);
    EXPECT_EQ(host.Call(EntryUnderTest, selector, -4321), -4321) << selector;
    EXPECT_EQ(host.DataCell(), 0);
  }
  EXPECT_EQ(ui.begins + ui.abouts + ui.mainWindows, 0);
  EXPECT_TRUE(host.Requests().empty());
}

TEST_F(PluginEntryTest, AboutShowsTheAboutWindowOnlyAndSucceeds) {
  host.SetDataCell(5);
  EXPECT_EQ(host.RunAbout(EntryUnderTest), kNoErr);
  EXPECT_EQ(ui.abouts, 1);
  EXPECT_EQ(ui.begins, 1);
  EXPECT_EQ(ui.ends, 1);
  EXPECT_EQ(ui.welcomes + ui.mainWindows, 0);
  EXPECT_EQ(host.DataCell(), 0);
  EXPECT_TRUE(host.ParameterHandle() == nullptr);
}

TEST_F(PluginEntryTest, ParametersCreateAndMarkANewBlock) {
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNoErr);
  const std::vector<std::uint8_t> bytes = ParameterBytes();
  ASSERT_EQ(bytes.size(), 1304u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
  for (std::size_t i = 4; i < 24; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(bytes[24], 0);
  EXPECT_EQ(bytes[280], 0);
  EXPECT_EQ(host.DataCell(), 0);
}

TEST_F(PluginEntryTest, ParametersOnAnExistingBlockOnlySetTheMarker) {
  ASSERT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNoErr);
  Handle handle = host.ParameterHandle();
  const GridSlot stored(1, 0, 0, 2);
  testing::RunInsideCall(host, [&](HostContext& context) {
    EXPECT_TRUE(StoreApplySelection(context, stored, "cat.ico", "/tmp/cat.ico"));
  });
  std::memset(*handle, 0, 4);  // marker cleared, as after a host restored the block
  (*handle)[20] = 9;           // the reserved word is kept as it is, too

  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNoErr);
  EXPECT_TRUE(host.ParameterHandle() == handle);
  const std::vector<std::uint8_t> bytes = ParameterBytes();
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[20], 9);
  GridSlot slot;
  std::string path;
  testing::RunInsideCall(host, [&](HostContext& context) {
    EXPECT_EQ(LoadApplySelection(context, slot, path), kNoErr);
  });
  EXPECT_EQ(slot, stored);
  EXPECT_EQ(path, "/tmp/cat.ico");
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 24), "cat.ico");
}

TEST_F(PluginEntryTest, AShorterBlockFromAnotherVersionIsGrownAndStartsOver) {
  testing::RunInsideCall(host, [](HostContext& context) {
    context.record->parameters = context.record->handleProcs->newProc(16);
  });
  Handle handle = host.ParameterHandle();
  ASSERT_EQ(host.HandleSize(handle), 16u);

  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNoErr);
  const std::vector<std::uint8_t> bytes = ParameterBytes();
  ASSERT_EQ(bytes.size(), 1304u);
  EXPECT_EQ(bytes[0], 1);
  for (std::size_t i = 4; i < 24; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(bytes[24], 0);
  EXPECT_EQ(bytes[280], 0);
}

TEST_F(PluginEntryTest, ParametersReportAHandleThatCantBeMadeOrLocked) {
  host.FailNewHandle(true);
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kNilHandleErr);
  EXPECT_TRUE(host.ParameterHandle() == nullptr);

  host.FailNewHandle(false);
  host.FailLock(true);
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorParameters), kParamErr);
  EXPECT_EQ(host.DataCell(), 0);

  FilterRecord bare{};  // a host without a handle suite
  HostContext context{&bare, nullptr, kNoErr};
  PrepareParameters(context);
  EXPECT_EQ(context.result, kNilHandleErr);
  EXPECT_TRUE(bare.parameters == nullptr);
}

TEST_F(PluginEntryTest, DoneCancelsWhateverTheWindowLeftInTheResult) {
  ui.outcome = kMainWindowDone;
  ui.whileOpen = [](HostContext& context) { context.result = -30; };
  EXPECT_EQ(host.RunFilter(EntryUnderTest), kUserCanceledErr);
  EXPECT_EQ(applySteps, 0);
  EXPECT_EQ(ui.begins, ui.ends);
  EXPECT_EQ(host.DataCell(), 0);
  EXPECT_FALSE(host.LayerChanged());
}

TEST_F(PluginEntryTest, ApplySucceedsAndRunsTheApplyStep) {
  ui.outcome = kMainWindowApply;
  ui.whileOpen = [](HostContext& context) { context.result = -30; };
  EXPECT_EQ(host.RunFilter(EntryUnderTest), kNoErr);
  EXPECT_EQ(applySteps, 1);

  applyStepResult = -109;
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart), -109);
  EXPECT_EQ(applySteps, 2);
  EXPECT_EQ(host.DataCell(), 0);
}

TEST_F(PluginEntryTest, AWindowThatCantOpenIsReportedAndCancels) {
  ui.outcome = kMainWindowFailed;
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart), kUserCanceledErr);
  ASSERT_EQ(ui.desktop.messages.size(), 1u);
  EXPECT_EQ(ui.desktop.messages[0].text, "Can't open application window.");
  EXPECT_EQ(ui.desktop.messages[0].caption, "Pictaro");
  EXPECT_EQ(ui.desktop.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ui.desktop.messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(applySteps, 0);

  // No window system at all (no display): the same report, no Welcome.
  ui.canBegin = false;
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart), kUserCanceledErr);
  EXPECT_EQ(ui.desktop.messages.size(), 2u);
  EXPECT_EQ(ui.mainWindows, 1);
  EXPECT_EQ(ui.begins, ui.ends);
}

TEST_F(PluginEntryTest, AnUnknownWindowOutcomeLeavesTheResultAsItWas) {
  ui.outcome = 7;
  ui.whileOpen = [](HostContext& context) { context.result = -25; };
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart, 0), -25);
  EXPECT_EQ(applySteps, 0);
}

TEST_F(PluginEntryTest, WelcomeShowsOnTheFirstRunOnly) {
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart), kUserCanceledErr);
  EXPECT_EQ(ui.welcomes, 1);
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart), kUserCanceledErr);
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart), kUserCanceledErr);
  EXPECT_EQ(ui.welcomes, 1);
  EXPECT_EQ(ui.mainWindows, 3);
}

TEST_F(PluginEntryTest, AFirstRunWithoutWindowsStaysAFirstRun) {
  ui.canBegin = false;
  host.Call(EntryUnderTest, kSelectorStart);
  EXPECT_EQ(ui.welcomes, 0);
  ui.canBegin = true;
  host.Call(EntryUnderTest, kSelectorStart);
  EXPECT_EQ(ui.welcomes, 1);
}

TEST_F(PluginEntryTest, NoExceptionLeavesTheEntry) {
  ui.whileOpen = [](HostContext&) { throw std::runtime_error("broken"); };
  host.SetDataCell(3);
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart), kParamErr);
  EXPECT_EQ(host.DataCell(), 0);
  EXPECT_EQ(ui.begins, ui.ends);

  ui.whileOpen = [](HostContext&) { throw std::bad_alloc(); };
  EXPECT_EQ(host.Call(EntryUnderTest, kSelectorStart), -108);
}

TEST(FilterParametersTest, ApplySelectionFillsTheBlockAtItsOffsets) {
  SubstituteHost host(SmallLayer());
  testing::RunInsideCall(host, [&](HostContext& context) {
    EXPECT_FALSE(StoreApplySelection(context, GridSlot(), "a.ico", "/a.ico"));  // no block yet
    GridSlot slot;
    std::string path = "unchanged";
    EXPECT_EQ(LoadApplySelection(context, slot, path), kNilHandleErr);
    EXPECT_EQ(path, "unchanged");

    PrepareParameters(context);
    ASSERT_EQ(context.result, kNoErr);
    ASSERT_TRUE(StoreApplySelection(context, GridSlot(4, 2, 1, 1), "big.ico", "/icons/big.ico"));
    const char* block = *host.ParameterHandle();
    std::uint32_t fields[5];
    std::memcpy(fields, block, sizeof fields);
    EXPECT_EQ(fields[0], 1u);
    EXPECT_EQ(fields[1], 4u);
    EXPECT_EQ(fields[2], 2u);
    EXPECT_EQ(fields[3], 1u);
    EXPECT_EQ(fields[4], 1u);
    EXPECT_STREQ(block + 24, "big.ico");
    EXPECT_STREQ(block + 280, "/icons/big.ico");

    // A name too long for its field is cut; a path too long is not stored, so
    // the Apply step can't read some other file.
    const std::string longName(300, 'n');
    const std::string longPath = std::string("/").append(1100, 'p');
    ASSERT_TRUE(StoreApplySelection(context, GridSlot(), longName, longPath));
    EXPECT_EQ(std::string(block + 24), std::string(255, 'n'));
    EXPECT_STREQ(block + 280, "");
    const std::string fittingPath = std::string("/").append(1022, 'p');
    ASSERT_TRUE(StoreApplySelection(context, GridSlot(), "x", fittingPath));
    ASSERT_EQ(LoadApplySelection(context, slot, path), kNoErr);
    EXPECT_EQ(path, fittingPath);
    EXPECT_EQ(slot, GridSlot());
  });

  host.FailLock(true);
  testing::RunInsideCall(host, [&](HostContext& context) {
    GridSlot slot;
    std::string path;
    EXPECT_FALSE(StoreApplySelection(context, GridSlot(), "b.ico", "/b.ico"));
    EXPECT_EQ(LoadApplySelection(context, slot, path), kParamErr);
  });
}

}  // namespace
}  // namespace pictaro
