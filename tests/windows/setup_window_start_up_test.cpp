#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

class SetupStartUp : public SetupWindowTest {
  protected:
    // Upper and lower bound, as the spin reports them.
    std::pair<int, int> spinRange(int id) const {
        const auto range = static_cast<DWORD>(SendMessageA(item(id), UDM_GETRANGE, 0, 0));
        return {static_cast<short>(HIWORD(range)), static_cast<short>(LOWORD(range))};
    }

    int spinPosition(int id) const { return LOWORD(SendMessageA(item(id), UDM_GETPOS, 0, 0)); }
};

std::vector<std::string> firstNames(std::size_t count) {
    std::vector<std::string> names = factoryNames();
    names.resize(count);
    return names;
}

TEST_F(SetupStartUp, FirstOpeningCreatesTheFactoryFileBesideThePlugIn) {
    ASSERT_FALSE(settingsExist());
    ASSERT_TRUE(openWindow());
    EXPECT_EQ(settingsBytes(), factorySettingsFile());
}

TEST_F(SetupStartUp, FirstOpeningShowsTheFactorySettings) {
    ASSERT_TRUE(openWindow());
    EXPECT_EQ(listColumn(0), factoryNames());
    std::vector<std::string> lnb;
    std::vector<std::string> index;
    for (int row = 0; row < 60; ++row) {
        lnb.push_back("LNB" + std::to_string(row));
        index.push_back(std::to_string(row + 1));
    }
    EXPECT_EQ(listColumn(1), lnb);
    EXPECT_EQ(listColumn(2), index);
    for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER}) {
        SCOPED_TRACE(picker);
        EXPECT_EQ(pickerEntries(picker), firstNames(49));
        EXPECT_EQ(pickerSelection(picker), 0);
    }
    EXPECT_TRUE(isChecked(IDC_MODEL_STAB));
    EXPECT_FALSE(isChecked(IDC_MODEL_MOTECK));
}

TEST_F(SetupStartUp, DegreeFieldsStartAtOneAndRangeFromZeroToNineteen) {
    ASSERT_TRUE(openWindow());
    const struct {
        int edit;
        int spin;
    } fields[] = {{IDC_WEST_DEGREES, IDC_WEST_SPIN}, {IDC_EAST_DEGREES, IDC_EAST_SPIN}};
    for (const auto& field : fields) {
        SCOPED_TRACE(field.edit);
        EXPECT_EQ(text(field.edit), "1");
        EXPECT_EQ(spinPosition(field.spin), 1);
        EXPECT_EQ(spinRange(field.spin), std::make_pair(0, 19));
    }
}

TEST_F(SetupStartUp, TheFirstTabStopDriveWestTakesTheFocus) {
    ControlEventRecorder focus(nullptr, {WM_SETFOCUS});
    ASSERT_TRUE(openWindow());
    const std::vector<ControlEvent> focused = focus.take();
    ASSERT_FALSE(focused.empty());
    EXPECT_EQ(focused.front().control, IDC_DRIVE_WEST);
}

TEST_F(SetupStartUp, NoIndicatorFrameShowsBeforeADrive) {
    ASSERT_TRUE(openWindow());
    EXPECT_EQ(visibleFrame(), 0);
}

TEST_F(SetupStartUp, StaysAboveOtherWindows) {
    ASSERT_TRUE(openWindow());
    EXPECT_NE(GetWindowLongA(window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(SetupStartUp, CarriesThePlugInsOwnIconLargeAndSmall) {
    ASSERT_TRUE(openWindow());
    HICON own = LoadIconA(plugin().module(), MAKEINTRESOURCEA(IDI_DISH));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window(), WM_GETICON, ICON_BIG, 0)), own);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window(), WM_GETICON, ICON_SMALL, 0)), own);
}

// Without an owner the window opens in the middle of the work area, not at
// the corner its template names.
TEST_F(SetupStartUp, OpensInTheMiddleOfTheWorkArea) {
    ASSERT_TRUE(openWindow());
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT placed{};
    GetWindowRect(window(), &placed);
    EXPECT_GE(placed.left, area.left);
    EXPECT_GE(placed.top, area.top);
    EXPECT_LE(placed.right, area.right);
    EXPECT_LE(placed.bottom, area.bottom);
    EXPECT_LE(std::abs((placed.left - area.left) - (area.right - placed.right)), 1)
        << "gaps left and right";
    EXPECT_LE(std::abs((placed.top - area.top) - (area.bottom - placed.bottom)), 1)
        << "gaps above and below";
}

