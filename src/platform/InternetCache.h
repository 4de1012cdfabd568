#pragma once

namespace hc::internetcache {

struct ClearResult {
    bool complete = false;  // the enumeration ran to its end
    int visited = 0;
    int deleted = 0;
};

// Deletes every entry of the WinINet URL cache (the temporary Internet files). An entry that cannot be
// deleted (in use) is passed over; the walk goes on.
ClearResult ClearAll();

}  // namespace hc::internetcache
