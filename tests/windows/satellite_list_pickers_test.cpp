#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/satellite_list_fixture.h"

namespace {

struct ModelCase {
    const char* name;
    const char* type;
    std::size_t pickerRows;
};

void PrintTo(const ModelCase& model, std::ostream* out) {
    *out << model.name;
}

class SatelliteListPickers : public SatelliteListTest,
                             public ::testing::WithParamInterface<ModelCase> {};

// The pickers name slots: after a swap, a selection stays on its slot and so
// shows the name that moved into it.
TEST_P(SatelliteListPickers, KeepTheirSelectedSlotsAcrossASwap) {
    const ModelCase& model = GetParam();
    // Ten names stored: the save after the edit must write all 60.
    writeSettings(partialSettingsFile(customNames(), 10, model.type));
    std::vector<std::string> names = customNames();
    const std::vector<std::string> factory = factoryNames();
    for (std::size_t i = 10; i < names.size(); ++i) names[i] = factory[i];
    openList();
    ASSERT_EQ(listColumn(0), names);
    selectInPicker(IDC_GOTO_PICKER, 3);
    selectInPicker(IDC_STORE_PICKER, 10);
    selectInPicker(IDC_RECALCULATE_PICKER, -1);
    ASSERT_NO_FATAL_FAILURE(showRows(3, 10));

    perform(
        {press(MouseButton::Left, 3), pull(3), moveTo(6), moveTo(10), release(MouseButton::Left)});

    const std::vector<std::string> expected = withSwap(names, 3, 10);
    ASSERT_EQ(listColumn(0), expected);
    EXPECT_EQ(takeChangeMessages(), 1);
    for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER}) {
        SCOPED_TRACE(picker);
        EXPECT_EQ(pickerEntries(picker), firstOf(expected, model.pickerRows));
    }
    EXPECT_EQ(pickerSelection(IDC_GOTO_PICKER), 3);
    EXPECT_EQ(pickerEntries(IDC_GOTO_PICKER)[3], names[10]);
    EXPECT_EQ(pickerSelection(IDC_STORE_PICKER), 10);
    EXPECT_EQ(pickerEntries(IDC_STORE_PICKER)[10], names[3]);
    EXPECT_EQ(pickerSelection(IDC_RECALCULATE_PICKER), -1);
    EXPECT_EQ(settingsBytes(), settingsFileText(expected, model.type));
}

const ModelCase MODELS[] = {
    {"Stab", STAB_TYPE, 49},
    {"Moteck", MOTECK_TYPE, 60},
};

INSTANTIATE_TEST_SUITE_P(SatelliteList, SatelliteListPickers, ::testing::ValuesIn(MODELS),
                         [](const ::testing::TestParamInfo<ModelCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
