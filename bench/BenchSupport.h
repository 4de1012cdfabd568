#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace hcbench {

inline double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median time of one run, in milliseconds; prepare runs before each timed run and is not counted.
inline double MedianMs(int runs, const std::function<void()>& run, const std::function<void()>& prepare = {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare) prepare();
        const double start = NowMs();
        run();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Windows of helper processes, spread over several processes as on a real desktop.
struct HelperWindows {
    std::vector<std::unique_ptr<hctest::WindowHelper>> helpers;
    std::vector<HWND> windows;
    HelperWindows(int count, int perProcess) {
        for (int opened = 0; opened < count;) {
            helpers.push_back(std::make_unique<hctest::WindowHelper>());
            const int batch = std::min(perProcess, count - opened);
            for (HWND w : helpers.back()->OpenMany(L"Bench window", batch)) windows.push_back(w);
            opened += batch;
        }
    }
};

}  // namespace hcbench
