// The plug-in's dialog templates as the dialog manager builds them: the code
// reaches each control by id and talks to it in its class's messages, so a
// control of another class, or none, fails only at run time.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "res/resource_ids.h"
#include "tests/windows/plugin_library.h"
#include "tests/windows/setup_window_fixture.h"
#include "tests/windows/test_host.h"

namespace {

INT_PTR CALLBACK quietDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog made by the dialog manager from the plug-in's own template,
// without any of the plug-in's code behind it.
class BuiltDialog {
  public:
    BuiltDialog(HMODULE module, int id) {
        EXPECT_TRUE(foreground_.held()) << "another test kept the display for 100 s";
        INITCOMMONCONTROLSEX classes{
            sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&classes);
        window_ = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, quietDialog, 0);
    }
    ~BuiltDialog() {
        if (window_) DestroyWindow(window_);
    }
    BuiltDialog(const BuiltDialog&) = delete;
    BuiltDialog& operator=(const BuiltDialog&) = delete;

    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }

  private:
    ForegroundLock foreground_;
    HWND window_ = nullptr;
};

struct ExpectedControl {
    int id;
    const char* windowClass;
};

struct ExpectedDialog {
    const char* name;
    int id;
    std::vector<ExpectedControl> controls;
};

void PrintTo(const ExpectedDialog& dialog, std::ostream* out) {
    *out << dialog.name;
}

const ExpectedDialog DIALOGS[] = {
    {"Setup",
     IDD_POSITIONER_SETUP,
     {
         {IDC_CLOSE, "Button"},
         {IDC_DRIVE_WEST, "Button"},
         {IDC_DRIVE_EAST, "Button"},
         {IDC_STEP_WEST, "Button"},
         {IDC_STEP_EAST, "Button"},
         {IDC_RECALCULATE, "Button"},
         {IDC_STOP, "Button"},
         {IDC_EAST_DEGREES, "Edit"},
         {IDC_EAST_SPIN, "msctls_updown32"},
         {IDC_WEST_DEGREES, "Edit"},
         {IDC_WEST_SPIN, "msctls_updown32"},
         {IDC_REFERENCE, "Button"},
         {IDC_GOTO, "Button"},
         {IDC_STORE, "Button"},
         {IDC_FACTORY_RESET, "Button"},
         {IDC_FRAME_1, "Static"},
         {IDC_FRAME_2, "Static"},
         {IDC_FRAME_3, "Static"},
         {IDC_FRAME_4, "Static"},
         {IDC_FRAME_5, "Static"},
         {IDC_GOTO_PICKER, "ComboBox"},
         {IDC_STORE_PICKER, "ComboBox"},
         {IDC_RECALCULATE_PICKER, "ComboBox"},
         {IDC_SAT_LIST, "SysListView32"},
         {IDC_MODEL_STAB, "Button"},
         {IDC_MODEL_MOTECK, "Button"},
         {IDC_API_LABEL, "Static"},
     }},
    {"SatName",
     IDD_SAT_NAME,
     {{IDOK, "Button"}, {IDCANCEL, "Button"}, {IDC_SAT_NAME_EDIT, "Edit"}}},
    {"About", IDD_ABOUT, {{IDOK, "Button"}, {IDC_ABOUT_VERSION, "Static"}}},
};

class DialogTemplate : public ::testing::TestWithParam<ExpectedDialog> {
  protected:
    PluginLibrary plugin;
};

TEST_P(DialogTemplate, MakesEveryControlTheCodeUsesWithItsClass) {
    BuiltDialog dialog(plugin.module(), GetParam().id);
    ASSERT_NE(dialog.window(), nullptr) << "error " << GetLastError();
    for (const ExpectedControl& control : GetParam().controls) {
        SCOPED_TRACE(control.id);
        const HWND child = dialog.item(control.id);
        ASSERT_NE(child, nullptr) << "no control";
        // Window classes are found without regard to case.
        EXPECT_EQ(lstrcmpiA(className(child).c_str(), control.windowClass), 0)
            << className(child) << " instead of " << control.windowClass;
    }
}

INSTANTIATE_TEST_SUITE_P(PlugIn, DialogTemplate, ::testing::ValuesIn(DIALOGS),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SetupTemplate, PairsEachSpinWithItsDegreeEdit) {
    PluginLibrary plugin;
    BuiltDialog dialog(plugin.module(), IDD_POSITIONER_SETUP);
    ASSERT_NE(dialog.window(), nullptr);
    const struct {
        int spin;
        int edit;
    } pairs[] = {{IDC_WEST_SPIN, IDC_WEST_DEGREES}, {IDC_EAST_SPIN, IDC_EAST_DEGREES}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.spin);
        const HWND buddy =
            reinterpret_cast<HWND>(SendMessageA(dialog.item(pair.spin), UDM_GETBUDDY, 0, 0));
        EXPECT_EQ(buddy, dialog.item(pair.edit));
    }
}

TEST(SetupTemplate, EachIndicatorFrameHoldsAPictureOfItsOwn) {
    PluginLibrary plugin;
    BuiltDialog dialog(plugin.module(), IDD_POSITIONER_SETUP);
    ASSERT_NE(dialog.window(), nullptr);
    std::set<LRESULT> pictures;
    for (int frame : {IDC_FRAME_1, IDC_FRAME_2, IDC_FRAME_3, IDC_FRAME_4, IDC_FRAME_5}) {
        SCOPED_TRACE(frame);
        const LRESULT icon = SendMessageA(dialog.item(frame), STM_GETICON, 0, 0);
        EXPECT_NE(icon, 0) << "no picture";
        pictures.insert(icon);
    }
    EXPECT_EQ(pictures.size(), 5u) << "two frames show the same picture: the dish would not turn";
}

}  // namespace
