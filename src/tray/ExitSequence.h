#pragma once
#include <windows.h>

#include <functional>

namespace hc {

class Messages;
class SystemSwitches;
class UnhideGate;
class WindowEngine;

// Ending the program: the question about hidden windows, the password gate, the exit restore, then the save and
// the Task Manager allowed again. However many ways lead here (the tray, the Panic Button, a setup, the end of the
// session), each step runs once.
class ExitSequence {
public:
    // save writes every stored setting; false when a write failed.
    ExitSequence(Messages& messages, WindowEngine& engine, UnhideGate& gate, SystemSwitches& switches,
                 std::function<bool()> save)
        : messages_(messages), engine_(engine), gate_(gate), switches_(switches), save_(std::move(save)) {}

    // The exit command: with windows hidden, asks whether to show them, and shows them past the password. True when
    // the program may end now; false on Cancel, on a declined password, and while another exit is still asking.
    bool MayExit(HWND promptOwner);
    // A setup that replaces the program: no question, the hidden windows come back past the password.
    bool MayExitForSetup(HWND promptOwner);
    // The program or the session ends: saves the settings and allows the Task Manager again, the first time only.
    // The hidden windows and their journal are left alone: what was not shown stays recoverable.
    void Finish();

private:
    bool ShowHiddenThroughGate(HWND promptOwner);

    Messages& messages_;
    WindowEngine& engine_;
    UnhideGate& gate_;
    SystemSwitches& switches_;
    std::function<bool()> save_;
    bool asking_ = false;
    bool finished_ = false;
};

}  // namespace hc
