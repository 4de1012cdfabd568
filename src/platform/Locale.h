#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace hc::locale {

// Upper case by the user's locale, as titles are compared.
std::wstring UpperCase(std::wstring_view text);
bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b);
// Ignoring case as the file system does (the same in every locale), for file names.
bool SameFileNameIgnoringCase(std::wstring_view a, std::wstring_view b);

// Date and time texts in the user's locale.
std::wstring ShortDate(const SYSTEMTIME& moment);
std::wstring LongTime(const SYSTEMTIME& moment);
SYSTEMTIME Now();

}  // namespace hc::locale
