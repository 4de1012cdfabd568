#pragma once
#include "platform/Handles.h"
#include "ui/Window.h"

namespace hc {

// The window shown while the program starts, unless the silent start is stored.
class TSplash_f : public Window<TSplash_f> {
public:
    static constexpr wchar_t kClassName[] = L"TSplash_f";
    static constexpr wchar_t kCaption[] = L"HushCloak";

    // The window exists from here on; a silent one is never shown.
    explicit TSplash_f(bool isSilent);
    bool isSilent() const { return isSilent_; }
    // Shows and paints the window at once, unless the start is silent.
    void ShowUnlessSilent();
    void PaintNow();

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    void Paint(HDC dc);

    bool isSilent_;
    UniqueFont titleFont_;
    UniqueFont textFont_;
    HICON picture_ = nullptr;
};

}  // namespace hc
