#pragma once
#include <functional>

#include "mainwindow/Page.h"
#include "ui/Window.h"

namespace hc {

// The slide-out pane SV with the navigation list catMenuItems: one full-width button per page, white caption
// and icon on black, the button under the mouse (or with the focus) in the toolbar's blue.
class NavPane final : public Window<NavPane> {
public:
    explicit NavPane(std::function<void(int tag)> onAction) : onAction_(std::move(onAction)) {}
    HWND Create(HWND parent, const Fonts& fonts);
    void Layout(const RECT& area, UINT dpi);
    // Marks the button of the page on show.
    void SetActive(int tag);

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK ButtonProc(HWND button, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self);
    void Draw(const DRAWITEMSTRUCT& item);

    std::function<void(int)> onAction_;
    const Fonts* fonts_ = nullptr;
    UINT dpi_ = 96;
    HWND hot_ = nullptr;
    int activeTag_ = -1;
};

}  // namespace hc
