#include <gtest/gtest.h>

#include <objbase.h>

#include <thread>

#include "platform/Com.h"

namespace hc {
namespace {

TEST(ComApartment, MakesTheThreadApartmentThreadedForItsLifeOnly) {
    std::thread([] {
        {
            ComApartment com;
            ASSERT_TRUE(com.Initialised());
            // The shell and the clean-up steps need a single-threaded apartment: a free-threaded request now fails.
            EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
        }
        const HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(after, S_OK);  // released again: the thread is free to choose
        if (SUCCEEDED(after)) CoUninitialize();
    }).join();
}

}  // namespace
}  // namespace hc
