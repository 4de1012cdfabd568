#include <gtest/gtest.h>

#include "TestSupport.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

namespace hc {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey key_;
    SettingsDefaults defaults_{3, -10, -20};
    Settings Load() { return LoadSettings(SettingsStore(), defaults_); }
};

TEST_F(SettingsTest, EveryEntryReadsItsDefaultWhenAbsent) {
    const Settings s = Load();
    EXPECT_FALSE(s.cbRecycle);
    EXPECT_FALSE(s.cbClearTemp);
    EXPECT_FALSE(s.cbRecent);
    EXPECT_FALSE(s.cbHistory);
    EXPECT_FALSE(s.cbPassword);
    EXPECT_FALSE(s.UseDecoy);
    EXPECT_EQ(s.DecoyApp, L"");
    EXPECT_EQ(s.Action, 0);
    EXPECT_TRUE(s.cbMuteAudio);
    EXPECT_EQ(s.edHide, L"CTRL+SPACE");
    EXPECT_EQ(s.edUnHide, L"CTRL+BACKSPACE");
    EXPECT_TRUE(s.UseDefaultKeys);
    EXPECT_FALSE(s.AutoStart);
    EXPECT_EQ(s.IconFile, L"");
    EXPECT_EQ(s.IconIndex, 3);
    EXPECT_TRUE(s.fHidePanicBtn);
    EXPECT_FALSE(s.cbSilent);
    EXPECT_TRUE(s.cbHideIcon);
    EXPECT_EQ(s.PanicLeft, -10);
    EXPECT_EQ(s.PanicTop, -20);
    EXPECT_EQ(s.btnPanic, L"Hi, I'm the \"Panic Button\". You can move me, change me, rename me.");
    EXPECT_FALSE(s.cbTaskManager);
    EXPECT_EQ(s.jvTransparency, 1);
}

TEST_F(SettingsTest, ActionIsKeptWithinTheRadioGroup) {
    key_.SetString(L"StartUp", L"Action", L"7");
    EXPECT_EQ(Load().Action, 4);
    key_.SetString(L"StartUp", L"Action", L"-5");
    EXPECT_EQ(Load().Action, -1);
    key_.SetString(L"StartUp", L"Action", L"2");
    EXPECT_EQ(Load().Action, 2);
    key_.SetString(L"StartUp", L"Action", L"two");
    EXPECT_EQ(Load().Action, 0);
}

TEST_F(SettingsTest, BooleansReadAnyNumberAndFallBackOnText) {
    key_.SetString(L"StartUp", L"DoBin", L"2");
    key_.SetString(L"StartUp", L"MuteAudio", L"yes");
    key_.SetString(L"StartUp", L"Defaults", L"0");
    const Settings s = Load();
    EXPECT_TRUE(s.cbRecycle);
    EXPECT_TRUE(s.cbMuteAudio);  // "yes" is no number: the default stands
    EXPECT_FALSE(s.UseDefaultKeys);
}

TEST_F(SettingsTest, AnExistingEmptyTextReadsAsEmpty) {
    key_.SetString(L"StartUp", L"HkHide", L"");
    EXPECT_EQ(Load().edHide, L"");
}

TEST_F(SettingsTest, OtherRegistryTypesGiveTheDefault) {
    key_.SetDword(L"StartUp", L"Action", 3);
    key_.SetDword(L"StartUp", L"HkHide", 1);
    key_.SetDword(L"StartUp", L"MuteAudio", 0);
    const Settings s = Load();
    EXPECT_EQ(s.Action, 0);
    EXPECT_EQ(s.edHide, L"CTRL+SPACE");
    EXPECT_TRUE(s.cbMuteAudio);
}

TEST_F(SettingsTest, SectionNamesIgnoreCase) {
    SettingsStore store;
    ASSERT_TRUE(store.WriteBool(L"StartUP", L"HidePanic", false));
    EXPECT_FALSE(store.ReadBool(L"StartUp", L"HidePanic", true));
    key_.SetString(L"StartUp", L"HidePanic", L"1");
    EXPECT_TRUE(Load().fHidePanicBtn);
}

TEST_F(SettingsTest, ASectionReadAsAbsentAndThenWrittenReadsTheNewValueInTheSameBatch) {
    SettingsStore store;
    EXPECT_EQ(store.ReadString(L"Later", L"Name", L"none"), L"none");
    ASSERT_TRUE(store.WriteString(L"LATER", L"Name", L"written"));
    EXPECT_EQ(store.ReadString(L"later", L"Name", L"none"), L"written");
    ASSERT_TRUE(store.WriteStrings(L"Later", L"List", {L"a", L"b"}));
    EXPECT_EQ(store.ReadStrings(L"Later", L"List"), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST_F(SettingsTest, StoredValuesAreRead) {
    key_.SetString(L"StartUp", L"Decoy", L"C:\\notes.txt");
    key_.SetString(L"StartUp", L"UseDecoy", L"1");
    key_.SetString(L"StartUp", L"IconIndex", L"12");
    key_.SetString(L"StartUp", L"PanicLeft", L"300");
    key_.SetString(L"StartUp", L"Tray", L"1");
    const Settings s = Load();
    EXPECT_EQ(s.DecoyApp, L"C:\\notes.txt");
    EXPECT_TRUE(s.UseDecoy);
    EXPECT_EQ(s.IconIndex, 12);
    EXPECT_EQ(s.PanicLeft, 300);
    EXPECT_TRUE(s.cbSilent);
    EXPECT_TRUE(LoadSilentStart(SettingsStore()));
}

TEST(SettingsStore, UnopenableStoreGivesDefaults) {
    // A path no key can have: the store stays closed and every read gives its default.
    SettingsStore store(HKEY_CURRENT_USER, std::wstring(300, L'x') + L"\\\\");
    EXPECT_EQ(store.ReadInteger(L"StartUp", L"Action", 9), 9);
    EXPECT_EQ(LoadSettings(store, {}).edUnHide, L"CTRL+BACKSPACE");
}

}  // namespace
}  // namespace hc
