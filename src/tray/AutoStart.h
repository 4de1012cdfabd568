#pragma once
#include <string>

#include "platform/RunKeys.h"

namespace hc {

// The program's entry among the programs that start with Windows: the value "HushCloak" under a Run key.
class AutoStartEntry {
public:
    AutoStartEntry(RunKeys& keys, std::wstring executablePath) : keys_(keys), path_(std::move(executablePath)) {}

    // True when an entry of ours exists under either key.
    bool Exists();
    // Machine-wide when that key can be written, the user's otherwise. True when an entry exists afterwards.
    bool Add();
    // From both keys; true when none is left.
    bool Remove();

    // The command the Run key holds: the path quoted, so a folder with spaces starts the program and not
    // another one.
    static std::wstring Command(const std::wstring& executablePath);

private:
    RunKeys& keys_;
    std::wstring path_;
};

}  // namespace hc
