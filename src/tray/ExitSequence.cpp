#include "tray/ExitSequence.h"

#include "engine/Collaborators.h"
#include "engine/UnhideGate.h"
#include "engine/WindowEngine.h"
#include "platform/Messages.h"

namespace hc {

namespace {
constexpr wchar_t kExitCaption[] = L"HushCloak";
constexpr wchar_t kExitQuestion[] = L"There are windows that are hidden would you like to show them before you exit";
}  // namespace

bool ExitSequence::MayExit(HWND promptOwner) {
    // The tray menu and the Panic Button still work while the question or the prompt is up: one exit at a time.
    if (asking_ || finished_) return false;
    if (engine_.Hidden().empty()) return true;
    asking_ = true;
    const int answer =
        messages_.Box(nullptr, kExitQuestion, kExitCaption, MB_OKCANCEL | MB_ICONQUESTION | MB_TASKMODAL);
    const bool goOn = answer == IDOK && ShowHiddenThroughGate(promptOwner);
    asking_ = false;
    return goOn;
}

bool ExitSequence::MayExitForSetup(HWND promptOwner) {
    if (asking_ || finished_) return false;
    asking_ = true;
    const bool goOn = ShowHiddenThroughGate(promptOwner);
    asking_ = false;
    return goOn;
}

bool ExitSequence::ShowHiddenThroughGate(HWND promptOwner) {
    // Showing them is a way back like any other: with a password required, Cancel there keeps them hidden and the
    // program running.
    if (!gate_.MayShowHidden(promptOwner)) return false;
    engine_.IsExiting();
    return true;
}

void ExitSequence::Finish() {
    if (finished_) return;
    finished_ = true;
    // Nothing can be reported any more: the program is going. The entries stored before stay.
    save_();
    // Also when the save failed: the Task Manager must not stay disabled after the program.
    if (switches_.HasAdministratorRights()) switches_.SetTaskManagerDisabled(false);
}

}  // namespace hc
