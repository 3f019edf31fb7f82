#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

class SetupCommands : public SetupWindowTest {};

constexpr char RECALCULATE_QUESTION[] = "Modify all stored Sat. Positions?";
constexpr char RESET_QUESTION[] = "Reset all stored Sat. Positions?";
constexpr int NO_BOX = 0;

struct Dialect {
    const char* apiName;
    ApiDialect dialect;
};
constexpr Dialect DIALECTS[] = {{"TestViewer 2.1", ApiDialect::Native},
                                {"MD-API 1.1", ApiDialect::MdApi}};

struct Selection {
    int picker;
    int index;
};

struct ButtonCase {
    const char* what;
    std::vector<Selection> selections = {};
    std::vector<std::pair<int, int>> spins = {};
    // Buttons in the order clicked.
    std::vector<int> clicks;
    // IDOK or IDCANCEL for the confirmation that the click raises.
    int answer = NO_BOX;
    const char* question = nullptr;
    std::vector<Bytes> sent;
};

// Under the Moteck model, so that all 60 slots are offered.
const ButtonCase BUTTON_CASES[] = {
    {.what = "step west", .clicks = {IDC_STEP_WEST}, .sent = {{0xE0, 0x31, 0x69, 0xFD}}},
    {.what = "step east, twice",
     .clicks = {IDC_STEP_EAST, IDC_STEP_EAST},
     .sent = {{0xE0, 0x31, 0x68, 0xFD}, {0xE0, 0x31, 0x68, 0xFD}}},
    {.what = "reference: three bytes", .clicks = {IDC_REFERENCE}, .sent = {{0xE0, 0x31, 0x6B}}},
    {.what = "goto entry 0",
     .selections = {{IDC_GOTO_PICKER, 0}},
     .clicks = {IDC_GOTO},
     .sent = {{0xE0, 0x31, 0x6B, 0x01}}},
    {.what = "goto entry 59",
     .selections = {{IDC_GOTO_PICKER, 59}},
     .clicks = {IDC_GOTO},
     .sent = {{0xE0, 0x31, 0x6B, 0x3C}}},
    {.what = "goto, nothing selected",
     .selections = {{IDC_GOTO_PICKER, -1}},
     .clicks = {IDC_GOTO},
     .sent = {}},
    {.what = "store entry 6",
     .selections = {{IDC_STORE_PICKER, 6}},
     .clicks = {IDC_STORE},
     .sent = {{0xE0, 0x31, 0x6A, 0x07}}},
    {.what = "store, nothing selected",
     .selections = {{IDC_STORE_PICKER, -1}},
     .clicks = {IDC_STORE},
     .sent = {}},
    {.what = "recalculate entry 4, OK",
     .selections = {{IDC_RECALCULATE_PICKER, 4}},
     .clicks = {IDC_RECALCULATE},
     .answer = IDOK,
     .question = RECALCULATE_QUESTION,
     .sent = {{0xE0, 0x31, 0x6F, 0x05}}},
    {.what = "recalculate, Cancel",
     .selections = {{IDC_RECALCULATE_PICKER, 4}},
     .clicks = {IDC_RECALCULATE},
     .answer = IDCANCEL,
     .question = RECALCULATE_QUESTION,
     .sent = {}},
    {.what = "recalculate, nothing selected: asked, then nothing",
     .selections = {{IDC_RECALCULATE_PICKER, -1}},
     .clicks = {IDC_RECALCULATE},
     .answer = IDOK,
     .question = RECALCULATE_QUESTION,
     .sent = {}},
    {.what = "restore factory settings, OK",
     .clicks = {IDC_FACTORY_RESET},
     .answer = IDOK,
     .question = RESET_QUESTION,
     .sent = {{0xE0, 0x31, 0x6F}}},
    {.what = "restore factory settings, Cancel",
     .clicks = {IDC_FACTORY_RESET},
     .answer = IDCANCEL,
     .question = RESET_QUESTION,
     .sent = {}},
    {.what = "drive west 1 degree, then stop",
     .spins = {{IDC_WEST_SPIN, 1}},
     .clicks = {IDC_DRIVE_WEST, IDC_STOP},
     .sent = {{0xE0, 0x31, 0x69, 0xFA}, {0xE0, 0x31, 0x60}}},
    {.what = "drive east 19 degrees, then stop",
     .spins = {{IDC_EAST_SPIN, 19}},
     .clicks = {IDC_DRIVE_EAST, IDC_STOP},
     .sent = {{0xE0, 0x31, 0x68, 0x82}, {0xE0, 0x31, 0x60}}},
    {.what = "drive east 3 degrees, then stop",
     .spins = {{IDC_EAST_SPIN, 3}},
     .clicks = {IDC_DRIVE_EAST, IDC_STOP},
     .sent = {{0xE0, 0x31, 0x68, 0xED}, {0xE0, 0x31, 0x60}}},
};

