#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

namespace hc {
namespace {

class SettingsSaveTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey key_;
    std::optional<std::wstring> Stored(const wchar_t* name) {
        UniqueHkey section = registry::OpenKey(HKEY_CURRENT_USER, L"HushCloak\\StartUp");
        return section ? registry::ReadString(section.get(), name) : std::nullopt;
    }
};

TEST_F(SettingsSaveTest, WritesEveryEntryAsTextAndLoadsBackTheSame) {
    Settings s;
    s.cbRecycle = true;
    s.cbRecent = true;
    s.cbPassword = true;
    s.UseDecoy = true;
    s.DecoyApp = L"C:\\decoy.txt";
    s.Action = -1;
    s.cbMuteAudio = false;
    s.edHide = L"";
    s.edUnHide = L"CTRL+U";
    s.UseDefaultKeys = false;
    s.fHidePanicBtn = false;
    s.PanicLeft = -40;
    s.PanicTop = 70;
    s.btnPanic = L"Boss!";
    s.cbSilent = true;
    s.cbHideIcon = false;
    SettingsStore store;
    ASSERT_TRUE(SaveSettings(store, s));

    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"DoBin", L"1"},    {L"TempFiles", L"0"},   {L"Recent", L"1"},    {L"URL", L"0"},
        {L"UsePW", L"1"},    {L"UseDecoy", L"1"},    {L"HidePanic", L"0"}, {L"Decoy", L"C:\\decoy.txt"},
        {L"Action", L"-1"},  {L"MuteAudio", L"0"},   {L"HkHide", L""},     {L"hkUnHide", L"CTRL+U"},
        {L"Defaults", L"0"}, {L"PanicLeft", L"-40"}, {L"PanicTop", L"70"}, {L"btnPanic", L"Boss!"},
        {L"Tray", L"1"},     {L"HideIcon", L"0"}};
    for (const auto& [name, text] : expected) EXPECT_EQ(Stored(name), std::wstring(text)) << std::wstring(name).c_str();
    // Entries the controller writes are not the main window's to touch.
    EXPECT_EQ(Stored(L"AutoStart"), std::nullopt);
    EXPECT_EQ(Stored(L"IconFile"), std::nullopt);

    const Settings back = LoadSettings(SettingsStore(), {});
    EXPECT_EQ(back.Action, -1);
    EXPECT_EQ(back.edHide, L"");
    EXPECT_FALSE(back.fHidePanicBtn);
    EXPECT_FALSE(back.cbHideIcon);
    EXPECT_EQ(back.btnPanic, L"Boss!");
}

TEST_F(SettingsSaveTest, BothSpellingsOfTheSectionAreOneSubkey) {
    SettingsStore store;
    ASSERT_TRUE(SaveSettings(store, Settings{}));
    UniqueHkey root = registry::OpenKey(HKEY_CURRENT_USER, L"HushCloak");
    ASSERT_TRUE(root);
    DWORD subkeys = 0;
    ASSERT_EQ(RegQueryInfoKeyW(root.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 1u);
    EXPECT_EQ(Stored(L"HidePanic"), L"1");
}

TEST_F(SettingsSaveTest, AClosedStoreReportsTheSaveFailed) {
    SettingsStore store(HKEY_CURRENT_USER, std::wstring(300, L'x') + L"\\\\");
    EXPECT_FALSE(SaveSettings(store, Settings{}));
}

TEST_F(SettingsSaveTest, AnOverlongTextReadsAsTheDefault) {
    key_.SetString(L"StartUp", L"HkHide", std::wstring(32768, L'A'));
    key_.SetString(L"StartUp", L"Decoy", std::wstring(32767, L'B'));
    key_.SetString(L"StartUp", L"Action", std::wstring(40000, L'1'));
    const Settings s = LoadSettings(SettingsStore(), {});
    EXPECT_EQ(s.edHide, L"CTRL+SPACE");
    EXPECT_EQ(s.DecoyApp.size(), 32767u);
    EXPECT_EQ(s.Action, 0);
}

}  // namespace
}  // namespace hc
