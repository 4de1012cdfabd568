#include "platform/Locale.h"

#include <vector>

namespace hc::locale {

std::wstring UpperCase(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), length, nullptr, 0,
                                     nullptr, nullptr, 0);
    if (needed <= 0) return std::wstring(text);
    std::wstring result(static_cast<size_t>(needed), L'\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), length, result.data(), needed, nullptr,
                  nullptr, 0);
    return result;
}

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) { return UpperCase(a) == UpperCase(b); }

bool SameFileNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    return a.empty() || CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                             static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

namespace {
std::wstring FormatWith(int (*format)(LPCWSTR, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int), DWORD flags,
                        const SYSTEMTIME& moment) {
    wchar_t buffer[128] = {};
    const int length = format(LOCALE_NAME_USER_DEFAULT, flags, &moment, nullptr, buffer, 128);
    return length > 0 ? std::wstring(buffer) : std::wstring();
}
int FormatDate(LPCWSTR locale, DWORD flags, const SYSTEMTIME* moment, LPCWSTR, LPWSTR out, int size) {
    return GetDateFormatEx(locale, flags, moment, nullptr, out, size, nullptr);
}
int FormatTime(LPCWSTR locale, DWORD flags, const SYSTEMTIME* moment, LPCWSTR, LPWSTR out, int size) {
    return GetTimeFormatEx(locale, flags, moment, nullptr, out, size);
}
}  // namespace

std::wstring ShortDate(const SYSTEMTIME& moment) { return FormatWith(&FormatDate, DATE_SHORTDATE, moment); }

std::wstring LongTime(const SYSTEMTIME& moment) { return FormatWith(&FormatTime, 0, moment); }

SYSTEMTIME Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

}  // namespace hc::locale
