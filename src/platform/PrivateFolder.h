#pragma once
#include <windows.h>

#include <string>

#include "platform/Files.h"

namespace hc::files {

// Creates the folder and its parents when missing and gives the folder an access list of its own, not inherited:
// only the current user has any access. False when it cannot be made so (a link in its place is refused).
bool MakePrivateFolder(const std::wstring& path);

// A file held open for reading while the object lives: nobody can write, rename or delete it meanwhile, while
// readers (a program start among them) still can.
class WriteLockedFile {
public:
    explicit WriteLockedFile(const std::wstring& path);
    ~WriteLockedFile();
    WriteLockedFile(const WriteLockedFile&) = delete;
    WriteLockedFile& operator=(const WriteLockedFile&) = delete;
    bool IsHeld() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return handle_; }
    void Release();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace hc::files
