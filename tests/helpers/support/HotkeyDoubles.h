#pragma once
#include <algorithm>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Messages.h"
#include "platform/Hotkeys.h"

namespace hctest {

// Hotkeys as the system keeps them: a combination held by anyone, or listed as taken, is refused with 1409.
class FakeHotkeyService : public hc::HotkeyService {
public:
    struct Registration {
        HWND owner;
        int id;
        UINT modifiers;
        UINT key;
    };
    std::vector<Registration> held;
    std::set<std::pair<UINT, UINT>> taken;
    int registerCalls = 0;

    bool Register(HWND owner, int id, UINT modifiers, UINT key) override {
        ++registerCalls;
        if (taken.count({modifiers, key}) || Holds(modifiers, key)) return false;
        held.push_back({owner, id, modifiers, key});
        return true;
    }
    DWORD LastError() const override { return ERROR_HOTKEY_ALREADY_REGISTERED; }
    void Unregister(HWND owner, int id) override {
        std::erase_if(held, [&](const Registration& r) { return r.owner == owner && r.id == id; });
    }
    // A new atom for every addition, as the system's table gives after a delete and re-add.
    ATOM AddGlobalAtom(const wchar_t*) override { return nextAtom++; }
    ATOM nextAtom = 0xC001;
    void DeleteGlobalAtom(ATOM) override {}

    bool Holds(UINT modifiers, UINT key) const {
        return std::any_of(held.begin(), held.end(),
                           [&](const Registration& r) { return r.modifiers == modifiers && r.key == key; });
    }
};

// Records every box instead of showing it; onBox runs while the "box" is up.
class RecordingMessages : public hc::Messages {
public:
    struct Shown {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT flags;
        bool operator==(const Shown&) const = default;
    };
    std::vector<Shown> shown;
    std::function<void()> onBox;
    int answer = IDOK;  // the button the user presses

    int Box(HWND owner, std::wstring_view text, std::wstring_view caption, UINT flags) override {
        shown.push_back({owner, std::wstring(text), std::wstring(caption), flags});
        if (onBox) onBox();
        return answer;
    }
};

inline void PrintTo(const RecordingMessages::Shown& box, std::ostream* out) {
    const auto narrow = [](const std::wstring& text) { return std::string(text.begin(), text.end()); };
    *out << "{" << box.owner << ", \"" << narrow(box.text) << "\", \"" << narrow(box.caption) << "\", " << box.flags
         << "}";
}

}  // namespace hctest
