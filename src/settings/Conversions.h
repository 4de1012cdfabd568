#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace hc {

// The program's fixed text forms: Booleans are "1" and "0", decimals use "." whatever the regional settings say.
std::wstring BoolToText(bool value);
// Any decimal number: non-zero is true. "True", "yes" and the like are rejected.
std::optional<bool> TextToBool(std::wstring_view text);

std::wstring IntToText(long long value);
// A signed decimal integer that fits 32 bits; nothing else (no spaces, no hex).
std::optional<int> TextToInt(std::wstring_view text);
std::optional<long long> TextToInt64(std::wstring_view text);

std::wstring FloatToText(double value);
std::optional<double> TextToFloat(std::wstring_view text);

// Window handles in lists are written as the unsigned decimal number of their 32 significant bits.
std::wstring HandleToText(const void* handle);
// Reads back what HandleToText wrote, over the whole unsigned 32-bit range; nullopt for anything else.
std::optional<void*> TextToHandle(std::wstring_view text);

}  // namespace hc
