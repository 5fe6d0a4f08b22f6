#include "platform/screens_module.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// The executable must end with a message, not crash, when its screens cannot
// be had: a module that is not there, or a library that is no screens module.
TEST(ScreensModule, MissingModuleOrEntryEndsWithAnError) {
    char name[] = "Korvane";
    char* argv[] = {name, nullptr};
    for (const char* module : {"no-such-screens.so", "libm.so.6"}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunScreensModule(module, 1, argv), 1) << module;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("画面のモジュール"), std::string::npos) << module;
    }
}

}  // namespace
}  // namespace platform
