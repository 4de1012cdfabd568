#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "HcProcess.h"
#include "MainWindowDriver.h"
#include "TestSupport.h"

namespace hctest {

// A REG_SZ value under HKCU\HushCloak\<section>; nullopt when it is not there.
std::optional<std::wstring> StoredString(const std::wstring& section, const std::wstring& name);

// HC.exe over a clean store, with the helper program for other processes' windows.
class HcFixture : public ::testing::Test {
protected:
    ScopedCleanKey key_;
    HcProcess hc_;
    WindowHelper helper_;
    MainWindowDriver ui_{0};

    // Stopped before the members of a derived fixture (a server, another store) go.
    void TearDown() override { hc_.Stop(); }
    // Starts in the notification area, the Panic Button away from Wine's tray window at the top-left corner.
    void StartInTray();
    // Starts with the main window; null when it did not show.
    HWND StartWithMainWindow();
    // A visible top-level window of the program with exactly this caption; null when none.
    HWND VisibleWindowOfHc(const std::wstring& caption) const;
};

}  // namespace hctest
