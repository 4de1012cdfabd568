#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Registry.h"
#include "settings/KeepVisible.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

namespace hc {
namespace {

using List = std::vector<std::wstring>;

class KeepVisibleStoreTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey key_;

    // Stores the bytes of data (its characters, without an added zero) under the given type.
    void StoreRaw(const std::wstring& data, DWORD type = REG_MULTI_SZ, size_t extraByte = 0) {
        UniqueHkey section = registry::CreateKey(HKEY_CURRENT_USER, L"HushCloak\\StartUp");
        ASSERT_TRUE(section);
        ASSERT_EQ(RegSetValueExW(section.get(), kKeepVisibleValue, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size() * sizeof(wchar_t) + extraByte)),
                  ERROR_SUCCESS);
    }
    static List Load() { return LoadSettings(SettingsStore(), {}).KeepVisible; }
};

TEST_F(KeepVisibleStoreTest, AnEmptyValueIsAnEmptyListAndMissingFinalZerosMeanTheSame) {
    StoreRaw(std::wstring(L"", 0));
    EXPECT_EQ(Load(), List{});
    StoreRaw(std::wstring(L"a.exe\0b.exe", 11));
    EXPECT_EQ(Load(), (List{L"a.exe", L"b.exe"}));
}

TEST_F(KeepVisibleStoreTest, GarbageAWrongTypeOrAnOversizedValueReadsAsAnEmptyList) {
    const std::pair<const char*, std::function<void()>> damaged[] = {
        {"a text value", [&] { StoreRaw(std::wstring(L"spotify.exe\0", 12), REG_SZ); }},
        {"an odd byte count", [&] { StoreRaw(std::wstring(L"spotify.exe\0\0", 13), REG_MULTI_SZ, 1); }},
        {"text after the end", [&] { StoreRaw(std::wstring(L"a.exe\0\0b.exe\0\0", 14)); }},
        {"a control character", [&] { StoreRaw(std::wstring(L"a.exe\0b\x01.exe\0\0", 15)); }},
        {"a wildcard", [&] { StoreRaw(std::wstring(L"*.exe\0\0", 7)); }},
        {"more than the registry's text limit", [&] { StoreRaw(std::wstring(40000, L'a') + L'\0'); }},
        {"too many entries", [&] {
             std::wstring data;
             for (size_t i = 0; i <= kMaxKeptPrograms; ++i) data += L"p" + std::to_wstring(i) + L".exe" + L'\0';
             StoreRaw(data + L'\0');
         }},
    };
    for (const auto& [what, store] : damaged) {
        store();
        EXPECT_EQ(Load(), List{}) << what;
    }
    // The next save writes a sound value over it.
    Settings settings;
    SettingsStore writer;
    ASSERT_TRUE(SaveSettings(writer, settings));
    UniqueHkey section = registry::OpenKey(HKEY_CURRENT_USER, L"HushCloak\\StartUp");
    EXPECT_EQ(registry::ReadMultiString(section.get(), kKeepVisibleValue), List{});
}

}  // namespace
}  // namespace hc
