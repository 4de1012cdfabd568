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
    FakeWindow fake{title, true, kOtherProgram, {}};
    fake.facts.className = L"FakeWindow";
    fake.facts.hasCaption = true;
    windows_[window] = fake;
    order_.push_back(window);
    return window;
}

void FakeWindowSystem::Remove(HWND window) {
    windows_.erase(window);
    std::erase(order_, window);
}

void FakeWindowSystem::ReadFacts(HWND window, hc::WindowFacts& facts) {
    if (!Exists(window)) return;
    const FakeWindow& fake = windows_[window];
    facts.className = fake.facts.className;
    facts.cloaked = fake.facts.cloaked;
    facts.toolWindow = fake.facts.toolWindow;
    facts.hasCaption = fake.facts.hasCaption;
    facts.owner = fake.facts.owner;
    facts.processId = fake.processId;
}

std::wstring FakeWindowSystem::Title(HWND window) {
    return Exists(window) ? windows_[window].title.substr(0, hc::kMaxTitleLength) : std::wstring();
}

bool FakeWindowSystem::IsVisible(HWND window) {
    const bool visible = Exists(window) && windows_[window].visible;
    if (afterIsVisible) afterIsVisible(window);
    return visible;
}

std::vector<HWND> FakeWindowSystem::OwnTopLevelWindows() {
    std::vector<HWND> own;
    for (HWND window : order_)
        if (windows_[window].processId == ownProcessId) own.push_back(window);
    return own;
}

void FakeWindowSystem::HideAsync(HWND window) {
    log_.push_back("Hide " + Narrow(Title(window)));
    if (Exists(window)) windows_[window].visible = false;
}

bool FakeWindowSystem::ShowAsync(HWND window, int) {
    if (failOnShow > 0 && --failOnShow == 0) throw std::runtime_error("the window manager refused");
    if (refuseShow.count(window)) {
        log_.push_back("Refused " + Narrow(Title(window)));
        return false;
    }
    log_.push_back("Show " + Narrow(Title(window)));
    if (!Exists(window)) return false;
    windows_[window].visible = true;
    return true;
}

void FakeWindowSystem::CloseAsCancel(HWND window) {
    log_.push_back("Cancel " + Narrow(Title(window)));
    if (Exists(window)) windows_[window].visible = false;
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