TEST_F(SetupStartUp, ListShowsItsThreeColumnsWithoutAHorizontalScrollBar) {
    ASSERT_TRUE(openWindow());
    const HWND list = item(IDC_SAT_LIST);
    std::vector<std::string> headings;
    int total = 0;
    int nameColumn = 0;
    for (int column = 0;; ++column) {
        char heading[64] = {};
        LVCOLUMNA description{};
        description.mask = LVCF_TEXT | LVCF_WIDTH;
        description.pszText = heading;
        description.cchTextMax = sizeof heading;
        if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                          reinterpret_cast<LPARAM>(&description)))
            break;
        headings.push_back(heading);
        total += description.cx;
        if (column == 0) nameColumn = description.cx;
    }
    EXPECT_EQ(headings, (std::vector<std::string>{"Satellite", "LNB", "Index"}));

    RECT client{};
    GetClientRect(list, &client);
    EXPECT_LE(total, client.right) << "the columns are wider than the list";
    EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL, 0);

    // The longest factory name is readable without widening its column.
    std::string longest;
    for (const std::string& name : factoryNames())
        if (name.size() > longest.size()) longest = name;
    const auto needed = static_cast<int>(
        SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(longest.c_str())));
    EXPECT_GT(needed, 0);
    EXPECT_LE(needed, nameColumn) << longest;
}

TEST_F(SetupStartUp, ListDrawsGridLinesAndHighlightsTheRowUnderThePointer) {
    ASSERT_TRUE(openWindow());
    const DWORD style =
        static_cast<DWORD>(SendMessageA(item(IDC_SAT_LIST), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(style & (LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT),
              DWORD{LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT});
}

struct StoredSettingsCase {
    const char* what;
    std::string file;
    bool moteck;
    std::vector<std::string> names;
};

TEST_F(SetupStartUp, StoredSettingsAreShownAndLeftAsTheyWere) {
    std::vector<std::string> withEmptySeventh = factoryNames();
    withEmptySeventh[6] = "";
    const StoredSettingsCase cases[] = {
        {"Moteck with stored names", settingsFileText(customNames(), MOTECK_TYPE), true,
         customNames()},
        {"only the model section", "[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n", true, factoryNames()},
        {"an empty file", "", false, factoryNames()},
        {"an empty name stays empty", settingsFileText(withEmptySeventh, STAB_TYPE), false,
         withEmptySeventh},
    };
    for (const StoredSettingsCase& entry : cases) {
        SCOPED_TRACE(entry.what);
        writeSettings(entry.file);
        host().clearMessages();
        ASSERT_TRUE(openWindow());

        EXPECT_EQ(isChecked(IDC_MODEL_MOTECK), entry.moteck);
        EXPECT_EQ(isChecked(IDC_MODEL_STAB), !entry.moteck);
        EXPECT_EQ(listColumn(0), entry.names);
        std::vector<std::string> offered = entry.names;
        offered.resize(entry.moteck ? 60 : 49);
        for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER}) {
            EXPECT_EQ(pickerEntries(picker), offered) << picker;
            EXPECT_EQ(pickerSelection(picker), 0) << picker;
        }
        EXPECT_EQ(settingsBytes(), entry.file) << "an existing file is only read";
        EXPECT_EQ(identifications(), 1);
        EXPECT_TRUE(commandsSent().empty());

        plugin().exit();
        ASSERT_TRUE(setupWindows().empty());
    }
}

TEST_F(SetupStartUp, ApiLabelShowsTheWholeNameTheHostGives) {
    const std::string longest(256, 'N');
    // Every byte value but zero, control characters too, and no end.
    std::string garbage;
    for (int i = 0; i < 256; ++i) garbage += static_cast<char>(1 + (i * 97) % 255);
    struct Case {
        std::optional<std::string> answer;
        std::string label;
    };
    const Case cases[] = {
        {std::string("MD-API 1.1 for tests"), "API: MD-API 1.1 for tests"},
        {std::nullopt, "API: "},
        {longest, "API: " + std::string(255, 'N')},
        {garbage, "API: " + garbage.substr(0, 255)},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.label.substr(0, 20));
        host().answerApiQueryWith(entry.answer);
        ASSERT_TRUE(openWindow());
        EXPECT_EQ(text(IDC_API_LABEL), entry.label);
        plugin().exit();
    }
}

}  // namespace
