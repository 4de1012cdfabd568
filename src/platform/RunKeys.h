#pragma once
#include <string>

namespace hc {

// The two Run keys whose values Windows starts at log-on: the machine-wide one and the current user's.
enum class RunScope { Machine, User };

class RunKeys {
public:
    virtual ~RunKeys() = default;
    virtual bool Exists(RunScope scope, const std::wstring& name) = 0;
    // False when the key cannot be opened for writing or the value not written.
    virtual bool Write(RunScope scope, const std::wstring& name, const std::wstring& command) = 0;
    // True when no such value is left (also when there was none).
    virtual bool Delete(RunScope scope, const std::wstring& name) = 0;
};

// The registry's Run keys.
class Win32RunKeys final : public RunKeys {
public:
    bool Exists(RunScope scope, const std::wstring& name) override;
    bool Write(RunScope scope, const std::wstring& name, const std::wstring& command) override;
    bool Delete(RunScope scope, const std::wstring& name) override;
};

}  // namespace hc
