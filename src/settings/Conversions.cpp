#include "settings/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

namespace hc {

namespace {
// Every accepted text is ASCII; anything else fails the narrowing and is rejected.
std::optional<std::string> Narrow(std::wstring_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text) {
        if (c <= 0 || c > 0x7F) return std::nullopt;
        narrow.push_back(static_cast<char>(c));
    }
    return narrow;
}

// Parses the whole text with from_chars, which takes no plus sign: one leading "+" is stripped first.
template <class T, class... Format>
std::optional<T> ParseWhole(std::wstring_view text, Format... format) {
    auto narrow = Narrow(text);
    if (!narrow || narrow->empty()) return std::nullopt;
    const char* first = narrow->data();
    const char* last = first + narrow->size();
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-') return std::nullopt;
    }
    T value{};
    auto [end, error] = std::from_chars(first, last, value, format...);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

std::wstring Widen(const char* first, const char* last) { return std::wstring(first, last); }
}  // namespace

std::wstring BoolToText(bool value) { return value ? L"1" : L"0"; }

std::optional<bool> TextToBool(std::wstring_view text) {
    // Only decimal numbers: the number reader would also take "nan", "inf" and "infinity".
    if (std::any_of(text.begin(), text.end(), [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }))
        return std::nullopt;
    if (auto number = TextToFloat(text)) return *number != 0.0;
    return std::nullopt;
}

std::wstring IntToText(long long value) {
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return Widen(buffer, end);
}

std::optional<int> TextToInt(std::wstring_view text) { return ParseWhole<int>(text); }

std::optional<long long> TextToInt64(std::wstring_view text) { return ParseWhole<long long>(text); }

std::wstring FloatToText(double value) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return Widen(buffer, end);
}

std::optional<double> TextToFloat(std::wstring_view text) {
    return ParseWhole<double>(text, std::chars_format::fixed);
}

std::wstring HandleToText(const void* handle) {
    return IntToText(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle)));
}

std::optional<void*> TextToHandle(std::wstring_view text) {
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) return std::nullopt;
    auto value = ParseWhole<std::uint32_t>(text);
    if (!value) return std::nullopt;
    // Window handles carry 32 significant bits and are sign-extended on 64-bit Windows.
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(static_cast<std::int32_t>(*value)));
}

}  // namespace hc
