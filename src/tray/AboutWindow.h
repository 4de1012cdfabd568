#pragma once
#include <windows.h>

#include "platform/Handles.h"
#include "ui/DialogTemplate.h"
#include "ui/Views.h"

namespace hc {

// The About window: the product's name and its maker. Made for one showing and destroyed after it.
class TAbout_f {
public:
    static constexpr wchar_t kClassName[] = L"TAbout_f";
    static constexpr wchar_t kCaption[] = L"About";
    static constexpr wchar_t kMakerLine[] = L"Made by the Hushcloak Privacy team";
    static constexpr int kIdLabel3 = 101;
    static constexpr int kIdLabel2 = 102;
    static constexpr int kIdSpeedButton1 = IDCANCEL;  // "Close"; Esc closes too

    explicit TAbout_f(HWND owner);
    ~TAbout_f();
    TAbout_f(const TAbout_f&) = delete;
    TAbout_f& operator=(const TAbout_f&) = delete;

    HWND Handle() const { return hwnd_; }
    // Shows the window and returns when it was closed (or the program is ending); it still exists then.
    void ShowModal();
    // Ends the modal loop; the window is hidden, not destroyed, since the loop may still be using it.
    void Close();
    void BringToFront();

private:
    template <class Dialog>
    friend INT_PTR CALLBACK DialogProcFor(HWND, UINT, WPARAM, LPARAM) noexcept;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void Layout();

    HWND hwnd_ = nullptr;
    UniqueFont font_;
    UniqueFont titleFont_;
    int modalResult_ = 0;
};

// The "&About" command and the one reference to an open About window.
class AboutBox final : public AboutView {
public:
    explicit AboutBox(HWND owner) : owner_(owner) {}
    // About1Click: a second call while one is open brings that one to the front.
    void About1Click();
    void CloseIfOpen() override;
    HWND OpenWindow() const { return open_ ? open_->Handle() : nullptr; }

private:
    HWND owner_;
    TAbout_f* open_ = nullptr;
};

}  // namespace hc
