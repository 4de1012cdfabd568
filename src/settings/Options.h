#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hc {

// The options record's fields in the order of the options file: kind, then name.
#define HC_OPTIONS_FIELDS(X)                                                                                      \
    X(Bool, RunAtStartup) X(Bool, StartInPanicMode) X(Bool, CheckUpdates) X(Bool, HidePanicButton)                \
    X(Int, PanicButtonTransparency) X(Text, PanicButtonHotkey) X(Ratio, PanicButtonSizeXRatio)                    \
    X(Ratio, PanicButtonSizeYRatio) X(Ratio, PanicButtonPositionXRatio) X(Ratio, PanicButtonPositionYRatio)       \
    X(Bool, DisableWebUpdateSplashScreen) X(Int, CloseHideAction) X(Int, TerminateCloseProcess)                   \
    X(Text, UnhideHotkey) X(Bool, DisableTaskManager) X(Bool, MuteMasterVolume) X(Bool, DeleteRecentFiles)        \
    X(Bool, DeleteInternetExplorerHistory) X(Bool, DeleteInternetExplorerTemporaryFiles)                          \
    X(Bool, DeleteRecycleBinFiles) X(Bool, EnableBlacklist) X(List, BlacklistItems) X(Text, BlacklistKeywords)    \
    X(Bool, BlacklistCaseSensitiveKeywords) X(Bool, EnableCloseSoftware1) X(Text, CloseSoftwarePath1)             \
    X(Bool, EnableCloseSoftware2) X(Text, CloseSoftwarePath2) X(Bool, EnableCloseSoftware3)                       \
    X(Text, CloseSoftwarePath3) X(Bool, EnableRunSoftware1) X(Text, RunSoftwarePath1) X(Text, OpenFilePath1)      \
    X(Bool, EnableRunSoftware2) X(Text, RunSoftwarePath2) X(Text, OpenFilePath2) X(Bool, EnableRunSoftware3)      \
    X(Text, RunSoftwarePath3) X(Text, OpenFilePath3) X(Bool, OptimizeMemoryUsage) X(Bool, EnableSingleInstance)   \
    X(Bool, RunAsAdministrator) X(Int, ProcessPriority) X(Bool, ShowDonationMessage)

namespace options_kinds {
using Bool = bool;
using Int = std::int32_t;
using Text = std::wstring;
using Ratio = double;
using List = std::vector<std::wstring>;
}  // namespace options_kinds

// Program options beside the stored settings. One record lives for the whole run; its file is written and
// read only on request.
class TOptions {
public:
    // The initial values; OptimizeMemoryUsage is true when the memory available now is below 512 MiB.
    TOptions();
    explicit TOptions(std::uint64_t availablePhysicalMemory);

#define HC_OPTIONS_GETTER(kind, name) \
    const options_kinds::kind& Get##name() const { return name; }
    HC_OPTIONS_FIELDS(HC_OPTIONS_GETTER)
#undef HC_OPTIONS_GETTER
    // The record's own list, not a copy.
    options_kinds::List& GetBlacklistItems() { return BlacklistItems; }
#define HC_OPTIONS_SETTER(kind, name) \
    void Set##name(options_kinds::kind value) { name = std::move(value); }
    HC_OPTIONS_FIELDS(HC_OPTIONS_SETTER)
#undef HC_OPTIONS_SETTER

    // 0 on success, 1 on failure. Loading stops at the first value that does not convert, keeping what it set
    // before; BlacklistItems grows by the items of the file.
    int LoadOptionsFromFile(const std::wstring& OptionsPath);
    int SaveOptionsToFile(const std::wstring& OptionsPath) const;
    // The lines of the options file, CR LF left to the writer.
    std::vector<std::wstring> OptionsFileLines() const;
    int LoadOptionsFromLines(const std::vector<std::wstring>& lines);

private:
#define HC_OPTIONS_MEMBER(kind, name) options_kinds::kind name{};
    HC_OPTIONS_FIELDS(HC_OPTIONS_MEMBER)
#undef HC_OPTIONS_MEMBER
};

inline constexpr wchar_t kBlacklistItemsMarker[] = L"// BlacklistItems";

// Ratios are written with two significant digits and six decimals: 0.811 gives "0.810000".
std::wstring RatioToText(double value);

// The line value parsers: when the key occurs in the line, the text after its first "=" (the whole line
// without one) converted; when it does not, false, 0, 0.0 or empty. nullopt when the text does not convert.
std::optional<bool> ParseBoolValue(const std::wstring& line, const std::wstring& key);
std::optional<std::int32_t> ParseIntegerValue(const std::wstring& line, const std::wstring& key);
std::optional<std::int64_t> ParseInt64Value(const std::wstring& line, const std::wstring& key);
std::optional<double> ParseFloatValue(const std::wstring& line, const std::wstring& key);
std::wstring ParseStringValue(const std::wstring& line, const std::wstring& key);

// Gives the system back the pages the program is not using, when the options ask for it (none: no trim).
void TrimMemory(const TOptions* options);

}  // namespace hc
