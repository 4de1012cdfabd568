#pragma once
#include "platform/Handles.h"

namespace hc {

// The small-icon image list that the window lists draw from.
class SmallImageList {
public:
    SmallImageList();
    // Index of the copy of the icon in the list, -1 when it could not be added.
    int Add(HICON icon);
    int Count() const;
    HIMAGELIST get() const { return list_.get(); }

private:
    UniqueImageList list_;
};

}  // namespace hc
