#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "res/resource_ids.h"
#include "tests/windows/satellite_list_fixture.h"

namespace {

constexpr MouseButton LEFT = MouseButton::Left;
constexpr MouseButton RIGHT = MouseButton::Right;
// Only ten names stored: any save must write all 60.

struct DragCase {
    const char* name;
    std::vector<PointerStep> gesture;
    std::vector<std::pair<int, int>> swaps;
    int changeMessages;
};

void PrintTo(const DragCase& drag, std::ostream* out) {
    *out << drag.name;
}

class DragGesture : public SatelliteListTest, public ::testing::WithParamInterface<DragCase> {
  protected:
    void SetUp() override {
        SatelliteListTest::SetUp();
        startFromTenStoredNames();
    }
};

// clang-format off
const DragCase DRAG_CASES[] = {
    {"OntoAnotherRowSwapsTheTwoNames",
     {press(LEFT, 2), pull(2), moveTo(4), moveTo(5), release(LEFT)}, {{2, 5}}, 1},
    {"BackOntoItsOwnRowChangesNoNameButSavesAll",
     {press(LEFT, 2), pull(2), moveTo(3), moveTo(2, 30), release(LEFT)}, {}, 1},
    {"ReleasedOutsideTheListSwapsWithTheLastRowCrossed",
     {press(LEFT, 2), pull(2), moveTo(5), moveTo(7), moveBeside(7), moveBeside(9), release(LEFT)},
     {{2, 7}}, 1},
    {"WithTheRightButtonSwapsLikeALeftDrag",
     {press(RIGHT, 2), pull(2), moveTo(4), moveTo(5), release(RIGHT)}, {{2, 5}}, 1},
    {"StartedLeftEndsAtTheRightRelease",
     {press(LEFT, 2), pull(2), moveTo(5), press(RIGHT, 5), release(RIGHT), release(LEFT)},
     {{2, 5}}, 1},
    {"StartedRightEndsAtTheLeftRelease",
     {press(RIGHT, 2), pull(2), moveTo(5), press(LEFT, 5), release(LEFT), release(RIGHT)},
     {{2, 5}}, 1},
    {"ClickWithoutMovingIsNoDrag",
     {press(LEFT, 5), release(LEFT)}, {}, 0},
};
// clang-format on

TEST_P(DragGesture, SwapsNamesOnlyAndSavesAllSixty) {
    const DragCase& drag = GetParam();
    openList();
    ASSERT_EQ(listColumn(0), factoryNames());

    perform(drag.gesture);

    std::vector<std::string> expected = factoryNames();
    for (const auto& [a, b] : drag.swaps) expected = withSwap(expected, a, b);
    EXPECT_EQ(listColumn(0), expected);
    EXPECT_EQ(listColumn(1), lnbColumn());
    EXPECT_EQ(listColumn(2), indexColumn());
    // The drag is over: nothing keeps the mouse, no image is dragged.
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);

    EXPECT_EQ(takeChangeMessages(), drag.changeMessages);
    for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER}) {
        SCOPED_TRACE(picker);
        EXPECT_EQ(pickerEntries(picker), firstOf(expected, 49));
    }
    if (drag.changeMessages > 0) {
        EXPECT_EQ(settingsBytes(), settingsFileText(expected, STAB_TYPE));
    } else {
        EXPECT_EQ(settingsBytes(), initialFile_);
    }
}

INSTANTIATE_TEST_SUITE_P(SatelliteList, DragGesture, ::testing::ValuesIn(DRAG_CASES),
                         [](const ::testing::TestParamInfo<DragCase>& info) {
                             return std::string(info.param.name);
                         });

// The worked example, pinned to the names and the file lines themselves.
TEST_F(SatelliteListTest, DraggingRowTwoOntoRowFiveSwapsPositionsThreeAndSix) {
    writeSettings(factorySettingsFile());
    openList();

    perform({press(LEFT, 2), pull(2), moveTo(3), moveTo(5), release(LEFT)});

    EXPECT_EQ(cellText(2, 0),
              "Sirius 5\xB0"
              "E");
    EXPECT_EQ(cellText(5, 0),
              "Eutelsat F3 16\xB0"
              "E");
    EXPECT_EQ(cellText(2, 1), "LNB2");
    EXPECT_EQ(cellText(2, 2), "3");
    EXPECT_EQ(cellText(5, 1), "LNB5");
    EXPECT_EQ(cellText(5, 2), "6");
    // The file follows only once the posted message has been handled.
    pumpMessages();
    const std::string file = settingsBytes();
    EXPECT_NE(file.find("\r\nPOS3=Sirius 5\xB0"
                        "E\r\nPOS4="),
              std::string::npos);
    EXPECT_NE(file.find("\r\nPOS6=Eutelsat F3 16\xB0"
                        "E\r\nPOS7="),
              std::string::npos);
    EXPECT_EQ(file, settingsFileText(withSwap(factoryNames(), 2, 5), STAB_TYPE));
}

class SatelliteListInterruptedDrag : public SatelliteListTest {
  protected:
    void SetUp() override {
        SatelliteListTest::SetUp();
        startFromTenStoredNames();
        openList();
    }
};

TEST_F(SatelliteListInterruptedDrag, LosingTheMouseToAnotherWindowEndsItWithoutASwap) {
    perform({press(LEFT, 2), pull(2), moveTo(4), moveTo(5)});
    ASSERT_EQ(GetCapture(), list()) << "the drag did not start";
    ASSERT_NE(ImageList_GetDragImage(nullptr, nullptr), nullptr);

    SetCapture(host().window());

    EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
    EXPECT_EQ(GetCapture(), host().window());
    perform({moveTo(6), release(LEFT)});
    ReleaseCapture();
    pumpMessages();

    EXPECT_EQ(listColumn(0), factoryNames());
    EXPECT_EQ(takeChangeMessages(), 0);
    EXPECT_EQ(settingsBytes(), initialFile_);
    EXPECT_EQ(GetCapture(), nullptr);
}

// Stands in for a list that cannot make the picture of a row.
LRESULT CALLBACK refuseDragImage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (message == LVM_CREATEDRAGIMAGE) return 0;
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(SatelliteListInterruptedDrag, WithoutADragImageItStillSwaps) {
    constexpr UINT_PTR REFUSAL = 0x5A7;
    ASSERT_TRUE(SetWindowSubclass(list(), &refuseDragImage, REFUSAL, 0));

    perform({press(LEFT, 2), pull(2), moveTo(4), moveTo(5)});
    EXPECT_EQ(GetCapture(), list());
    EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
    perform({release(LEFT)});
    RemoveWindowSubclass(list(), &refuseDragImage, REFUSAL);

    const std::vector<std::string> expected = withSwap(factoryNames(), 2, 5);
    EXPECT_EQ(listColumn(0), expected);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(takeChangeMessages(), 1);
    EXPECT_EQ(settingsBytes(), settingsFileText(expected, STAB_TYPE));
}

}  // namespace
