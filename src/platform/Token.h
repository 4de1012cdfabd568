#pragma once

namespace hc::token {

// Whether this process runs with a full administrator token (elevated, or an administrator where UAC is off).
// Read from the process token; nothing is written anywhere. False when the token cannot be read.
bool IsElevated();

}  // namespace hc::token
