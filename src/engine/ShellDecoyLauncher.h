#pragma once
#include "engine/Collaborators.h"

namespace hc {

// Starts the decoy through the shell.
class ShellDecoyLauncher final : public DecoyLauncher {
public:
    std::optional<DecoyProcess> Launch(const std::wstring& file) override;
};

}  // namespace hc
