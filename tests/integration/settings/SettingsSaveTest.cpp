#include <gtest/gtest.h>

#include <type_traits>
#include <variant>

#include "TestSupport.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

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

// Each row alone, set away from its default, written and read back: a row that names the wrong field, section or
// kind shows here, whichever row it is.
TEST_F(SettingsSaveTest, EveryRowWritesAndReadsBackItsOwnFieldOnly) {
    const SettingsDefaults defaults{3, -10, -20};
    const Settings fresh = LoadSettings(SettingsStore(), defaults);
    for (const SettingRow& row : StoredSettings()) {
        hctest::ScopedCleanKey clean;
        Settings changed = fresh;
        std::visit(
            [&](auto field) {
                using Field = decltype(field);
                if constexpr (std::is_same_v<Field, bool Settings::*>) changed.*field = !(fresh.*field);
                if constexpr (std::is_same_v<Field, int Settings::*>) changed.*field = fresh.*field == 2 ? 1 : 2;
                if constexpr (std::is_same_v<Field, std::wstring Settings::*>) changed.*field = L"changed";
            },
            row.member);
        SettingsStore store;
        ASSERT_TRUE(SaveSetting(store, row, changed)) << std::wstring(row.name).c_str();
        const Settings back = LoadSettings(SettingsStore(), defaults);
        std::visit(
            [&](auto field) {
                using Field = decltype(field);
                if constexpr (!std::is_same_v<Field, std::monostate>) {
                    EXPECT_EQ(back.*field, changed.*field) << std::wstring(row.name).c_str();
                    for (const SettingRow& other : StoredSettings()) {
                        if (&other == &row) continue;
                        if (const auto* same = std::get_if<Field>(&other.member)) {
                            EXPECT_EQ(back.**same, fresh.**same) << std::wstring(other.name).c_str();
                        }
                    }
                }
            },
            row.member);
    }
}

TEST_F(SettingsSaveTest, TheEndOfTheProgramAddsTheTraysTicksAndTheIconIsWrittenOnlyByName) {
    Settings s;
    s.AutoStart = true;
    s.DisSplScreen = true;
    s.IconFile = L"C:\\icons.dll";
    s.IconIndex = 5;
    SettingsStore store;
    ASSERT_TRUE(SaveSettings(store, s, SavedWhen::ProgramEnd));
    EXPECT_EQ(Stored(L"AutoStart"), L"1");
    EXPECT_EQ(Stored(L"DisSplScreen"), L"1");
    EXPECT_EQ(Stored(L"DoBin"), L"0");
    EXPECT_EQ(Stored(L"IconFile"), std::nullopt);

    ASSERT_TRUE(SaveSettings(store, s, {L"IconFile", L"IconIndex"}));
    EXPECT_EQ(Stored(L"IconFile"), L"C:\\icons.dll");
    EXPECT_EQ(Stored(L"IconIndex"), L"5");
    EXPECT_FALSE(SaveSettings(store, s, {L"NoSuchEntry"}));
}

// A value of a kind the store does not know comes with its own functions.
TEST_F(SettingsSaveTest, ARowWithItsOwnLoadAndSaveIsWalkedLikeTheOthers) {
    const SettingRow list = CustomRow(
        L"List", [](const SettingsStore&, const SettingRow&, Settings& into) { into.DecoyApp = L"loaded"; },
        [](SettingsStore& store, const SettingRow& row, const Settings& from) {
            return store.WriteString(row.section, row.name, from.DecoyApp + L"|saved");
        });
    Settings s;
    s.DecoyApp = L"a";
    SettingsStore store;
    ASSERT_TRUE(SaveSetting(store, list, s));
    EXPECT_EQ(Stored(L"List"), L"a|saved");
    LoadSetting(store, list, {}, s);
    EXPECT_EQ(s.DecoyApp, L"loaded");
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
