#include "settings/Options.h"

#include <charconv>
#include <cmath>

#include "platform/Files.h"
#include "platform/Memory.h"
#include "settings/Configuration.h"
#include "settings/Conversions.h"

namespace hc {

namespace {
// The text after the first "=" of a line, or the whole line; nullopt when the key is not in the line.
std::optional<std::wstring> ValueText(const std::wstring& line, const std::wstring& key) {
    if (line.find(key) == std::wstring::npos) return std::nullopt;
    const size_t equals = line.find(L'=');
    return equals == std::wstring::npos ? line : line.substr(equals + 1);
}

// This format has no line breaks inside a value: they become spaces rather than break the file apart.
std::wstring OneLine(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n') c = L' ';
    return text;
}

std::wstring ValueForFile(bool value) { return BoolToText(value); }
std::wstring ValueForFile(std::int32_t value) { return IntToText(value); }
std::wstring ValueForFile(double value) { return RatioToText(value); }
std::wstring ValueForFile(const std::wstring& value) { return OneLine(value); }

template <class T, class Parser>
bool ReadWith(const std::wstring& line, const std::wstring& key, T& field, Parser parse) {
    if (line.find(key) == std::wstring::npos) return true;
    const auto value = parse(line, key);
    if (value) field = *value;
    return value.has_value();
}
bool ReadField(const std::wstring& line, const std::wstring& key, bool& field) {
    return ReadWith(line, key, field, &ParseBoolValue);
}
bool ReadField(const std::wstring& line, const std::wstring& key, std::int32_t& field) {
    return ReadWith(line, key, field, &ParseIntegerValue);
}
bool ReadField(const std::wstring& line, const std::wstring& key, double& field) {
    return ReadWith(line, key, field, &ParseFloatValue);
}
bool ReadField(const std::wstring& line, const std::wstring& key, std::wstring& field) {
    if (line.find(key) != std::wstring::npos) field = ParseStringValue(line, key);
    return true;
}
}  // namespace

TOptions::TOptions() : TOptions(memory::AvailablePhysicalMemory()) {}

TOptions::TOptions(std::uint64_t availablePhysicalMemory) {
    PanicButtonTransparency = 5;
    PanicButtonHotkey = L"CTRL+P";
    PanicButtonSizeXRatio = 0.811;
    PanicButtonSizeYRatio = 0.849;
    PanicButtonPositionXRatio = 0.188;
    PanicButtonPositionYRatio = 0.099;
    CloseHideAction = kDefaultCloseHideAction;
    TerminateCloseProcess = kDefaultTerminateCloseProcess;
    UnhideHotkey = L"CTRL+U";
    EnableBlacklist = true;
    OptimizeMemoryUsage = availablePhysicalMemory < static_cast<std::uint64_t>(kLowMemoryLimit);
    ProcessPriority = kDefaultProcessPriority;
    ShowDonationMessage = true;
}

std::wstring RatioToText(double value) {
    double rounded = value;
    if (value != 0.0 && std::isfinite(value)) {
        const double scale = std::pow(10.0, 1 - static_cast<int>(std::floor(std::log10(std::fabs(value)))));
        rounded = std::round(value * scale) / scale;
    }
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), rounded, std::chars_format::fixed, 6);
    if (error != std::errc()) return L"0.000000";
    return std::wstring(buffer, end);
}

std::optional<bool> ParseBoolValue(const std::wstring& line, const std::wstring& key) {
    const auto text = ValueText(line, key);
    return text ? TextToBool(*text) : std::optional<bool>(false);
}

std::optional<std::int32_t> ParseIntegerValue(const std::wstring& line, const std::wstring& key) {
    const auto text = ValueText(line, key);
    return text ? TextToInt(*text) : std::optional<std::int32_t>(0);
}

std::optional<std::int64_t> ParseInt64Value(const std::wstring& line, const std::wstring& key) {
    const auto text = ValueText(line, key);
    if (!text) return 0;
    const auto value = TextToInt64(*text);
    return value ? std::optional<std::int64_t>(*value) : std::nullopt;
}

std::optional<double> ParseFloatValue(const std::wstring& line, const std::wstring& key) {
    const auto text = ValueText(line, key);
    return text ? TextToFloat(*text) : std::optional<double>(0.0);
}

std::wstring ParseStringValue(const std::wstring& line, const std::wstring& key) {
    return ValueText(line, key).value_or(std::wstring());
}

std::vector<std::wstring> TOptions::OptionsFileLines() const {
    std::vector<std::wstring> lines;
    auto add = [&lines](const wchar_t* name, const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, options_kinds::List>) {
            lines.push_back(kBlacklistItemsMarker);
            for (const std::wstring& item : value) lines.push_back(OneLine(item));
            lines.push_back(kBlacklistItemsMarker);
        } else {
            lines.push_back(std::wstring(name) + L"=" + ValueForFile(value));
        }
    };
#define HC_OPTIONS_WRITE(kind, name) add(L## #name, name);
    HC_OPTIONS_FIELDS(HC_OPTIONS_WRITE)
#undef HC_OPTIONS_WRITE
    return lines;
}

int TOptions::LoadOptionsFromLines(const std::vector<std::wstring>& lines) {
    for (size_t index = 0; index < lines.size(); ++index) {
        std::wstring line = lines[index];
        bool ok = true;
        auto test = [&](const wchar_t* name, auto& field) {
            if (!ok) return;
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, options_kinds::List>) {
                if (line != kBlacklistItemsMarker) return;
                for (++index; index < lines.size() && lines[index] != kBlacklistItemsMarker; ++index)
                    field.push_back(lines[index]);
                // A file that ends inside the block was cut short: the items stay, but it is not a success.
                if (index >= lines.size()) {
                    ok = false;
                    return;
                }
                line = lines[index];
            } else {
                ok = ReadField(line, name, field);
            }
        };
#define HC_OPTIONS_READ(kind, name) test(L## #name, name);
        HC_OPTIONS_FIELDS(HC_OPTIONS_READ)
#undef HC_OPTIONS_READ
        if (!ok) return 1;
    }
    return 0;
}

int TOptions::SaveOptionsToFile(const std::wstring& OptionsPath) const {
    return files::WriteLines(OptionsPath, OptionsFileLines()) ? 0 : 1;
}

int TOptions::LoadOptionsFromFile(const std::wstring& OptionsPath) {
    const auto lines = files::ReadLines(OptionsPath);
    if (!lines) return 1;
    return LoadOptionsFromLines(*lines);
}

void TrimMemory(const TOptions* options) {
    if (options && options->GetOptimizeMemoryUsage()) memory::TrimWorkingSet();
}

}  // namespace hc
