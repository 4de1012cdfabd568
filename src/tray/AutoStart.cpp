#include "tray/AutoStart.h"

namespace hc {

namespace {
constexpr wchar_t kValueName[] = L"HushCloak";
}  // namespace

std::wstring AutoStartEntry::Command(const std::wstring& executablePath) { return L"\"" + executablePath + L"\""; }

bool AutoStartEntry::Exists() {
    return keys_.Exists(RunScope::Machine, kValueName) || keys_.Exists(RunScope::User, kValueName);
}

bool AutoStartEntry::Add() {
    const std::wstring command = Command(path_);
    // Without administrator rights the machine-wide key refuses; the user's key starts the program just as well
    // for the one user it runs for.
    return keys_.Write(RunScope::Machine, kValueName, command) || keys_.Write(RunScope::User, kValueName, command);
}

bool AutoStartEntry::Remove() {
    const bool machine = keys_.Delete(RunScope::Machine, kValueName);
    const bool user = keys_.Delete(RunScope::User, kValueName);
    return machine && user;
}

}  // namespace hc
