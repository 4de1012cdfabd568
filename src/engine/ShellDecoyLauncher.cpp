#include "engine/ShellDecoyLauncher.h"

#include "platform/Shell.h"

namespace hc {

std::optional<DecoyProcess> ShellDecoyLauncher::Launch(const std::wstring& file) {
    return shell::OpenWithDefaultAction(file);
}

}  // namespace hc
