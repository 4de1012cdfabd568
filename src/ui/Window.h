#pragma once
#include <windows.h>

#include <exception>

namespace hc {

// Shows a failure that no handler caught and lets the program go on.
void ReportUnhandledFailure(const std::exception* failure) noexcept;

// Base of every window class: binds the object to its window at WM_NCCREATE and lets go at WM_NCDESTROY.
// Derived classes implement LRESULT OnMessage(UINT, WPARAM, LPARAM).
template <class Derived>
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // A derived class whose handlers must see WM_DESTROY destroys its window in its own destructor; here the
    // derived part is gone, so the window is unbound first.
    virtual ~Window() {
        if (!hwnd) return;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }

    HWND Handle() const { return hwnd; }

protected:
    static bool RegisterWindowClass(const wchar_t* className, HICON icon = nullptr, HCURSOR cursor = nullptr,
                                    HBRUSH background = nullptr) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }

    HWND CreateWindowFor(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                         int width, int height, HWND owner = nullptr) {
        return CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, nullptr,
                               GetModuleHandleW(nullptr), static_cast<Derived*>(this));
    }

    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        auto* self = msg == WM_NCCREATE
                         ? static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams)
                         : reinterpret_cast<Derived*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (msg == WM_NCCREATE && self) {
            self->hwnd = h;
            SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        LRESULT result = 0;
        try {
            result = self ? self->OnMessage(msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
        } catch (const std::exception& failure) {
            ReportUnhandledFailure(&failure);
        } catch (...) {
            ReportUnhandledFailure(nullptr);
        }
        if (msg == WM_NCDESTROY && self) {
            SetWindowLongPtrW(h, GWLP_USERDATA, 0);
            self->hwnd = nullptr;
        }
        return result;
    }

    HWND hwnd = nullptr;
};

}  // namespace hc
