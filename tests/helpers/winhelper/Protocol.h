#pragma once
// Commands the tests send to the window-opening helper with WM_COPYDATA (dwData = command, lpData = text).
namespace winhelper {
inline constexpr wchar_t kControlClass[] = L"HcHelperControl";
inline constexpr wchar_t kWindowClass[] = L"HcHelperWindow";
enum Command : unsigned {
    kOpen = 1,          // text: title; returns the new visible window
    kOpenHungable = 2,  // text: title; the window lives on a thread that can be made to hang
    kHang = 3,          // text: milliseconds the hungable thread stops pumping
    kQuit = 4,
    kCloseRequests = 5, // returns how many WM_CLOSE messages the helper's windows received
    kShownSequence = 6, // text: window handle; returns when it was last shown (a count over all windows), 0 never
    kForeground = 7,    // text: window handle; brings it to the front from inside its own process
    kOpenPopup = 8,     // text: owner's handle; opens an untitled pop-up owned by it, returns the pop-up
};
}  // namespace winhelper
