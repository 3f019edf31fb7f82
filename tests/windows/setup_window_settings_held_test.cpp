#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "tests/windows/setup_window_fixture.h"

namespace {

struct Holder {
    const char* what;
    DWORD access;
    DWORD sharing;
};

// Another program holds the settings file while the window starts: locked
// against everyone, or open for writing but shared. Either way the start-up
// must not mistake the file for a missing one and write factory names over it.
TEST_F(SetupWindowTest, StartUpWhileAnotherProgramHoldsTheSettingsKeepsEveryName) {
    const Holder holders[] = {
        {"held exclusively", GENERIC_READ | GENERIC_WRITE, 0},
        {"held by a sharing writer", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
    };
    const std::string stored = settingsFileText(customNames(), MOTECK_TYPE);
    for (const Holder& holder : holders) {
        SCOPED_TRACE(holder.what);
        writeSettings(stored);
        HANDLE held = CreateFileA(settingsPath().c_str(), holder.access, holder.sharing, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const bool opened = openWindow();
        plugin().exit();
        CloseHandle(held);
        EXPECT_TRUE(opened) << "the window works without its settings";
        EXPECT_EQ(settingsBytes(), stored);
    }
}

}  // namespace
