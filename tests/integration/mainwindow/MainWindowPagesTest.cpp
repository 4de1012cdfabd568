#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Doubles.h"
#include "HotkeyDoubles.h"
#include "TestSupport.h"
#include "TrayDriver.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowIds.h"
#include "tray/ControllerWindow.h"

namespace hc {
namespace {

using hctest::ClassOf;
using hctest::WindowText;

std::vector<HWND> ChildrenInWindowOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The main window and the controller it belongs to, in this process, with hotkeys that are only counted.
class MainWindowPagesTest : public ::testing::Test {
protected:
    hctest::ScopedCleanKey key_;
    hctest::CallLog log_;
    Win32WindowSystem windows_;
    hctest::EngineRig rig_{windows_, log_};
    hctest::FakeHotkeyService hotkeys_;
    hctest::RecordingMessages messages_;
    hctest::FakeRunKeys runKeys_;
    hctest::ScriptedIconPicker picker_;
    Themes themes_;
    std::unique_ptr<TForm2> controller_;
    std::unique_ptr<TMain_f> main_;

    void SetUp() override {
        controller_ = std::make_unique<TForm2>(
            ControllerParts{hotkeys_, messages_, rig_.dispatcher, rig_.engine, rig_.settings, rig_.switches, runKeys_,
                            picker_, L"C:\\HC.exe"},
            [] {});
        main_ = std::make_unique<TMain_f>(controller_->Handle(), rig_.settings, rig_.engine, themes_,
                                          MainWindowHooks{}, L"C:\\nowhere\\Index.html");
        ASSERT_NE(main_->Handle(), nullptr);
    }
    void TearDown() override {
        main_.reset();
        controller_.reset();
        hctest::DropPendingQuit();
    }
    std::vector<HWND> Pages() const {
        std::vector<HWND> pages;
        for (HWND child : ChildrenInWindowOrder(main_->Handle()))
            if (ClassOf(child) == L"HcPage") pages.push_back(child);
        return pages;
    }
    HWND Control(int id) const {
        for (HWND page : Pages())
            if (HWND control = GetDlgItem(page, id)) return control;
        return nullptr;
    }
};

bool TakesInput(const std::wstring& cls) {
    return cls == WC_EDITW || cls == WC_COMBOBOXW || cls == WC_LISTVIEWW || cls == TRACKBAR_CLASSW ||
           cls == HOTKEY_CLASSW;
}

// What a screen reader names a box by: the label right before it; a list view without one carries its own name.
TEST_F(MainWindowPagesTest, EveryBoxFollowsItsLabelAndTabStopsRunTopToBottomLeftToRight) {
    const auto pages = Pages();
    ASSERT_EQ(pages.size(), 6u);
    for (HWND page : pages) {
        const auto children = ChildrenInWindowOrder(page);
        for (size_t i = 0; i < children.size(); ++i) {
            const std::wstring cls = ClassOf(children[i]);
            if (!TakesInput(cls)) continue;
            const int id = GetDlgCtrlID(children[i]);
            if (cls == WC_LISTVIEWW) {
                EXPECT_FALSE(WindowText(children[i]).empty()) << "list " << id;
                continue;
            }
            ASSERT_GT(i, 0u) << "control " << id;
            const HWND label = children[i - 1];
            const bool checkBox = ClassOf(label) == WC_BUTTONW &&
                                  (GetWindowLongW(label, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX;
            // The decoy box is named by the check box that switches it on.
            EXPECT_TRUE(ClassOf(label) == WC_STATICW || (checkBox && id == mainids::DecoyApp)) << "control " << id;
            EXPECT_FALSE(WindowText(label).empty()) << "control " << id;
        }
        RECT previous{};
        bool first = true;
        for (HWND child : children) {
            if (!(GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP)) continue;
            RECT at{};
            GetWindowRect(child, &at);
            if (!first) {
                // A row is where a control starts: a tall list beside a button shares the button's row.
                const int rowShift = at.top - previous.top;
                const bool sameRow = std::abs(rowShift) <= 6;
                EXPECT_TRUE(sameRow ? at.left > previous.left : rowShift > 0) << "control " << GetDlgCtrlID(child);
            }
            previous = at;
            first = false;
        }
    }
    EXPECT_EQ(WindowText(Control(mainids::VisibleWindows)), L"Visible Windows");
    EXPECT_EQ(WindowText(Control(mainids::WindowLV)), L"Hidden Window");
}

// The tooltip text of the control, from the tooltip windows of this thread; empty when it has none.
std::wstring HintOf(HWND control) {
    struct Search {
        HWND page;
        HWND control;
        std::wstring text;
    } search{GetParent(control), control, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (ClassOf(window) != TOOLTIPS_CLASSW) return TRUE;
            wchar_t buffer[256] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.hwnd = s.page;
            tool.uId = reinterpret_cast<UINT_PTR>(s.control);
            tool.lpszText = buffer;
            if (!SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return TRUE;
            tool.lpszText = buffer;
            SendMessageW(window, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
            s.text = buffer;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

TEST_F(MainWindowPagesTest, TheActionGroupAndTheDecoyBoxExplainThemselvesInTooltips) {
    const std::wstring action = L"Selects the HushCloak action. This is what HushCloak will do when invoked";
    EXPECT_EQ(HintOf(Control(mainids::HushCloak)), action);
    for (int item = 0; item < 5; ++item) EXPECT_EQ(HintOf(Control(mainids::HushCloakItem0 + item)), action);
    EXPECT_EQ(HintOf(Control(mainids::DecoyApp)), L"The application or filename that is used as the HushCloak Decoy.");
    EXPECT_EQ(HintOf(Control(mainids::edHide)), L"");
}

// Releasing the keys for a theme would open a gap in which another program can take the panic key for good.
TEST_F(MainWindowPagesTest, AThemeChangeSwapsColoursAndLeavesTheHotkeysRegistered) {
    const int registrations = hotkeys_.registerCalls;
    const size_t held = hotkeys_.held.size();
    ASSERT_EQ(held, 2u);
    const HWND box = Control(mainids::cbxVclStyles);
    ASSERT_NE(box, nullptr);
    const LRESULT windows = SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(L"Windows"));
    ASSERT_NE(windows, CB_ERR);
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(windows), 0);
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(mainids::cbxVclStyles, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
    EXPECT_STREQ(themes_.Current().name, L"Windows");
    EXPECT_EQ(hotkeys_.registerCalls, registrations);
    EXPECT_EQ(hotkeys_.held.size(), held);
}

}  // namespace
}  // namespace hc
