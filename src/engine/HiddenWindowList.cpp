#include "engine/HiddenWindowList.h"

#include "platform/Locale.h"

namespace hc {

std::wstring DateAndTimeStamp(const SYSTEMTIME& moment) {
    const bool midnight = moment.wHour == 0 && moment.wMinute == 0 && moment.wSecond == 0 && moment.wMilliseconds == 0;
    if (midnight) return locale::ShortDate(moment);
    return locale::ShortDate(moment) + L" " + locale::LongTime(moment);
}

std::wstring TimeOnlyStamp(const SYSTEMTIME& moment) { return locale::LongTime(moment); }

std::wstring DateOnlyStamp(const SYSTEMTIME& moment) { return locale::ShortDate(moment); }

}  // namespace hc
