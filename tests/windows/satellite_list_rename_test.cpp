#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/satellite_list_fixture.h"

namespace {

// Only ten names stored: any save must write all 60.

// What the user sees and does in the rename dialog.
struct RenameSeen {
    std::string shown;
    bool onTop = false;
    std::string left;
};

class SatelliteListRename : public SatelliteListTest {
  protected:
    void SetUp() override {
        SatelliteListTest::SetUp();
        startFromTenStoredNames();
        openList();
    }

    // Double-clicks `row`; in the dialog types `typed` over the name when
    // given, then presses `button`.
    RenameSeen rename(int row, const std::optional<std::string>& typed, int button) {
        RenameSeen seen;
        ModalScript script;
        script.when(RENAME_CAPTION, [&](HWND dialog) {
            seen.shown = dialogItemText(dialog, IDC_SAT_NAME_EDIT);
            seen.onTop = staysAboveSetupWindow(dialog);
            if (typed) retype(GetDlgItem(dialog, IDC_SAT_NAME_EDIT), *typed);
            seen.left = dialogItemText(dialog, IDC_SAT_NAME_EDIT);
            clickButton(dialog, button);
        });
        EXPECT_TRUE(script.runDuring([&] { doubleClick(row); })) << "no rename dialog";
        EXPECT_EQ(findDialog(RENAME_CAPTION), nullptr) << "the rename dialog stayed open";
        return seen;
    }
};

struct RenameCase {
    const char* name;
    int row;
    std::optional<std::string> typed;
    int button;
    std::string result;  // the row's name afterwards
};

void PrintTo(const RenameCase& rename, std::ostream* out) {
    *out << rename.name;
}

class SatelliteListRenameCase : public SatelliteListRename,
                                public ::testing::WithParamInterface<RenameCase> {};

const RenameCase RENAME_CASES[] = {
    {.name = "OkWithANewNameKeepsItsDegreeSign",
     .row = 4,
     .typed = "Astra 3B 23.5\xB0"
              "E",
     .button = IDOK,
     .result = "Astra 3B 23.5\xB0"
               "E"},
    {.name = "OkWithTheNameUnchangedStillSaves",
     .row = 2,
     .typed = std::nullopt,
     .button = IDOK,
     .result = "Eutelsat F3 16\xB0"
               "E"},
    {.name = "OkWithAnEmptyNameStoresItEmpty", .row = 6, .typed = "", .button = IDOK, .result = ""},
    {.name = "CancelChangesAndSavesNothing",
     .row = 4,
     .typed = "Never saved",
     .button = IDCANCEL,
     .result = "Eutelsat F4 7\xB0"
               "E"},
};

TEST_P(SatelliteListRenameCase, RenamesTheRowAndSavesOnlyOnOk) {
    const RenameCase& rename = GetParam();
    const FILETIME writtenBefore = settingsWriteTime();
    const bool saves = rename.button == IDOK;

    const RenameSeen seen = this->rename(rename.row, rename.typed, rename.button);

    EXPECT_EQ(seen.shown, factoryNames()[static_cast<std::size_t>(rename.row)]);
    EXPECT_TRUE(seen.onTop) << "the rename dialog opens hidden behind the setup window";
    std::vector<std::string> expected = factoryNames();
    expected[static_cast<std::size_t>(rename.row)] = rename.result;
    EXPECT_EQ(listColumn(0), expected);
    EXPECT_EQ(listColumn(1), lnbColumn());
    EXPECT_EQ(listColumn(2), indexColumn());
    EXPECT_EQ(takeChangeMessages(), saves ? 1 : 0);
    EXPECT_EQ(pickerEntries(IDC_GOTO_PICKER), firstOf(expected, 49));
    if (saves) {
        EXPECT_EQ(settingsBytes(), settingsFileText(expected, STAB_TYPE));
    } else {
        EXPECT_EQ(settingsBytes(), initialFile_);
        const FILETIME writtenAfter = settingsWriteTime();
        EXPECT_EQ(CompareFileTime(&writtenBefore, &writtenAfter), 0);
    }

    // What the next opening reads back: an empty name stays empty.
    reopenList();
    EXPECT_EQ(listColumn(0), expected);
}

INSTANTIATE_TEST_SUITE_P(SatelliteList, SatelliteListRenameCase, ::testing::ValuesIn(RENAME_CASES),
                         [](const ::testing::TestParamInfo<RenameCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(SatelliteListRename, TheFieldTakesNoFortyFirstCharacter) {
    std::string typed;
    for (char letter = 'A'; typed.size() < 41; letter = letter == 'Z' ? 'A' : letter + 1)
        typed += letter;
    const std::string kept = typed.substr(0, 40);

    const RenameSeen seen = rename(7, typed, IDOK);

    EXPECT_EQ(seen.left, kept);
    EXPECT_EQ(cellText(7, 0), kept);
    std::vector<std::string> expected = factoryNames();
    expected[7] = kept;
    EXPECT_EQ(settingsBytes(), settingsFileText(expected, STAB_TYPE));
}

// Names of up to 63 characters come from the file; the dialog takes 40.
class SatelliteListLongName : public SatelliteListTest, public ::testing::WithParamInterface<int> {
  protected:
    static constexpr int ROW = 8;

    void SetUp() override {
        SatelliteListTest::SetUp();
        std::vector<std::string> names = factoryNames();
        stored_ = std::string(80, 'x');
        for (std::size_t i = 0; i < stored_.size(); ++i)
            stored_[i] = static_cast<char>('a' + i % 26);
        names[ROW] = stored_;
        startFrom(settingsFileText(names, STAB_TYPE));
        openList();
    }

    std::string stored_;
};

TEST_P(SatelliteListLongName, IsRefusedOnOkWhileTheDialogStaysOpen) {
    const int finalButton = GetParam();
    const std::string read = stored_.substr(0, 63);
    const std::string shortened = read.substr(0, 40);
    ASSERT_EQ(cellText(ROW, 0), read);

    std::string shown;
    std::string refusal;
    bool dialogWaited = false;
    std::string keptAfterRefusal;
    ModalScript script;
    script
        .when(RENAME_CAPTION,
              [&](HWND dialog) {
                  shown = dialogItemText(dialog, IDC_SAT_NAME_EDIT);
                  clickButton(dialog, IDOK);
              })
        .when(PLUGIN_DISPLAY_NAME,
              [&](HWND box) {
                  refusal = staticTexts(box);
                  clickButton(box, IDOK);
              })
        .when(RENAME_CAPTION, [&](HWND dialog) {
            dialogWaited = true;
            keptAfterRefusal = dialogItemText(dialog, IDC_SAT_NAME_EDIT);
            if (finalButton == IDOK) retype(GetDlgItem(dialog, IDC_SAT_NAME_EDIT), shortened);
            clickButton(dialog, finalButton);
        });
    ASSERT_TRUE(script.runDuring([&] { doubleClick(ROW); }));

    EXPECT_EQ(shown, read);
    EXPECT_NE(refusal.find("40"), std::string::npos) << refusal;
    EXPECT_TRUE(dialogWaited);
    EXPECT_EQ(keptAfterRefusal, read);
    std::vector<std::string> expected = factoryNames();
    expected[ROW] = finalButton == IDOK ? shortened : read;
    EXPECT_EQ(listColumn(0), expected);
    if (finalButton == IDOK) {
        EXPECT_EQ(takeChangeMessages(), 1);
        EXPECT_EQ(settingsBytes(), settingsFileText(expected, STAB_TYPE));
    } else {
        EXPECT_EQ(takeChangeMessages(), 0);
        EXPECT_EQ(settingsBytes(), initialFile_);
    }
}

INSTANTIATE_TEST_SUITE_P(SatelliteList, SatelliteListLongName, ::testing::Values(IDOK, IDCANCEL),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == IDOK ? "ShortenedThenAccepted"
                                                                   : "ThenCancelled");
                         });

}  // namespace
