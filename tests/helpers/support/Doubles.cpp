#include "Doubles.h"

namespace hctest {

namespace {
std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
}  // namespace

HWND FakeWindowSystem::Add(const std::wstring& title, bool visible) {
    HWND window = AddAt(reinterpret_cast<HWND>(next_), title);
    next_ += 4;
    windows_[window].visible = visible;
    return window;
}

HWND FakeWindowSystem::AddAt(HWND window, const std::wstring& title) {
    windows_[window] = FakeWindow{title, true, 0};
    order_.push_back(window);
    return window;
}

std::wstring FakeWindowSystem::Title(HWND window) {
    return Exists(window) ? windows_[window].title.substr(0, hc::kMaxTitleLength) : std::wstring();
}

bool FakeWindowSystem::IsVisible(HWND window) { return Exists(window) && windows_[window].visible; }

void FakeWindowSystem::HideAsync(HWND window) {
    log_.push_back("Hide " + Narrow(Title(window)));
    if (Exists(window)) windows_[window].visible = false;
}

void FakeWindowSystem::ShowAsync(HWND window, int) {
    log_.push_back("Show " + Narrow(Title(window)));
    if (Exists(window)) windows_[window].visible = true;
}

bool FakeWindowSystem::PostClose(HWND window) {
    log_.push_back("Close " + Narrow(Title(window)));
    closeRequests.push_back(window);
    return Exists(window);
}

bool FakeWindowSystem::BringToFront(HWND window) {
    log_.push_back("Front " + Narrow(Title(window)));
    foreground = window;
    return Exists(window);
}

bool ScriptedPrompt::AskForPassword(HWND owner) {
    log_.push_back("PromptShown");
    owners.push_back(owner);
    open_ = true;
    cancelled_ = false;
    if (whileOpen) whileOpen();
    open_ = false;
    return answer && !cancelled_;
}

}  // namespace hctest
