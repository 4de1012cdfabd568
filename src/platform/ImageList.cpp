#include "platform/ImageList.h"

namespace hc {

SmallImageList::SmallImageList()
    : list_(ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 16,
                             16)) {}

int SmallImageList::Add(HICON icon) { return list_ ? ImageList_AddIcon(list_.get(), icon) : -1; }

int SmallImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

}  // namespace hc
