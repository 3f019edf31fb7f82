#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "host/host_messages.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

class SetupStartUp : public SetupWindowTest {
  protected:
    std::string text(int id) const {
        char buffer[300] = {};
        GetDlgItemTextA(window(), id, buffer, sizeof buffer);
        return buffer;
    }

    bool checked(int id) const { return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

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

TEST_F(SetupStartUp, FirstOpeningCreatesTheFactoryFileAndShowsIt) {
    ASSERT_FALSE(settingsExist());
    ControlEventRecorder focus(nullptr, {WM_SETFOCUS});
    ASSERT_TRUE(openWindow());
    const std::vector<ControlEvent> focused = focus.take();

    EXPECT_EQ(settingsBytes(), factorySettingsFile());
    EXPECT_NE(GetWindowLongA(window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "stays above others";
    // The layout, pinned apart from the table that produced it.
    const std::string file = settingsBytes();
    EXPECT_EQ(file.rfind("[SATELLITE NAMES]\r\nPOS1=Hot Bird  13\xB0"
                         "E\r\nPOS2=Astra 19.2\xB0"
                         "E\r\n",
                         0),
              0u);
    EXPECT_NE(file.find("\r\nPOS28=Eutelsat 12.5\xB0"
                        "W\r\nPOS29=not assigned\r\n"),
              std::string::npos);
    EXPECT_TRUE(file.ends_with("\r\nPOS60=not assigned\r\n[POSITIONER]\r\nTYPE=STAB HH100/120\r\n"))
        << file.substr(file.size() > 80 ? file.size() - 80 : 0);

    // The list: 60 rows, all three columns.
    EXPECT_EQ(listColumn(0), factoryNames());
    std::vector<std::string> lnb;
    std::vector<std::string> index;
    for (int row = 0; row < 60; ++row) {
        lnb.push_back("LNB" + std::to_string(row));
        index.push_back(std::to_string(row + 1));
    }
    EXPECT_EQ(listColumn(1), lnb);
    EXPECT_EQ(listColumn(2), index);

    // Pickers: the first 49 names, the first selected.
    for (int picker : {1034, 1035, 1036}) {
        SCOPED_TRACE(picker);
        EXPECT_EQ(pickerEntries(picker), firstNames(49));
        EXPECT_EQ(pickerSelection(picker), 0);
        EXPECT_EQ(pickerEntries(picker).front(),
                  "Hot Bird  13\xB0"
                  "E");
    }

    EXPECT_TRUE(checked(1039));
    EXPECT_FALSE(checked(1040));
    EXPECT_EQ(text(1017), "1");
    EXPECT_EQ(text(1015), "1");
    for (int spin : {1018, 1016}) {
        SCOPED_TRACE(spin);
        EXPECT_EQ(spinRange(spin), std::make_pair(0, 19));
        EXPECT_EQ(spinPosition(spin), 1);
    }
    EXPECT_EQ(text(1044), "API: TestViewer 2.1");
    ASSERT_FALSE(focused.empty());
    EXPECT_EQ(focused.front().control, 1002) << "the first tab stop, Drive West, gets the focus";
    EXPECT_EQ(visibleFrame(), 0);

    // The plug-in's own icon, large and small.
    HICON own = LoadIconA(plugin().module(), MAKEINTRESOURCEA(1013));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window(), WM_GETICON, ICON_BIG, 0)), own);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window(), WM_GETICON, ICON_SMALL, 0)), own);

    // Without an owner the window is centred on the work area.
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT placed{};
    GetWindowRect(window(), &placed);
    const int width = placed.right - placed.left;
    const int height = placed.bottom - placed.top;
    EXPECT_EQ(placed.left, area.left + ((area.right - area.left) - width) / 2);
    EXPECT_EQ(placed.top, area.top + ((area.bottom - area.top) - height) / 2);

    ASSERT_EQ(host().messages().size(), 1u) << "one identification and nothing else";
    EXPECT_EQ(host().messages()[0].code, HOST_MSG_QUERY_API);
    EXPECT_EQ(host().messages()[0].bytes, Bytes(256, 0)) << "the name buffer arrives zeroed";
}

TEST_F(SetupStartUp, ListColumnsShareTheListWidthInFixedParts) {
    ASSERT_TRUE(openWindow());
    RECT rect{};
    GetWindowRect(item(1038), &rect);
    const int w = rect.right - rect.left;
    ASSERT_GT(w, 0);

    struct Column {
        const char* heading;
        int width;
    };
    const Column expected[] = {
        {"Satellite", (w * 4) / 8}, {"LNB", (w * 2) / 8}, {"Index", (w * 5) / 32}};
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        char heading[64] = {};
        LVCOLUMNA description{};
        description.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        description.pszText = heading;
        description.cchTextMax = sizeof heading;
        ASSERT_TRUE(SendMessageA(item(1038), LVM_GETCOLUMNA, static_cast<WPARAM>(column),
                                 reinterpret_cast<LPARAM>(&description)));
        EXPECT_STREQ(heading, expected[column].heading);
        EXPECT_EQ(description.cx, expected[column].width);
        EXPECT_EQ(description.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        EXPECT_EQ(description.iSubItem, column);
    }
    LVCOLUMNA beyond{};
    beyond.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageA(item(1038), LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&beyond)));
    const DWORD style =
        static_cast<DWORD>(SendMessageA(item(1038), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
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

        EXPECT_EQ(checked(1040), entry.moteck);
        EXPECT_EQ(checked(1039), !entry.moteck);
        EXPECT_EQ(listColumn(0), entry.names);
        std::vector<std::string> offered = entry.names;
        offered.resize(entry.moteck ? 60 : 49);
        for (int picker : {1034, 1035, 1036}) {
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
    struct Case {
        std::optional<std::string> answer;
        std::string label;
    };
    const Case cases[] = {
        {std::string("MD-API 1.1 for tests"), "API: MD-API 1.1 for tests"},
        {std::nullopt, "API: "},
        {longest, "API: " + std::string(255, 'N')},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.label.substr(0, 20));
        host().answerApiQueryWith(entry.answer);
        ASSERT_TRUE(openWindow());
        EXPECT_EQ(text(1044), entry.label);
        plugin().exit();
    }
}

}  // namespace
