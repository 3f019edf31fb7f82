#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "tests/windows/setup_window_fixture.h"
#include "host_driver/list_pointer.h"
#include "host_driver/message_hook.h"
#include "host_driver/modal_script.h"

// A settings file that holds only the first `stored` of `names`: the window
// shows factory names for the rest, and an edit that saves must write all 60.
std::string partialSettingsFile(const std::vector<std::string>& names, std::size_t stored,
                                const std::string& type);
std::vector<std::string> withSwap(std::vector<std::string> names, int a, int b);
std::vector<std::string> firstOf(const std::vector<std::string>& names, std::size_t count);
std::vector<std::string> lnbColumn();
std::vector<std::string> indexColumn();

// The setup window of the real plug-in, with its satellite list under the
// mouse. Each test has its own copy of the plug-in and so its own settings
// file; the window is moved where other test programs put no windows.
class SatelliteListTest : public SetupWindowTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    void openList();
    // Writes the settings file the window will start from and keeps it, so a
    // test can prove later that nothing was written.
    void startFrom(const std::string& settings);
    // The first ten names only: every save must then write all sixty.
    void startFromTenStoredNames() {
        startFrom(partialSettingsFile(factoryNames(), 10, STAB_TYPE));
    }
    // Closes the window and opens it again, as a user would to see what the
    // plug-in reads back from its settings file.
    void reopenList();

    HWND list() const { return item(IDC_SAT_LIST); }
    // Performs the steps and fails the test when input went astray.
    void perform(const std::vector<PointerStep>& steps);
    void doubleClick(int row);

    // WM_SATLIST_CHANGED messages the window took from its queue since the
    // last call.
    int takeChangeMessages();
    FILETIME settingsWriteTime() const;
    // Moves the setup window over `box`, without raising it, and tells
    // whether the box still shows.
    bool staysAboveSetupWindow(HWND box);
    // Scrolls the list so that rows `top` to `bottom` all show.
    void showRows(int top, int bottom);

    std::string initialFile_;

  private:
    void readyPointer();

    std::unique_ptr<Pointer> pointer_;
    bool ownDesktop_ = false;
    std::optional<RetrievalHook> changeCounter_;
    HWND changesFrom_ = nullptr;
    int changes_ = 0;
};
