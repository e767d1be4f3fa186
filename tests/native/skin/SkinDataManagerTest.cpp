// What the skin data component asks of the skin manager, and when: a recording link stands in
// for the manager.
#include "platform/classes/Properties.h"
#include "skin/SkinManagerLink.h"
#include "skin/SkinReader.h"
#include "skin/WinSkinData.h"
#include "tests/native/skin/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qv {
namespace {

class TRecordingLink : public TSkinManagerLink {
public:
  TRecordingLink() { previous_ = SetSkinManagerLink(this); }
  ~TRecordingLink() override { SetSkinManagerLink(previous_); }

  void RegisterSkinData(TSkinData *) override { calls.push_back("register"); }
  void UnregisterSkinData(TSkinData *) override { calls.push_back("unregister"); }
  void InstallHook() override { calls.push_back("hook"); }
  void StartAtOnce(TSkinData *) override { calls.push_back("start"); }
  void PostCommand(TSkinData *target, TSkinCommand command, int interval) override {
    lastTarget = target;
    calls.push_back("post " + std::to_string(command) + " " + std::to_string(interval));
  }
  void SetStarted() override {
    started = true;
    calls.push_back("started");
  }
  bool Started() const override { return started; }
  void ReloadSkinners(TSkinData *) override { calls.push_back("reload"); }

  // The calls so far, then forgets them.
  std::vector<std::string> Take() { return std::exchange(calls, {}); }

  std::vector<std::string> calls;
  TSkinData *lastTarget = nullptr;
  bool started = false;

private:
  TSkinManagerLink *previous_ = nullptr;
};

using Calls = std::vector<std::string>;

// A component as a layout leaves it: properties read while loading, then Loaded.
void LoadAs(TSkinData &data, bool withSkin, const char *formType, bool active = true) {
  data.SetLoading(true);
  if (withSkin) {
    ASSERT_TRUE(data.LoadPackage(test::DefaultSkinPackage()));
  }
  SetPropText(data, "SkinFormtype", formType);
  SetPropText(data, "Active", active ? "True" : "False");
  data.Loaded();
}

TEST(SkinDataManager, MainFormLoadRegistersHooksAndSkinsAfterADelay) {
  TRecordingLink link;
  {
    TSkinData data(nullptr);
    LoadAs(data, true, "sfMainform");
    EXPECT_EQ(link.Take(), (Calls{"register", "hook", "post 1 250"}));
    EXPECT_EQ(link.lastTarget, &data);
    EXPECT_TRUE(data.Active());
  }
  EXPECT_EQ(link.Take(), (Calls{"unregister"}));

  TSkinData without(nullptr);
  LoadAs(without, false, "sfMainform");
  EXPECT_EQ(link.Take(), (Calls{"register", "hook"})); // no skin: nothing is skinned
  EXPECT_FALSE(without.Active());
}

TEST(SkinDataManager, OtherKindsStartAtOnceWithoutTheHookOrMenuChanges) {
  TRecordingLink link;
  for (const char *kind : {"sfOnlyThisForm", "sfDialog", "sfDLL"}) {
    link.calls.clear(); // the component of the round before unregistered
    TSkinData data(nullptr);
    SetPropText(data, "SkinControls", "[xcMainMenu,xcMenuItem]");
    LoadAs(data, true, kind);
    EXPECT_EQ(link.Take(), (Calls{"register", "start"})) << kind;
    EXPECT_EQ(data.SkinControls(), SkinBit(xcMainMenu) | SkinBit(xcMenuItem)) << kind;
  }
}

TEST(SkinDataManager, ActiveAtRunTimeSchedulesSkinAndUnskin) {
  TRecordingLink link;
  TSkinData main(nullptr);
  LoadAs(main, true, "sfMainform", false);
  link.Take();
  main.SetActive(true);
  EXPECT_EQ(link.Take(), (Calls{"post 1 250", "started"}));
  main.SetActive(false);
  EXPECT_EQ(link.Take(), (Calls{"post 2 250"}));
  EXPECT_FALSE(main.Active());

  // Turning on without a skin stores the value and asks nothing of the manager.
  TSkinData bare(nullptr);
  LoadAs(bare, false, "sfMainform", false);
  link.Take();
  bare.SetActive(true);
  EXPECT_TRUE(link.Take().empty());

  TSkinData own(nullptr);
  LoadAs(own, true, "sfOnlyThisForm", false);
  link.Take();
  own.SetActive(true);
  own.SetActive(false);
  EXPECT_EQ(link.Take(), (Calls{"post 1 250", "post 2 250"}));
  EXPECT_EQ(link.lastTarget, &own);

  TSkinData dialog(nullptr);
  LoadAs(dialog, true, "sfDialog", false);
  link.Take();
  dialog.SetActive(true);
  EXPECT_TRUE(link.Take().empty());
  EXPECT_TRUE(dialog.Active());
}

TEST(SkinDataManager, ASkinFileLoadedAtRunTimeIsApplied) {
  TRecordingLink link;
  WriteFileBytes("manager-test.skn", test::DefaultSkinPackage());
  std::vector<std::string> shown;
  const TSkinMessageHandler previous =
      SetSkinMessageHandler([&](const std::string &t) { shown.push_back(t); });

  // Never loaded from a layout: applying registers it first.
  TSkinData fresh(nullptr);
  EXPECT_TRUE(fresh.SetSkinFile("manager-test.skn"));
  EXPECT_EQ(link.Take(), (Calls{"register", "hook", "reload"}));

  // Once the manager has started, the windows are refreshed after a delay.
  TSkinData main(nullptr);
  LoadAs(main, true, "sfMainform");
  link.started = true;
  link.Take();
  EXPECT_TRUE(main.SetSkinFile("manager-test.skn"));
  EXPECT_EQ(link.Take(), (Calls{"reload", "post 3 250"}));

  // A missing file applies nothing; a this-form-only component never applies.
  EXPECT_FALSE(main.SetSkinFile("manager-missing.skn"));
  EXPECT_TRUE(link.Take().empty());
  EXPECT_EQ(shown.size(), 1u);
  TSkinData own(nullptr);
  LoadAs(own, true, "sfOnlyThisForm");
  link.Take();
  EXPECT_TRUE(own.SetSkinFile("manager-test.skn"));
  EXPECT_TRUE(link.Take().empty());

  // While a layout is read, the file only loads; Loaded does the rest.
  TSkinData reading(nullptr);
  reading.SetLoading(true);
  SetPropText(reading, "SkinFile", "manager-test.skn");
  EXPECT_FALSE(reading.NoSkinLoaded());
  EXPECT_TRUE(link.Take().empty());

  std::remove("manager-test.skn");
  SetSkinMessageHandler(previous);
}

TEST(SkinDataManager, ARefusedPackageAtLoadLeavesTheComponentInactive) {
  TRecordingLink link;
  std::vector<std::string> shown;
  const TSkinMessageHandler previous =
      SetSkinMessageHandler([&](const std::string &t) { shown.push_back(t); });
  TSkinData data(nullptr);
  data.SetLoading(true);
  data.SetSkinStream({5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0}); // declares 2 GiB unpacked
  SetPropText(data, "Active", "True");
  data.Loaded();
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(link.Take(), (Calls{"register", "hook"}));
  SetSkinMessageHandler(previous);
}

} // namespace
} // namespace qv
