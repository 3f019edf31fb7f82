#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/satellite_list_fixture.h"

namespace {

// The host stopping the plug-in while the user is still typing a new name.
class SatelliteListExitDuringRename : public SatelliteListTest,
                                      public ::testing::WithParamInterface<bool> {};

TEST_P(SatelliteListExitDuringRename, LosesNoNameAndLeavesTheNextWindowAlone) {
    const bool reopenBeforeOk = GetParam();
    const std::vector<std::string> stored = withSwap(customNames(), 1, 4);
    writeSettings(settingsFileText(stored, MOTECK_TYPE));
    openList();
    const std::string file = settingsBytes();
    const FILETIME written = settingsWriteTime();

    bool closed = false;
    bool renameDialogLeft = false;
    std::vector<std::string> reopened;
    ModalScript script;
    script.when(RENAME_CAPTION, [&](HWND dialog) {
        retype(GetDlgItem(dialog, IDC_SAT_NAME_EDIT), "Typed too late");
        plugin().exit();
        closed = setupWindows().empty();
        if (reopenBeforeOk && openWindow()) reopened = listColumn(0);
        renameDialogLeft = IsWindow(dialog) != FALSE;
        clickButton(dialog, IDOK);
    });
    ASSERT_TRUE(script.runDuring([&] { doubleClick(5); }));
    pumpMessages();

    EXPECT_TRUE(closed);
    EXPECT_TRUE(renameDialogLeft);
    EXPECT_EQ(findDialog(RENAME_CAPTION), nullptr);
    EXPECT_EQ(settingsBytes(), file);
    const FILETIME after = settingsWriteTime();
    EXPECT_EQ(CompareFileTime(&written, &after), 0);
    if (reopenBeforeOk) {
        EXPECT_EQ(reopened, stored);
    } else {
        ASSERT_TRUE(openWindow());
    }
    // The OK meant for the closed window renamed nothing in this one.
    EXPECT_EQ(listColumn(0), stored);
    EXPECT_EQ(pickerEntries(IDC_GOTO_PICKER), stored);
    EXPECT_EQ(settingsBytes(), file);
}

INSTANTIATE_TEST_SUITE_P(SatelliteList, SatelliteListExitDuringRename, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ReopenedBeforeOk"
                                                           : "ReopenedAfterOk");
                         });

}  // namespace
