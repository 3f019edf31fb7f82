#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

class SetupModel : public SetupWindowTest {};

std::vector<std::string> first(const std::vector<std::string>& names, std::size_t count) {
    return {names.begin(), names.begin() + static_cast<std::ptrdiff_t>(count)};
}

TEST_F(SetupModel, SwitchWritesTheModelAndRefillsThePickersWithTheNamesShown) {
    writeSettings(settingsFileText(customNames(), STAB_TYPE));
    ASSERT_TRUE(openWindow());
    // A swap that the list has asked for but not yet reported as complete:
    // the window shows it and the file holds it, and the pickers, refilled
    // by the switch before the list's report, must show it too.
    SendMessageA(window(), WM_SATLIST_SWAP, 2, 40);
    std::vector<std::string> names = customNames();
    std::swap(names[2], names[40]);
    host().clearMessages();

    struct Step {
        int radio;
        const char* type;
        std::size_t offered;
    };
    for (const Step& step :
         {Step{IDC_MODEL_MOTECK, MOTECK_TYPE, 60}, Step{IDC_MODEL_STAB, STAB_TYPE, 49}}) {
        SCOPED_TRACE(step.type);
        for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER})
            selectInPicker(picker, 5);
        click(step.radio);

        EXPECT_EQ(settingsBytes(), settingsFileText(names, step.type))
            << "TYPE changes, the names in the file do not";
        EXPECT_TRUE(isChecked(step.radio));
        EXPECT_FALSE(isChecked(step.radio == IDC_MODEL_MOTECK ? IDC_MODEL_STAB : IDC_MODEL_MOTECK));
        for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER}) {
            EXPECT_EQ(pickerEntries(picker), first(names, step.offered)) << picker;
            EXPECT_EQ(pickerSelection(picker), 0) << picker;
        }
        EXPECT_EQ(listColumn(0), names);
    }
    EXPECT_TRUE(commandsSent().empty());

    // The next opening shows the model last chosen.
    plugin().exit();
    ASSERT_TRUE(openWindow());
    EXPECT_TRUE(isChecked(IDC_MODEL_STAB));
}

TEST_F(SetupModel, ClickOnTheCurrentModelWritesNothingAndKeepsSelections) {
    // TYPE values that read as the model shown but are not what the plug-in
    // would write: any write would show in the file.
    struct Case {
        const char* what;
        const char* storedType;
        int currentRadio;
        std::size_t offered;
    };
    const Case cases[] = {
        {"Stab, quoted", "\"STAB HH100/120\"", IDC_MODEL_STAB, 49},
        {"Moteck, in other letters", "moteck sg2100", IDC_MODEL_MOTECK, 60},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.what);
        const std::string file = settingsFileText(customNames(), entry.storedType);
        writeSettings(file);
        ASSERT_TRUE(openWindow());
        ASSERT_TRUE(isChecked(entry.currentRadio));
        selectInPicker(IDC_GOTO_PICKER, 3);
        selectInPicker(IDC_STORE_PICKER, 7);
        selectInPicker(IDC_RECALCULATE_PICKER, 11);
        host().clearMessages();

        click(entry.currentRadio);

        EXPECT_EQ(settingsBytes(), file);
        EXPECT_EQ(pickerSelection(IDC_GOTO_PICKER), 3);
        EXPECT_EQ(pickerSelection(IDC_STORE_PICKER), 7);
        EXPECT_EQ(pickerSelection(IDC_RECALCULATE_PICKER), 11);
        EXPECT_EQ(pickerEntries(IDC_RECALCULATE_PICKER).size(), entry.offered);
        EXPECT_TRUE(commandsSent().empty());
        plugin().exit();
    }
}

}  // namespace
