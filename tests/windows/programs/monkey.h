// What the monkey's two files share: the monkey itself, the setup window's
// part in monkey.cpp and the positioner extras' part in monkey_extras.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "host/api_dialect.h"
#include "positioner/diseqc_command.h"
#include "positioner/positioner_model.h"
#include "positioner/usals.h"
#include "store/win32_file_store.h"
#include "tests/windows/test_host.h"
#include "host_driver/plugin_module.h"

namespace monkey {

// A command as the host takes it in the dialect of the window's host.
std::string commandText(ApiDialect dialect, const DiseqcCommand& command);
// Control characters spelt out, so that a failure stays on one line.
std::string inQuotes(const std::string& text);
std::vector<std::string> pickerEntries(HWND picker);
std::string joined(const std::vector<std::string>& parts);

// A box of the extras that tells why nothing was done is an ExtrasNotice;
// their questions are questions.
enum class BoxKind {
    Question,
    UnsavedNames,
    UnsavedModel,
    Length,
    Name,
    About,
    ExtrasNotice,
    UnsavedSite,
    Degrees,
    Other
};

// One box as it was answered.
struct BoxSeen {
    BoxKind kind;
    bool accepted = false;      // OK or Enter
    bool windowClosed = false;  // the setup window went while it was open
    std::string text{};
};

// The drive buttons of the extras, and how one of them is held.
enum class Hold { None, West, East };

struct Drive {
    bool locked = false;  // the movement controls are disabled
    std::uint32_t remaining = 0;
    int ticks = 0;
};

class Monkey {
  public:
    Monkey(int actions, unsigned seed) : actions_(actions), seed_(seed), random_(seed) {}
    int run();
    void onRetrieved(MSG& message);

  private:
    // Drawing.
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool chance(int in) { return between(1, in) == 1; }
    template <class T>
    T pick(std::initializer_list<T> choices) {
        return choices.begin()[between(0, static_cast<int>(choices.size()) - 1)];
    }
    std::string randomText(int length);

    // Reporting.
    void note(const std::string& text);
    void fail(const std::string& check, const std::string& detail);
    void setProgress();

    // The host's side.
    TestHost& newHost();
    std::string hostName(const TestHost& host) const;
    bool hostAlive() const { return started_ && current_ && !dead_.count(current_); }
    void startPlugin(TestHost& host);
    void exitPlugin();
    void openWindow();
    void ensureWindow();
    void windowGone();
    void adopt(HWND window);
    void checkHostMessages();
    // A command the host must receive from the action under way.
    void expect(const DiseqcCommand& command) {
        expected_.push_back(commandText(dialect_, command));
    }

    // Actions.
    void act();
    void clickControl();
    void clickButtonOf(int id);
    void setSpin();
    void pickEntry();
    void clickModel();
    void drag();
    void rename();
    void aboutBox();
    void reopen();
    void hostLife();
    void toggleReadOnly();
    void letTimePass();
    void letTicksPass(int ticks);

    // The positioner extras (monkey_extras.cpp).
    void extrasAction();
    void openExtras();
    void ensureExtras();
    std::string siteValue(bool latitude, bool good);
    void typeSiteField(int id, const std::string& value);
    void chooseSide(int id);
    void typeSite();
    void saveSite();
    void typeSatellite();
    void pickSatellite();
    void typeAngle();
    void gotoAngle();
    void limitButton();
    void holdDrive();
    void pressHold(Hold button, bool bySpace);
    void endHold(const char* how);
    void clickHalt();
    void closeExtras();
    void extrasGone();
    std::optional<BoxKind> extrasBoxKind(const std::string& text) const;
    void expectExtrasBoxes(std::size_t firstBox, const std::vector<std::string>& texts);
    void heardByHost(const TestHost& host, const std::string& received);
    void checkExtras();
    HWND extrasItem(int id) const { return GetDlgItem(extras_, id); }

    // Boxes.
    void answeringBoxes(const std::function<void()>& action);
    static void CALLBACK closeMenus(HWND, UINT, UINT_PTR, DWORD);
    void answer(HWND box);
    bool pressSomething(HWND box, bool offerEnter, const std::function<void(bool)>& ready = {});
    bool seenSince(std::size_t first, BoxKind kind) const;
    void answerName(HWND dialog, BoxSeen& seen);
    void disrupt(HWND box);

    // Checks.
    void checkAfterAction();
    void checkWindow();
    // What an edit of the list is made on: the names the file holds. They are the names the
    // window shows unless an edit was not saved.
    std::vector<std::string> namesBeforeEdit(HWND list);
    HWND item(int id) const { return GetDlgItem(window_, id); }
    PositionerModel checkedModel() const;

    int actions_;
    unsigned seed_;
    std::mt19937 random_;
    std::filesystem::path folder_;
    std::filesystem::path settings_;
    Win32FileStore files_;
    PluginModule plugin_;

    std::deque<TestHost> hosts_;
    std::map<const TestHost*, std::size_t> heard_;  // messages checked so far
    std::map<const TestHost*, int> numbers_;
    TestHost* current_ = nullptr;  // the host of the last On_Start
    std::set<const TestHost*> dead_;
    bool started_ = false;
    std::map<const TestHost*, std::string> apiNames_;

    HWND window_ = nullptr;
    ApiDialect dialect_ = ApiDialect::Native;
    Drive drive_;
    bool readOnly_ = false;
    bool namesUnsaved_ = false;
    bool modelUnsaved_ = false;
    bool ticksLetThrough_ = false;

    HWND extras_ = nullptr;
    // The site the open extras work from: read when they opened, or saved since.
    std::optional<Site> site_;
    Hold hold_ = Hold::None;
    // Per host: a drive until halted that no halt has followed yet.
    std::map<const TestHost*, bool> unhalted_;

    // The action under way.
    int number_ = 0;
    std::string description_;
    std::vector<std::string> expected_;  // host messages it must bring
    std::vector<BoxSeen> boxes_;
    std::set<HWND> answering_;
    std::map<HWND, int> attempts_;
    std::map<HWND, std::size_t> boxIndex_;
    // Edits that write the file, each told in a box when it cannot be.
    int changes_ = 0;  // list edits that the window took up
    int factoryWrites_ = 0;
    int modelWrites_ = 0;
    int siteWrites_ = 0;
    // A halt of its own: a click on Halt, or on Stop during a timed drive.
    bool haltClicked_ = false;
    bool created_ = false;
    bool windowChanged_ = false;
    // The name the name dialog closed with OK, if it did.
    std::optional<std::string> renamedTo_;
    bool lengthBoxDue_ = false;
    bool degreesBoxDue_ = false;
    // What the OK to the question of a change of all positions leads to.
    std::function<void()> onQuestionAccepted_;
    std::map<std::string, std::string> lastFailure_;  // by check: a lasting fault is told once

    int failures_ = 0;
    int doneActions_ = 0;
};

}  // namespace monkey
