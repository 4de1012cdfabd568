#include <gtest/gtest.h>

#include "HcFixture.h"
#include "PasswordSupport.h"
#include "mainwindow/MainWindowIds.h"
#include "password/PasswordHash.h"
#include "password/PasswordPrompt.h"
#include "password/PasswordStore.h"

namespace hctest {
namespace {

namespace ids = hc::mainids;
using Prompt = hc::TPassword_f;

// The Hidden page is a way back to hidden windows like the unhide key: with a password required, its
// "Show selected window" and "Show all windows" ask first, and Cancel leaves the window hidden and listed.
class HiddenPageGate : public HcFixture {
protected:
    ScopedCleanKey store_{hc::kPasswordStoreKey};
};

TEST_F(HiddenPageGate, ShowSelectedAndShowAllAskForThePasswordFirst) {
    key_.SetString(L"StartUp", L"UsePW", L"1");
    const auto stored = hc::MakeStoredPassword(L"Open Sesame");
    ASSERT_TRUE(stored);
    store_.SetString(L"HKAcc", L"Key", *stored);
    HWND diary = helper_.Open(L"Diary of the week");
    ASSERT_NE(StartWithMainWindow(), nullptr);

    ASSERT_TRUE(ui_.Click(L"Windows that anyone can see"));
    RemoteListView visible(ui_.ControlById(ids::VisibleWindows));
    ASSERT_TRUE(visible.Select(visible.Find(1, L"Diary of the week")));
    ASSERT_TRUE(ui_.ChooseFromMenu(ids::VisibleWindows, 0));  // "Hide selected window"
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(diary); }));

    ASSERT_TRUE(ui_.Click(L"Windows that have been hidden"));
    RemoteListView hidden(ui_.ControlById(ids::WindowLV));
    ASSERT_TRUE(hidden.Select(0));
    ASSERT_TRUE(ui_.ChooseFromMenu(ids::WindowLV, 0));  // "Show selected window"
    HWND prompt = WaitForDialogOf(hc_.ProcessId(), hc::kPromptTitle);
    ASSERT_NE(prompt, nullptr) << "shown without the password";
    ClickButton(prompt, Prompt::kIdCancelBtn);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(prompt); }));
    ui_.Settle();
    EXPECT_FALSE(IsWindowVisible(diary));
    EXPECT_EQ(hidden.Count(), 1);

    ASSERT_TRUE(ui_.ChooseFromMenu(ids::WindowLV, 1));  // "Show all windows"
    prompt = WaitForDialogOf(hc_.ProcessId(), hc::kPromptTitle);
    ASSERT_NE(prompt, nullptr) << "shown without the password";
    SetDlgItemTextW(prompt, Prompt::kIdPassWord, L"Open Sesame");
    ClickButton(prompt, Prompt::kIdButton1);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(diary) != FALSE; }));
    ui_.Settle();
    EXPECT_EQ(hidden.Count(), 0);
}

// Shown as the unhide key shows them: in their own state (a maximised window stays maximised), in the order of
// hiding, without activating each in turn.
TEST_F(HiddenPageGate, ShowSelectedAndShowAllRestoreAsTheUnhideKeyDoes) {
    HWND first = helper_.Open(L"Letter one");
    HWND wide = helper_.Open(L"Letter wide");
    HWND last = helper_.Open(L"Letter last");
    ShowWindow(wide, SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(wide) != FALSE; }));
    ASSERT_NE(StartWithMainWindow(), nullptr);

    ASSERT_TRUE(ui_.Click(L"Windows that anyone can see"));
    RemoteListView visible(ui_.ControlById(ids::VisibleWindows));
    for (const wchar_t* title : {L"Letter one", L"Letter wide", L"Letter last"}) {
        ASSERT_TRUE(visible.Select(visible.Find(1, title)));
        ASSERT_TRUE(ui_.ChooseFromMenu(ids::VisibleWindows, 0));  // "Hide selected window"
    }
    ASSERT_TRUE(WaitUntil([&] { return AllHidden({first, wide, last}); }));

    ASSERT_TRUE(ui_.Click(L"Windows that have been hidden"));
    RemoteListView hidden(ui_.ControlById(ids::WindowLV));
    ASSERT_TRUE(hidden.Select(hidden.Find(1, L"Letter wide")));
    ASSERT_TRUE(ui_.ChooseFromMenu(ids::WindowLV, 0));  // "Show selected window"
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wide) != FALSE; }));
    EXPECT_TRUE(IsZoomed(wide)) << "shown in another state than it was hidden in";

    ASSERT_TRUE(ui_.ChooseFromMenu(ids::WindowLV, 1));  // "Show all windows"
    ASSERT_TRUE(WaitUntil([&] { return AllShown({first, last}); }));
    EXPECT_LT(helper_.ShownSequence(first), helper_.ShownSequence(last)) << "not in the order of hiding";
    ui_.Settle();
    EXPECT_EQ(hidden.Count(), 0);
}

}  // namespace
}  // namespace hctest
