#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/Unique.h"

namespace hc {

using UniqueHkey = Unique<HKEY, &RegCloseKey>;
using UniqueHicon = Unique<HICON, &DestroyIcon>;
using UniqueHandle = Unique<HANDLE, &CloseHandle>;
using UniqueImageList = Unique<HIMAGELIST, &ImageList_Destroy>;
using UniqueFont = Unique<HFONT, &DeleteObject>;

}  // namespace hc
