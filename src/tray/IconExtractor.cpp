#include "tray/IconExtractor.h"

#include "platform/Icons.h"

namespace hc {

namespace {
// A longer name cannot be handed to the shell whole; a cut one would name another file.
constexpr size_t kLongestFileName = 255;

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    const LONG height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;  // a mask holds two halves
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, height};
}
}  // namespace

// Nothing is loaded yet: every use extracts first, and reading a file's icons has no place in the start-up.
TIconExtractor::TIconExtractor() : fileName_(kInitialFileName), iconIndex_(kInitialIconIndex) {}

int TIconExtractor::Extract(const std::wstring& fileName, int iconIndex) {
    fileName_ = fileName;
    iconIndex_ = iconIndex;
    lastLoaded_ = false;
    iconCount_ = fileName.size() > kLongestFileName ? 0 : icons::CountIcons(fileName);
    if (iconIndex < 0 || iconIndex >= iconCount_) return iconCount_;
    icons::IconPair pair = icons::Extract(fileName, iconIndex);
    if (!pair.large) return iconCount_;
    icon_ = std::move(pair.large);
    smallIcon_ = std::move(pair.small);
    const SIZE size = IconSize(icon_.get());
    iconWidth_ = size.cx;
    iconHeight_ = size.cy;
    lastLoaded_ = true;
    return iconCount_;
}

}  // namespace hc
