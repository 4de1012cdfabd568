#include "ui/DialogTemplate.h"

namespace hc {

DialogTemplate::DialogTemplate(DWORD style, DWORD exStyle, short width, short height, const wchar_t* title,
                               std::span<const ControlRow> controls, const wchar_t* windowClass) {
    Dword(style | DS_SETFONT);
    Dword(exStyle);
    words_.push_back(static_cast<WORD>(controls.size()));
    for (short value : {short{0}, short{0}, width, height}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(0);  // no menu
    if (windowClass)
        Text(windowClass);
    else
        words_.push_back(0);  // the system dialog class
    Text(title);
    words_.push_back(8);
    Text(L"MS Shell Dlg");
    for (const ControlRow& row : controls) Control(row);
}

void DialogTemplate::Control(const ControlRow& row) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
    Dword(row.style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (int value : {row.x, row.y, row.width, row.height}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(static_cast<WORD>(row.id));
    Text(row.className);
    Text(row.text);
    words_.push_back(0);  // no creation data
}

void DialogTemplate::Dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::Text(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
}

bool RegisterDialogClass(const wchar_t* className) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

void CentreOnScreen(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CloseOwnedWindows(HWND owner) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM ownerWindow) -> BOOL {
            if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(ownerWindow))
                PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(owner));
}

void RunModal(HWND dialog, HWND owner, const int& result, const std::function<bool(const MSG&)>& preview) {
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);

    MSG msg{};
    while (result == 0 && IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must still see it
            break;
        }
        if (got == -1) break;
        if (preview && preview(msg)) continue;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // Enabled before hiding, so activation returns to the owner.
    if (disableOwner) EnableWindow(owner, TRUE);
    if (IsWindow(dialog)) ShowWindow(dialog, SW_HIDE);
}

}  // namespace hc
