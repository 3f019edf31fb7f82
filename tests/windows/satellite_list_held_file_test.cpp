#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/satellite_list_fixture.h"

namespace {

struct Holder {
    const char* name;
    DWORD access;
    DWORD sharing;
};

void PrintTo(const Holder& holder, std::ostream* out) {
    *out << holder.name;
}

const Holder HOLDERS[] = {
    {"Exclusively", GENERIC_READ | GENERIC_WRITE, 0},
    {"BySharingWriter", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
};

bool startsWith(const ModalBox& box, const std::string& words) {
    return box.seen && !box.texts.empty() && box.texts.back().rfind(words, 0) == 0;
}

// Another program holds the settings file while the window opens, so the window shows the factory
// names in place of the user's own. An edit while the file is still held is refused; once it is
// let go, an edit reads the user's names again and changes only its two slots of them.
class SettingsHeldAtOpening : public SatelliteListTest,
                              public ::testing::WithParamInterface<Holder> {
  protected:
    void dragTwoOntoFive() {
        perform({press(MouseButton::Left, 2), pull(2), moveTo(3), moveTo(5),
                 release(MouseButton::Left)});
        pumpMessages();
    }
};

TEST_P(SettingsHeldAtOpening, TheUsersNamesAreNeverWrittenOver) {
    const std::vector<std::string> mine = customNames();
    startFrom(settingsFileText(mine, STAB_TYPE));
    HANDLE held = CreateFileA(settingsPath().c_str(), GetParam().access, GetParam().sharing,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // The window tells as soon as the host's loop runs, and the pointer's set-up runs it.
    const ModalBox notice = answeringModalBox(
        [this] {
            openList();
            pumpMessages();
        },
        pressButton(IDOK));
    ASSERT_EQ(setupWindows().size(), 1U);
    EXPECT_TRUE(startsWith(notice, "The satellite names could not be read")) << "told once";
    EXPECT_EQ(notice.caption, PLUGIN_DISPLAY_NAME);
    EXPECT_EQ(listColumn(0), factoryNames()) << "a placeholder";

    const ModalBox refusal = answeringModalBox([this] { dragTwoOntoFive(); }, pressButton(IDOK));
    EXPECT_TRUE(startsWith(refusal, "The satellite names were not changed"))
        << (refusal.texts.empty() ? "no box" : refusal.texts.back());
    CloseHandle(held);
    EXPECT_EQ(settingsBytes(), initialFile_);
    EXPECT_EQ(listColumn(0), factoryNames());

    const ModalBox afterwards = answeringModalBox([this] { dragTwoOntoFive(); }, pressButton(IDOK));
    EXPECT_FALSE(afterwards.seen) << afterwards.texts.back();
    const std::vector<std::string> expected = withSwap(mine, 2, 5);
    EXPECT_EQ(settingsBytes(), settingsFileText(expected, STAB_TYPE));
    EXPECT_EQ(listColumn(0), expected);
    for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER}) {
        SCOPED_TRACE(picker);
        EXPECT_EQ(pickerEntries(picker), firstOf(expected, 49));
    }
}

INSTANTIATE_TEST_SUITE_P(SatelliteList, SettingsHeldAtOpening, ::testing::ValuesIn(HOLDERS),
                         [](const ::testing::TestParamInfo<Holder>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