TEST_F(SetupCommands, EachButtonSendsItsBytesInTheHostsDialect) {
    writeSettings(settingsFileText(factoryNames(), MOTECK_TYPE));
    for (const Dialect& dialect : DIALECTS) {
        SCOPED_TRACE(dialect.apiName);
        host().answerApiQueryWith(std::string(dialect.apiName));
        ASSERT_TRUE(openWindow());
        for (const ButtonCase& entry : BUTTON_CASES) {
            SCOPED_TRACE(entry.what);
            for (const Selection& selection : entry.selections)
                selectInPicker(selection.picker, selection.index);
            for (const auto& [spin, degrees] : entry.spins) setSpin(spin, degrees);
            host().clearMessages();
            ModalBox box;
            for (int button : entry.clicks) {
                if (entry.answer == NO_BOX) {
                    click(button);
                } else {
                    box = clickAnswering(button, pressButton(entry.answer));
                }
            }
            if (entry.question) {
                ASSERT_TRUE(box.seen);
                EXPECT_EQ(box.texts, std::vector<std::string>{entry.question});
                EXPECT_EQ(box.buttons, (std::vector<int>{IDOK, IDCANCEL}));
            }
            std::vector<std::string> expected;
            for (const Bytes& command : entry.sent)
                expected.push_back(expectedCommand(dialect.dialect, command));
            EXPECT_EQ(commandsSent(), expected);
            EXPECT_TRUE(isEnabled(IDC_DRIVE_WEST)) << "a command button leaves the window unlocked";
        }
        plugin().exit();
    }
}

// Restore factory settings: pickers, list and file take the factory names
// before the host is told to reset the positioner's stored positions.
class SetupFactoryReset : public SetupWindowTest {
  protected:
    void SetUp() override {
        SetupWindowTest::SetUp();
        writeSettings(settingsFileText(customNames(), STAB_TYPE));
        ASSERT_TRUE(openWindow());
        selectInPicker(IDC_GOTO_PICKER, 3);
        selectInPicker(IDC_STORE_PICKER, 7);
        selectInPicker(IDC_RECALCULATE_PICKER, 11);
        host().clearMessages();
    }

    std::vector<std::string> offered(const std::vector<std::string>& names) const {
        return {names.begin(), names.begin() + 49};
    }

    // What the window and the file hold at the moment the host receives each
    // command: hooked in front of the host's window procedure.
    struct Snapshot {
        std::string file;
        std::vector<std::string> list;
        std::vector<std::vector<std::string>> pickers;
    };
    std::vector<Snapshot> snapshotsAtEachCommand(const std::function<void()>& action) {
        std::vector<Snapshot> snapshots;
        const CallHook beforeHost([&](const CWPSTRUCT& call) {
            if (call.hwnd == host().window() && call.message == WM_USER)
                snapshots.push_back(
                    {settingsBytes(),
                     listColumn(0),
                     {pickerEntries(IDC_GOTO_PICKER), pickerEntries(IDC_STORE_PICKER),
                      pickerEntries(IDC_RECALCULATE_PICKER)}});
        });
        action();
        return snapshots;
    }
};

TEST_F(SetupFactoryReset, OkPutsFactoryNamesEverywhereThenResetsThePositioner) {
    ModalBox box;
    const std::vector<Snapshot> atCommand =
        snapshotsAtEachCommand([&] { box = clickAnswering(IDC_FACTORY_RESET, pressButton(IDOK)); });

    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.texts, std::vector<std::string>{RESET_QUESTION});
    EXPECT_EQ(commandsSent(),
              (std::vector<std::string>{expectedCommand(ApiDialect::Native, {0xE0, 0x31, 0x6F})}));
    ASSERT_EQ(atCommand.size(), 1u);
    EXPECT_EQ(atCommand[0].file, factorySettingsFile()) << "the file is written before the reset";
    EXPECT_EQ(atCommand[0].list, factoryNames());
    for (const auto& picker : atCommand[0].pickers) EXPECT_EQ(picker, offered(factoryNames()));

    // The model stays; each picker starts over at its first entry.
    EXPECT_EQ(settingsBytes(), factorySettingsFile());
    for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER})
        EXPECT_EQ(pickerSelection(picker), 0) << picker;
    EXPECT_EQ(listColumn(1).front(), "LNB0");
    EXPECT_EQ(listColumn(2).back(), "60");
}

TEST_F(SetupFactoryReset, KeepsTheModelAndWritesAllSixtyNamesUnderMoteck) {
    plugin().exit();
    writeSettings(settingsFileText(customNames(), MOTECK_TYPE));
    ASSERT_TRUE(openWindow());
    clickAnswering(IDC_FACTORY_RESET, pressButton(IDOK));
    EXPECT_EQ(settingsBytes(), factorySettingsFile(MOTECK_TYPE));
    EXPECT_EQ(pickerEntries(IDC_RECALCULATE_PICKER), factoryNames());
}

TEST_F(SetupFactoryReset, CancelChangesNothing) {
    const std::string before = settingsBytes();
    const ModalBox box = clickAnswering(IDC_FACTORY_RESET, pressButton(IDCANCEL));

    ASSERT_TRUE(box.seen);
    EXPECT_TRUE(commandsSent().empty());
    EXPECT_EQ(settingsBytes(), before);
    EXPECT_EQ(listColumn(0), customNames());
    for (int picker : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER})
        EXPECT_EQ(pickerEntries(picker), offered(customNames()));
    EXPECT_EQ(pickerSelection(IDC_GOTO_PICKER), 3);
    EXPECT_EQ(pickerSelection(IDC_STORE_PICKER), 7);
    EXPECT_EQ(pickerSelection(IDC_RECALCULATE_PICKER), 11);
}

}  // namespace
