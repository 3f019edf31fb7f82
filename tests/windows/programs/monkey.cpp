// A monkey on the real setup window and its positioner extras: a seeded run
// of random things a user and a host do (clicks, spins, pickers, drags,
// renames, boxes answered any way, the file made read-only, the window and the
// host closed and reopened; in the extras, see monkey_extras.cpp), each
// followed by checks of the windows against the settings file, the pickers,
// the drive lock and the messages the host windows received.
//   monkey.exe <actions> [seed]
// With MONKEY_TRACE set, each action is printed once done, for the way to a
// failure. The same seed repeats the same run: the drive timer's ticks reach
// the window only while an action lets time pass, so no outcome depends on the
// speed of the machine.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "host/api_dialect.h"
#include "host/diseqc_command_record.h"
#include "host/host_messages.h"
#include "positioner/decimal_text.h"
#include "positioner/motion_tracker.h"
#include "positioner/positioner_commands.h"
#include "positioner/positioner_model.h"
#include "res/resource_ids.h"
#include "store/factory_satellite_table.h"
#include "store/settings_file.h"
#include "store/win32_file_store.h"
#include "tests/windows/programs/monkey.h"
#include "tests/windows/test_host.h"
#include "ui/sat_name_dialog.h"
#include "host_driver/list_pointer.h"
#include "host_driver/message_hook.h"
#include "host_driver/message_pump.h"
#include "host_driver/modal_script.h"
#include "host_driver/plugin_module.h"
#include "host_driver/plugin_windows.h"

namespace fs = std::filesystem;

namespace monkey {

constexpr char UNSAVED_NAMES_START[] = "The satellite names could not be saved";
constexpr char UNSAVED_MODEL_START[] = "The positioner model could not be saved";
constexpr char LENGTH_START[] = "Enter no more than";
constexpr char DEGREES_START[] = "The dish can be driven by";

constexpr int MOVEMENT_CONTROLS[] = {IDC_DRIVE_WEST, IDC_DRIVE_EAST,  IDC_STEP_WEST,
                                     IDC_STEP_EAST,  IDC_REFERENCE,   IDC_GOTO,
                                     IDC_STORE,      IDC_RECALCULATE, IDC_FACTORY_RESET,
                                     IDC_CLOSE,      IDC_MODEL_STAB,  IDC_MODEL_MOTECK};
constexpr int FRAMES[] = {IDC_FRAME_1, IDC_FRAME_2, IDC_FRAME_3, IDC_FRAME_4, IDC_FRAME_5};
constexpr int PICKERS[] = {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER};
constexpr int ROWS = static_cast<int>(SATELLITE_COUNT);

// Enough answers for every box one action can raise: a rename refused a few
// times over is the most, and answers get firmer with each attempt.
constexpr int ANSWERS_PER_ACTION = 48;
constexpr int FIRM_ANSWER_AFTER = 3;
constexpr UINT MENU_LOOK_MS = 50;
constexpr char MENU_CLASS[] = "#32768";
// An action that takes longer has hung in some loop.
constexpr DWORD HANG_MS = 60000;
// Failure lines printed; the count goes on beyond them.
constexpr int PRINTED_FAILURES = 200;

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    char part[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(part, sizeof part, "%s%02X", i ? " " : "", bytes[i]);
        text += part;
    }
    return text;
}

std::string commandText(ApiDialect dialect, const DiseqcCommand& command) {
    return std::string(dialect == ApiDialect::MdApi ? "record " : "bytes ") +
           hexBytes(command.data(), command.length());
}

constexpr char API_QUERY[] = "API query";

std::string receivedText(const TestHost::Message& message) {
    if (message.code == HOST_MSG_QUERY_API) return API_QUERY;
    if (message.code == HOST_MSG_SEND_DISEQC && !message.bytes.empty())
        return "bytes " + hexBytes(message.bytes.data(), message.bytes.size() - 1);
    if (message.code == HOST_MSG_SEND_DISEQC_RECORD &&
        message.bytes.size() == sizeof(DiseqcCommandRecord)) {
        DiseqcCommandRecord record{};
        std::memcpy(&record, message.bytes.data(), sizeof record);
        const std::size_t length = std::min<std::size_t>(record.length, sizeof record.data);
        return "record " + hexBytes(record.data, length);
    }
    char code[32];
    std::snprintf(code, sizeof code, "code %08X", message.code);
    return code;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text.empty() ? "nothing" : text;
}

std::string inQuotes(const std::string& text) {
    std::string shown = "\"";
    for (char character : text) {
        if (static_cast<unsigned char>(character) >= ' ') {
            shown += character;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X",
                          static_cast<unsigned char>(character));
            shown += escaped;
        }
    }
    return shown + "\"";
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> listNames(HWND list) {
    std::vector<std::string> names;
    const auto rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) names.push_back(listCellText(list, row, 0));
    return names;
}

std::vector<std::string> pickerEntries(HWND picker) {
    std::vector<std::string> entries;
    const auto count = static_cast<int>(SendMessageA(picker, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageA(picker, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        SendMessageA(picker, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text.data()));
        entries.emplace_back(text.c_str());
    }
    return entries;
}

// Rows where two name lists differ, as a failure line says them.
std::string namesDifference(const std::vector<std::string>& shown,
                            const std::vector<std::string>& wanted, const char* wantedBy) {
    if (shown.size() != wanted.size())
        return std::to_string(shown.size()) + " names shown, " + std::to_string(wanted.size()) +
               " " + wantedBy;
    std::string text;
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i] != wanted[i])
            text += (text.empty() ? "" : "; ") + std::string("row ") + std::to_string(i) +
                    " shows " + inQuotes(shown[i]) + ", " + wantedBy + " " + inQuotes(wanted[i]);
    return text;
}

bool findWindowOfClass(const char* name) {
    for (HWND window : threadWindows(GetCurrentThreadId()))
        if (IsWindowVisible(window) && className(window) == name) return true;
    return false;
}

// The top-level windows of a thread, for the report of a hang.
std::string describeWindows(DWORD thread) {
    std::string text;
    for (HWND window : threadWindows(thread)) {
        if (!IsWindowVisible(window)) continue;
        text += (text.empty() ? "" : ", ") + inQuotes(windowText(window)) + " (" +
                className(window) + (IsWindowEnabled(window) ? "" : ", disabled") + ")";
    }
    return text.empty() ? "none" : text;
}

bool styleVisible(HWND control) {
    return (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// What the crash filter and the watchdog say about the action under way.
struct Progress {
    std::mutex lock;
    std::string header;  // "action 12 [seed 7 ...]"
    std::string action;
    std::atomic<DWORD> startedAt{0};
    std::atomic<bool> busy{false};
};
Progress progress;

void printLine(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stdout, format, arguments);
    va_end(arguments);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

LONG WINAPI reportCrash(EXCEPTION_POINTERS* exception) {
    // The crash may have come while the lock was held.
    std::unique_lock guard(progress.lock, std::try_to_lock);
    printLine("FAIL %s %s: the program crashed: exception %08lX at %p", progress.header.c_str(),
              progress.action.c_str(), exception->ExceptionRecord->ExceptionCode,
              exception->ExceptionRecord->ExceptionAddress);
    return EXCEPTION_EXECUTE_HANDLER;
}

constexpr const char* KIND_NAMES[] = {
    "question",  "names-not-saved box", "model-not-saved box", "length box",  "name dialog",
    "about box", "extras' notice",      "site-not-saved box",  "degrees box", "unknown window"};

const char* kindName(BoxKind kind) {
    return KIND_NAMES[static_cast<std::size_t>(kind)];
}

class Monkey;
Monkey* running = nullptr;

void Monkey::note(const std::string& text) {
    // Host doings noted before the action's own words stay apart from them.
    if (!description_.empty() && !text.empty() && description_.back() == ']' &&
        std::isalpha(static_cast<unsigned char>(text.front())))
        description_ += ' ';
    description_ += description_.empty() && text.starts_with(' ') ? text.substr(1) : text;
    std::lock_guard guard(progress.lock);
    progress.action = description_;
}

void Monkey::setProgress() {
    std::lock_guard guard(progress.lock);
    char header[160];
    std::snprintf(
        header, sizeof header,
        "action %d [seed %u; repeat with: monkey.exe %d %u or tools/long-run.sh monkey %d %u]",
        number_, seed_, actions_, seed_, actions_, seed_);
    progress.header = header;
    progress.action = description_;
}

void Monkey::fail(const std::string& check, const std::string& detail) {
    // A fault that lasts (a name the file cannot hold) is told once, not
    // after every action that follows it.
    auto& last = lastFailure_[check];
    if (last == detail) return;
    last = detail;
    ++failures_;
    if (failures_ > PRINTED_FAILURES) return;
    setProgress();
    std::lock_guard guard(progress.lock);
    printLine("FAIL %s %s: %s: %s", progress.header.c_str(), description_.c_str(), check.c_str(),
              detail.c_str());
}

std::string Monkey::randomText(int length) {
    // Printable single-byte characters that survive the ANSI code page both
    // ways, the degree sign and other 8-bit letters among them.
    static const std::string pool =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,-+/()&#!?'\"=;[]"
        "\xB0\xB0\xE4\xF6\xFC\xDF\xE9\xC5\xA7\x80";
    std::string text;
    for (int i = 0; i < length; ++i)
        text += pool[static_cast<std::size_t>(between(0, static_cast<int>(pool.size()) - 1))];
    return text;
}

// ---------------------------------------------------------------- the host

TestHost& Monkey::newHost() {
    TestHost& host = hosts_.emplace_back();
    numbers_[&host] = static_cast<int>(hosts_.size());
    const std::string name = pick<std::string>({"Monkey viewer", "MD-API 1.1", "", "none"});
    if (name == "none") {
        host.answerApiQueryWith(std::nullopt);
    } else {
        host.answerApiQueryWith(name + std::string(1, '\0'));
    }
    apiNames_[&host] = name == "none" ? "" : name;
    heard_[&host] = 0;
    note(" [new " + hostName(host) + " answering " + inQuotes(name) + "]");
    return host;
}

std::string Monkey::hostName(const TestHost& host) const {
    return "host " + std::to_string(numbers_.at(&host));
}

void Monkey::startPlugin(TestHost& host) {
    checkHostMessages();
    note(" [On_Start with " + hostName(host) + "]");
    plugin_.start(host.window());
    // A start closes the window of the start before, and the extras with it:
    // the halt of a drive held there goes to the host of that window.
    windowGone();
    pumpMessages();
    checkHostMessages();
    current_ = &host;
    started_ = true;
}

void Monkey::exitPlugin() {
    checkHostMessages();
    note(" [On_Exit]");
    plugin_.exit();
    // The halt of a drive held in the extras goes out as they close.
    windowGone();
    pumpMessages();
    checkHostMessages();
    started_ = false;
}

void Monkey::windowGone() {
    if (window_) windowChanged_ = true;
    window_ = nullptr;
    drive_ = {};
    extrasGone();
}

void Monkey::adopt(HWND window) {
    window_ = window;
    windowChanged_ = true;
    drive_ = {};
    namesUnsaved_ = false;
    modelUnsaved_ = false;
    dialect_ = dialectForApiName(apiNames_[current_]);
}

void Monkey::openWindow() {
    const bool wasOpen = window_ != nullptr;
    if (!fs::exists(settings_)) created_ = true;
    note(" [menu: setup]");
    plugin_.menuSelect(ID_PLUGIN_SETUP);
    pumpMessages();
    const std::vector<HWND> open = setupWindows();
    if (wasOpen) {
        if (open.size() != 1 || open.front() != window_)
            fail("windows", "the menu on an open window left " + std::to_string(open.size()) +
                                " setup windows, or another one");
        return;
    }
    expected_.push_back(API_QUERY);
    if (open.size() != 1) {
        fail("windows", "the menu opened " + std::to_string(open.size()) + " setup windows");
        return;
    }
    adopt(open.front());
}

// The window actions need a started plug-in with a live host and its window.
void Monkey::ensureWindow() {
    if (window_) return;
    if (!hostAlive()) startPlugin(newHost());
    openWindow();
}

// Every host message since the last look: the current host gets what the
// actions asked for, in that order; no other host gets anything.
void Monkey::checkHostMessages() {
    std::vector<std::string> got;
    for (TestHost& host : hosts_) {
        const auto& messages = host.messages();
        std::size_t& heard = heard_[&host];
        const bool listening = started_ && &host == current_;
        for (; heard < messages.size(); ++heard) {
            heardByHost(host, receivedText(messages[heard]));
            if (listening) {
                got.push_back(receivedText(messages[heard]));
            } else {
                fail("host", hostName(host) +
                                 (started_ ? ", not the one started last," : " after On_Exit") +
                                 " received " + receivedText(messages[heard]));
            }
        }
    }
    // A host whose window is gone receives nothing: nothing to compare.
    if (hostAlive() && got != expected_)
        fail("commands", "the host received " + joined(got) + "; expected " + joined(expected_));
    expected_.clear();
}

// ---------------------------------------------------------------- boxes

// Runs an action with every box it raises answered at random, whichever loop
// is running then.
void Monkey::answeringBoxes(const std::function<void()>& action) {
    ModalScript script;
    for (int i = 0; i < ANSWERS_PER_ACTION; ++i)
        script.when(
            [this](HWND box) {
                const std::string caption = windowText(box);
                return caption != SETUP_CAPTION && caption != EXTRAS_CAPTION &&
                       !answering_.count(box);
            },
            [this](HWND box) { answer(box); });
    // A right-button drag that ends over the setup window's caption opens its
    // system menu, as it would under the real mouse; the user leaves it.
    const UINT_PTR menuCloser = SetTimer(nullptr, 0, MENU_LOOK_MS, &Monkey::closeMenus);
    script.runDuring(action);
    KillTimer(nullptr, menuCloser);
}

void CALLBACK Monkey::closeMenus(HWND, UINT, UINT_PTR, DWORD) {
    if (!running || !findWindowOfClass(MENU_CLASS)) return;
    running->note("; a popup menu, left");
    EndMenu();
}

void Monkey::answer(HWND box) {
    answering_.insert(box);
    const std::string caption = windowText(box);
    const std::string text = staticTexts(box);
    BoxSeen seen{BoxKind::Other};
    if (caption == RENAME_CAPTION) {
        seen.kind = BoxKind::Name;
    } else if (caption == ABOUT_CAPTION) {
        seen.kind = BoxKind::About;
    } else if (caption == PLUGIN_DISPLAY_NAME) {
        seen.kind = text.find(UNSAVED_NAMES_START) != std::string::npos   ? BoxKind::UnsavedNames
                    : text.find(UNSAVED_MODEL_START) != std::string::npos ? BoxKind::UnsavedModel
                    : text.find(LENGTH_START) != std::string::npos        ? BoxKind::Length
                    : text.find(DEGREES_START) != std::string::npos       ? BoxKind::Degrees
                                                                          : BoxKind::Question;
        if (const std::optional<BoxKind> extras = extrasBoxKind(text)) seen.kind = *extras;
    }
    seen.text = text;
    const int attempt = ++attempts_[box];
    if (attempt == 1) {
        boxIndex_[box] = boxes_.size();
        note(std::string("; ") + kindName(seen.kind));
        if (seen.kind == BoxKind::Other)
            fail("boxes", "unexpected window " + inQuotes(caption) + " " + inQuotes(text));
        if (seen.kind == BoxKind::UnsavedNames) namesUnsaved_ = true;
        if (seen.kind == BoxKind::UnsavedModel) modelUnsaved_ = true;
        if (seen.kind == BoxKind::Length) {
            if (!lengthBoxDue_) fail("boxes", "a length box for a name that was not too long");
            lengthBoxDue_ = false;
        }
        if (seen.kind == BoxKind::Degrees) {
            if (!degreesBoxDue_) fail("boxes", "a degrees box for degrees the spin could take");
            degreesBoxDue_ = false;
        }
        if ((seen.kind == BoxKind::UnsavedNames || seen.kind == BoxKind::UnsavedModel ||
             seen.kind == BoxKind::UnsavedSite) &&
            !readOnly_)
            fail("boxes", "the window says an edit was not saved, but the file can be written");
        // Real time passes while the box is open, and a drive goes on.
        if (drive_.locked && chance(5)) letTicksPass(between(1, 4));
        const HWND before = window_;
        if (chance(12)) disrupt(box);
        seen.windowClosed = before && window_ != before;
    }
    if (IsWindow(box) && IsWindowVisible(box)) {
        if (seen.kind == BoxKind::Name) {
            answerName(box, seen);
        } else {
            seen.accepted = pressSomething(box, false, [&](bool accepting) {
                if (seen.kind != BoxKind::Question || !onQuestionAccepted_) return;
                if (accepting && !seen.windowClosed) onQuestionAccepted_();
                onQuestionAccepted_ = [] {};
            });
        }
    } else {
        note(" (gone before an answer)");
    }
    if (attempt == 1) {
        boxes_.push_back(seen);
    } else {
        boxes_[boxIndex_[box]].accepted = seen.accepted;
    }
    answering_.erase(box);
}

// OK, Cancel, Escape or Enter, as the box offers them; firmer after a few
// attempts. True for OK or Enter.
bool Monkey::pressSomething(HWND box, bool offerEnter, const std::function<void(bool)>& ready) {
    enum { Ok, Cancel, Escape, Enter } chosen = Escape;
    const bool hasOk = GetDlgItem(box, IDOK) != nullptr;
    const bool hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    if (attempts_[box] > FIRM_ANSWER_AFTER) {
        note(" firmly");
        chosen = hasCancel ? Cancel : Ok;
    } else {
        chosen = offerEnter ? pick({Ok, Cancel, Escape, Enter}) : pick({Ok, Cancel, Escape});
        if ((chosen == Ok && !hasOk) || (chosen == Cancel && !hasCancel)) chosen = Escape;
    }
    const bool accepting = chosen == Ok || chosen == Enter;
    // What the answer leads to is known before it is given: a box that it
    // raises is answered before the press returns.
    if (ready) ready(accepting);
    switch (chosen) {
        case Ok:
            note(" OK");
            clickButton(box, IDOK);
            break;
        case Cancel:
            note(" Cancel");
            clickButton(box, IDCANCEL);
            break;
        case Escape:
            note(" Escape");
            pressKeyIn(box, VK_ESCAPE);
            break;
        case Enter:
            note(" Enter");
            pressKeyIn(box, VK_RETURN);
            break;
    }
    return accepting;
}

void Monkey::answerName(HWND dialog, BoxSeen& seen) {
    HWND field = GetDlgItem(dialog, IDC_SAT_NAME_EDIT);
    if (attempts_[dialog] <= FIRM_ANSWER_AFTER) {
        std::string name;
        bool pasted = false;
        switch (between(0, 11)) {
            case 0:
                name = "";
                break;
            case 1:
                name = randomText(SAT_NAME_MAX_CHARS);
                break;
            case 2:
                name =
                    "Astra 19.2\xB0"
                    "E";
                break;
            case 3:
                name =
                    pick<std::string>({"\"Astra\"", "'x'", "\"", "\"\"", "\"Hot Bird", "'Sirius'"});
                break;
            case 4:
                name = pick<std::string>({" Astra", "Hot Bird  ", "  ", " \"x\" ", "\tTab"});
                break;
            case 5:
                name = randomText(between(SAT_NAME_MAX_CHARS + 1, 63));
                pasted = true;
                break;
            case 6:
                name = randomText(between(SAT_NAME_MAX_CHARS + 1, 50));
                break;
            case 7:
                name = pick<std::string>({"a=b", ";not a comment", "[POSITIONER]",
                                          "TYPE=STAB HH100/120", "back\\slash"});
                break;
            case 8:
                name = pick<std::string>({"two\r\nlines", "POS1=x\r\n[X]"});
                pasted = true;
                break;
            default:
                name = randomText(between(1, 20));
                break;
        }
        note(" " + std::string(pasted ? "pasted " : "typed ") + inQuotes(name));
        if (pasted) {
            SetWindowTextA(field, name.c_str());
        } else {
            retype(field, name);
        }
    }
    const std::string shown = windowText(field);
    seen.accepted = pressSomething(dialog, true, [&](bool accepting) {
        if (!accepting) return;
        if (static_cast<int>(shown.size()) > SAT_NAME_MAX_CHARS) {
            lengthBoxDue_ = true;
        } else {
            renamedTo_ = shown;
        }
    });
}

// What a host may do while one of the plug-in's boxes is open. A box of one
// window leaves the other one enabled: while one of the extras' boxes is
// open, the user may close the setup window; while one of the setup window's
// is, drive from the extras.
void Monkey::disrupt(HWND box) {
    if (extras_ && chance(3)) {
        if (GetWindow(box, GW_OWNER) == extras_) {
            note(" [the setup window's Close]");
            clickButtonOf(IDC_CLOSE);
        } else {
            note(" [meanwhile in the extras:");
            holdDrive();
            note("]");
        }
        return;
    }
    const int what = between(0, 2);
    if (what == 0 || !hostAlive()) {
        exitPlugin();
        return;
    }
    startPlugin(*current_);
    if (what == 2) openWindow();
}

// ---------------------------------------------------------------- time

// Lets the drive timer's own ticks through, as real time passes, until
// `ticks` have reached the window or the drive is over.
void Monkey::letTicksPass(int ticks) {
    if (!window_ || !drive_.locked) return;
    note(" [" + std::to_string(ticks) + " ticks]");
    ticksLetThrough_ = true;
    const int goal = drive_.ticks + ticks;
    const DWORD bound = static_cast<DWORD>(ticks) * TICK_MS * 4 + 2000;
    const DWORD start = GetTickCount();
    while (window_ && drive_.locked && drive_.ticks < goal) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= bound) {
            fail("drive", "the drive timer stopped ticking with " +
                              std::to_string(drive_.remaining) + " ticks to go");
            drive_ = {};
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, bound - spent, QS_ALLINPUT);
        pumpMessages();
    }
    ticksLetThrough_ = false;
}

void Monkey::onRetrieved(MSG& message) {
    if (!window_ || message.hwnd != window_) return;
    if (message.message == WM_SATLIST_CHANGED) ++changes_;
    if (message.message != WM_TIMER || message.wParam != MOTION_TIMER_ID) return;
    if (!ticksLetThrough_) {
        message.message = WM_NULL;
        return;
    }
    // The tick after the count has run out ends the drive.
    if (!drive_.locked) return;
    ++drive_.ticks;
    if (drive_.remaining == 0) {
        drive_ = {};
    } else {
        --drive_.remaining;
    }
}

void Monkey::letTimePass() {
    ensureWindow();
    note("let time pass");
    letTicksPass(between(1, 10));
}

// ---------------------------------------------------------------- actions

PositionerModel Monkey::checkedModel() const {
    return SendMessageA(item(IDC_MODEL_MOTECK), BM_GETCHECK, 0, 0) == BST_CHECKED
               ? PositionerModel::Moteck
               : PositionerModel::Stab;
}

void Monkey::clickButtonOf(int id) {
    const HWND dialog = window_;
    HWND button = item(id);
    // A disabled control takes no click; under Wine a BM_CLICK would reach it.
    if (!IsWindowEnabled(button)) {
        note(" (disabled)");
        return;
    }
    const auto selected = [this](int picker) {
        return static_cast<int>(SendMessageA(item(picker), CB_GETCURSEL, 0, 0));
    };
    // The spin's answer: its position, and in the high word whether it could read its field.
    const auto spinAnswer = [this](int spin) { return SendMessageA(item(spin), UDM_GETPOS, 0, 0); };
    const std::size_t boxesBefore = boxes_.size();
    const PositionerModel model = checkedModel();
    switch (id) {
        case IDC_DRIVE_WEST:
        case IDC_DRIVE_EAST: {
            const bool east = id == IDC_DRIVE_EAST;
            const LRESULT answer = spinAnswer(east ? IDC_EAST_SPIN : IDC_WEST_SPIN);
            HWND field = item(east ? IDC_EAST_DEGREES : IDC_WEST_DEGREES);
            const std::string typed = windowText(field);
            // Only a whole number of degrees that the spin takes as it is shown is driven.
            const std::optional<double> number = decimalNumber(typed);
            if (HIWORD(answer) != 0 || !number || *number != std::floor(*number) || *number < 0 ||
                *number > 19) {
                // Nothing goes out; the field is corrected, and the user told why. Text without
                // a number gives back what the field last showed, which the monkey does not keep.
                const int corrected = nearestWholeNumber(typed, 0, 19, -1);
                note(" with " + inQuotes(typed) + " in the field");
                degreesBoxDue_ = true;
                clickButton(dialog, id);
                pumpMessages();
                if (degreesBoxDue_) fail("degrees", "no box told why nothing was driven");
                degreesBoxDue_ = false;
                const std::optional<double> after =
                    IsWindow(field) ? decimalNumber(windowText(field)) : std::nullopt;
                const bool fits = corrected >= 0 ? after && *after == corrected
                                                 : after && *after >= 0 && *after <= 19;
                if (IsWindow(field) && !fits)
                    fail("degrees", "the field shows " + inQuotes(windowText(field)) + " after " +
                                        inQuotes(typed) + ", not " +
                                        (corrected >= 0 ? std::to_string(corrected)
                                                        : std::string("a count from 0 to 19")));
                return;
            }
            const auto by = static_cast<std::uint16_t>(LOWORD(answer));
            note(" " + std::to_string(by) + " degrees");
            if (by == 0) break;
            expected_.push_back(commandText(dialect_, east ? PositionerCommands::driveEast(by)
                                                           : PositionerCommands::driveWest(by)));
            drive_ = {true, MotionTracker::durationMs(by, speed(model)) / TICK_MS, 0};
            break;
        }
        case IDC_STEP_WEST:
            expected_.push_back(commandText(dialect_, PositionerCommands::stepWest()));
            break;
        case IDC_STEP_EAST:
            expected_.push_back(commandText(dialect_, PositionerCommands::stepEast()));
            break;
        case IDC_STOP:
            // In the drive's last period the dish has nominally arrived; the
            // next tick ends it.
            if (drive_.locked && drive_.remaining > 0) {
                expected_.push_back(commandText(dialect_, PositionerCommands::halt()));
                haltClicked_ = true;
                drive_ = {};
            }
            break;
        case IDC_REFERENCE:
            expected_.push_back(commandText(dialect_, PositionerCommands::gotoPosition(0)));
            break;
        case IDC_GOTO:
        case IDC_STORE: {
            const int index = selected(id == IDC_GOTO ? IDC_GOTO_PICKER : IDC_STORE_PICKER);
            if (index < 0) break;
            const auto slot = static_cast<std::uint8_t>(index + 1);
            expected_.push_back(
                commandText(dialect_, id == IDC_GOTO ? PositionerCommands::gotoPosition(slot)
                                                     : PositionerCommands::storePosition(slot)));
            break;
        }
        case IDC_CLOSE:
            windowGone();
            break;
        default:
            break;
    }
    // The change of all positions is sent once the question has its OK,
    // before any box that follows it.
    if (id == IDC_RECALCULATE || id == IDC_FACTORY_RESET) {
        const bool factory = id == IDC_FACTORY_RESET;
        const int index = selected(IDC_RECALCULATE_PICKER);
        const ApiDialect dialect = dialect_;
        onQuestionAccepted_ = [this, factory, index, dialect] {
            if (factory) ++factoryWrites_;
            if (!factory && index < 0) return;
            const auto slot = static_cast<std::uint8_t>(factory ? 0 : index + 1);
            expected_.push_back(
                commandText(dialect, PositionerCommands::recalculatePositions(slot)));
        };
    }
    clickButton(dialog, id);
    pumpMessages();
    if (id != IDC_RECALCULATE && id != IDC_FACTORY_RESET) return;
    onQuestionAccepted_ = nullptr;
    const auto question =
        std::find_if(boxes_.begin() + static_cast<std::ptrdiff_t>(boxesBefore), boxes_.end(),
                     [](const BoxSeen& box) { return box.kind == BoxKind::Question; });
    if (question == boxes_.end()) {
        fail("boxes", "no question before a change of all stored positions");
        return;
    }
    if (id != IDC_FACTORY_RESET || !question->accepted || question->windowClosed) return;
    if (window_ && !windowChanged_) {
        const auto& factory = FactorySatelliteTable::names();
        const std::vector<std::string> shown = listNames(item(IDC_SAT_LIST));
        const std::vector<std::string> wanted(factory.begin(), factory.end());
        if (shown != wanted)
            fail("factory", "after a reset " + namesDifference(shown, wanted, "the factory has"));
    }
}

void Monkey::clickControl() {
    ensureWindow();
    const int id =
        pick({IDC_DRIVE_WEST, IDC_DRIVE_WEST, IDC_DRIVE_EAST, IDC_DRIVE_EAST, IDC_STEP_WEST,
              IDC_STEP_EAST, IDC_STOP, IDC_STOP, IDC_STOP, IDC_REFERENCE, IDC_GOTO, IDC_STORE,
              IDC_RECALCULATE, IDC_RECALCULATE, IDC_FACTORY_RESET, IDC_CLOSE});
    note("click " + windowText(item(id)));
    clickButtonOf(id);
}

void Monkey::setSpin() {
    ensureWindow();
    const bool west = chance(2);
    HWND field = item(west ? IDC_WEST_DEGREES : IDC_EAST_DEGREES);
    const std::string which = west ? "west" : "east";
    switch (between(0, 3)) {
        case 0: {
            const std::string value = std::to_string(between(0, 19));
            note("type " + value + " into the " + which + " degrees");
            retype(field, value);
            break;
        }
        case 1: {
            const std::string value =
                pick<std::string>({"20", "25", "99", "100", "65535", "007", "00", "123456"});
            note("type " + value + " into the " + which + " degrees");
            retype(field, value);
            break;
        }
        case 2: {
            const bool up = chance(2);
            const int presses = between(1, 25);
            note("press " + std::string(up ? "up" : "down") + " " + std::to_string(presses) +
                 " times in the " + which + " degrees");
            for (int i = 0; i < presses; ++i) {
                SendMessageA(field, WM_KEYDOWN, up ? VK_UP : VK_DOWN, 1);
                SendMessageA(field, WM_KEYUP, up ? VK_UP : VK_DOWN, 0xC0000001);
            }
            break;
        }
        default: {
            const std::string value = pick<std::string>({"-3", "abc", "", " 5", "1e3", "19x"});
            note("paste " + inQuotes(value) + " into the " + which + " degrees");
            SetWindowTextA(field, value.c_str());
            break;
        }
    }
    pumpMessages();
}

void Monkey::pickEntry() {
    ensureWindow();
    const int id = pick({IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER});
    HWND picker = item(id);
    const auto count = static_cast<int>(SendMessageA(picker, CB_GETCOUNT, 0, 0));
    if (count <= 0) {
        note("pick from an empty picker");
        return;
    }
    const int index = between(0, count - 1);
    note("pick entry " + std::to_string(index) + " of picker " + std::to_string(id));
    SendMessageA(picker, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(picker));
    pumpMessages();
}

void Monkey::clickModel() {
    ensureWindow();
    const int id = chance(2) ? IDC_MODEL_STAB : IDC_MODEL_MOTECK;
    note(std::string("click the ") + (id == IDC_MODEL_STAB ? "Stab" : "Moteck") + " radio");
    const PositionerModel chosen =
        id == IDC_MODEL_STAB ? PositionerModel::Stab : PositionerModel::Moteck;
    if (IsWindowEnabled(item(id)) && checkedModel() != chosen) ++modelWrites_;
    clickButtonOf(id);
}

void Monkey::drag() {
    ensureWindow();
    HWND list = item(IDC_SAT_LIST);
    const int from = between(0, ROWS - 1);
    const int shape = between(0, 5);
    const int to = shape == 0 ? from : between(0, ROWS - 1);
    const bool outside = shape == 1;
    const MouseButton button = chance(4) ? MouseButton::Right : MouseButton::Left;
    const MouseButton other = button == MouseButton::Left ? MouseButton::Right : MouseButton::Left;
    note("drag row " + std::to_string(from) +
         (outside ? " out of the list beside row " : " onto row ") + std::to_string(to) +
         (button == MouseButton::Right ? " with the right button" : ""));
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(from), FALSE);
    std::vector<PointerStep> steps{press(button, from), pull(from)};
    for (int hops = between(0, 2); hops > 0; --hops) steps.push_back(moveTo(between(0, ROWS - 1)));
    steps.push_back(outside ? moveBeside(to) : moveTo(to));
    if (chance(8)) {
        note(", the other button pressed on the way");
        steps.push_back(press(other, to));
        steps.push_back(release(other));
    }
    steps.push_back(release(button));

    const std::vector<std::string> before = listNames(list);
    const std::vector<std::string> stored = namesBeforeEdit(list);
    Pointer pointer(window_, list);
    pointer.perform(steps);
    pumpMessages();
    if (!window_ || windowChanged_) return;
    // A drag swaps two names or none, of those shown or, when it reached the file, of those the
    // file held.
    const std::vector<std::string> after = listNames(list);
    const auto swapsOrNone = [&after](const std::vector<std::string>& from) {
        std::vector<std::size_t> moved;
        for (std::size_t i = 0; i < from.size() && i < after.size(); ++i)
            if (from[i] != after[i]) moved.push_back(i);
        const bool swapped = moved.size() == 2 && from[moved[0]] == after[moved[1]] &&
                             from[moved[1]] == after[moved[0]];
        return after.size() == from.size() && (moved.empty() || swapped);
    };
    if (!swapsOrNone(before) && !swapsOrNone(stored))
        fail("drag",
             "the drag changed more than two rows: " + namesDifference(after, before, "before it"));
}

bool Monkey::seenSince(std::size_t first, BoxKind kind) const {
    return std::any_of(boxes_.begin() + static_cast<std::ptrdiff_t>(first), boxes_.end(),
                       [kind](const BoxSeen& box) { return box.kind == kind; });
}

void Monkey::rename() {
    ensureWindow();
    // Below the last row the name is asked all the same.
    const int row = chance(10) ? -1 : between(0, ROWS - 1);
    note("double-click row " + std::to_string(row));
    HWND list = item(IDC_SAT_LIST);
    if (row >= 0) SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    const std::vector<std::string> shownBefore = listNames(list);
    const std::vector<std::string> stored = namesBeforeEdit(list);
    renamedTo_.reset();
    lengthBoxDue_ = false;
    const std::size_t boxesBefore = boxes_.size();
    Pointer pointer(window_, list);
    pointer.doubleClick(row);
    pumpMessages();
    if (!seenSince(boxesBefore, BoxKind::Name)) fail("rename", "a double-click asked no name");
    if (lengthBoxDue_)
        fail("rename", "a name over the length limit went by without the box that refuses it");
    if (!window_ || windowChanged_) return;
    // A name given is set on the names the file holds; a dialog cancelled changes nothing.
    std::vector<std::string> expected = renamedTo_ ? stored : shownBefore;
    // A line break cannot be stored in the file: the window keeps a blank
    // in its place.
    if (renamedTo_ && row >= 0) expected[static_cast<std::size_t>(row)] = storableName(*renamedTo_);
    const std::vector<std::string> shown = listNames(list);
    if (shown != expected)
        fail("rename", namesDifference(shown, expected, "the name dialog was left with"));
}

void Monkey::aboutBox() {
    ensureWindow();
    note("open the about box from the system menu");
    const std::size_t boxesBefore = boxes_.size();
    SendMessageA(window_, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    pumpMessages();
    const bool shown =
        std::any_of(boxes_.begin() + static_cast<std::ptrdiff_t>(boxesBefore), boxes_.end(),
                    [](const BoxSeen& box) { return box.kind == BoxKind::About; });
    if (!shown) fail("about", "the system menu's entry showed no about box");
}

void Monkey::reopen() {
    note("host menu");
    if (window_ && chance(2)) {
        note(": close, then open");
        clickButtonOf(IDC_CLOSE);
    }
    ensureWindow();
    if (window_ && chance(3)) openWindow();
}

void Monkey::hostLife() {
    switch (between(0, 4)) {
        case 0:
            note("On_Exit");
            if (started_) {
                exitPlugin();
            } else {
                ensureWindow();
            }
            break;
        case 1:
            note("On_Start again");
            if (hostAlive()) {
                startPlugin(*current_);
            } else {
                ensureWindow();
            }
            break;
        case 2:
            note("destroy the host window");
            if (hostAlive()) {
                checkHostMessages();
                DestroyWindow(current_->window());
                dead_.insert(current_);
                pumpMessages();
            }
            break;
        default: {
            note("a new host window");
            TestHost* old = current_;
            TestHost& host = newHost();
            // Nothing reaches the new window before On_Start with it.
            if (window_ && chance(2)) {
                note(", clicks before its start");
                checkHostMessages();
                clickButtonOf(IDC_STEP_EAST);
                clickButtonOf(IDC_REFERENCE);
                checkHostMessages();
            }
            if (old && !dead_.count(old) && chance(2)) {
                note(", the old one destroyed");
                checkHostMessages();
                DestroyWindow(old->window());
                dead_.insert(old);
            }
            startPlugin(host);
            break;
        }
    }
}

void Monkey::toggleReadOnly() {
    if (!fs::exists(settings_)) {
        ensureWindow();
        return;
    }
    readOnly_ = !readOnly_;
    note(readOnly_ ? "make the settings file read-only" : "make the settings file writable");
    if (!SetFileAttributesA(settings_.string().c_str(),
                            readOnly_ ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL))
        fail("file", "cannot change the file's attributes: " + describeWin32Error(GetLastError()));
}

void Monkey::act() {
    // Weights: the window's own controls most, the host's doings least.
    static constexpr int WEIGHTS[] = {30, 6, 5, 4, 14, 12, 3, 4, 4, 3, 8, 30};
    std::discrete_distribution<int> kind(std::begin(WEIGHTS), std::end(WEIGHTS));
    switch (kind(random_)) {
        case 0:
            clickControl();
            break;
        case 1:
            setSpin();
            break;
        case 2:
            pickEntry();
            break;
        case 3:
            clickModel();
            break;
        case 4:
            drag();
            break;
        case 5:
            rename();
            break;
        case 6:
            aboutBox();
            break;
        case 7:
            reopen();
            break;
        case 8:
            hostLife();
            break;
        case 9:
            toggleReadOnly();
            break;
        case 10:
            letTimePass();
            break;
        default:
            extrasAction();
            break;
    }
}

// ---------------------------------------------------------------- checks

void Monkey::checkAfterAction() {
    checkHostMessages();

    const std::vector<HWND> open = setupWindows();
    if (open.size() != (window_ ? 1U : 0U) || (window_ && open.front() != window_))
        fail("windows", std::to_string(open.size()) + " setup windows open, expected " +
                            (window_ ? "1" : "none"));

    int unsavedNames = 0;
    int unsavedModel = 0;
    int unsavedSite = 0;
    for (const BoxSeen& box : boxes_) {
        unsavedNames += box.kind == BoxKind::UnsavedNames;
        unsavedModel += box.kind == BoxKind::UnsavedModel;
        unsavedSite += box.kind == BoxKind::UnsavedSite;
    }
    const int namesWrites = changes_ + factoryWrites_;
    // An edit that leaves the file as it is has nothing to save; any other
    // is saved or told to be unsaved, once: the names check below holds the
    // window to the file unless a box said otherwise.
    if (unsavedNames > namesWrites || unsavedModel > modelWrites_)
        fail("unsaved",
             std::to_string(unsavedNames) + " names and " + std::to_string(unsavedModel) +
                 " model boxes said an edit was not saved after " + std::to_string(namesWrites) +
                 " names and " + std::to_string(modelWrites_) + " model edits");
    if (unsavedSite > siteWrites_)
        fail("unsaved", std::to_string(unsavedSite) + " boxes said a site was not saved after " +
                            std::to_string(siteWrites_) + " site saves");
    if (namesWrites > 0 && unsavedNames == 0) namesUnsaved_ = false;
    if (modelWrites_ > 0 && unsavedModel == 0) modelUnsaved_ = false;

    if (window_) checkWindow();
    checkExtras();
}

std::vector<std::string> Monkey::namesBeforeEdit(HWND list) {
    if (!namesUnsaved_ || !fs::exists(settings_)) return listNames(list);
    const StoredSettings stored = SettingsFile(settings_.string(), files_).open();
    return {stored.names.begin(), stored.names.end()};
}

void Monkey::checkWindow() {
    HWND list = item(IDC_SAT_LIST);
    const std::vector<std::string> shown = listNames(list);
    if (shown.size() != SATELLITE_COUNT)
        fail("list", std::to_string(shown.size()) + " rows in the list");

    if (!fs::exists(settings_)) {
        fail("file", "the settings file is missing while the window is open");
        return;
    }
    SettingsFile file(settings_.string(), files_);
    const StoredSettings stored = file.open();
    if (!namesUnsaved_) {
        const std::vector<std::string> saved(stored.names.begin(), stored.names.end());
        if (shown != saved) fail("names", namesDifference(shown, saved, "the file holds"));
    }

    const int stab = static_cast<int>(SendMessageA(item(IDC_MODEL_STAB), BM_GETCHECK, 0, 0));
    const int moteck = static_cast<int>(SendMessageA(item(IDC_MODEL_MOTECK), BM_GETCHECK, 0, 0));
    if ((stab == BST_CHECKED) == (moteck == BST_CHECKED))
        fail("model", "the Stab radio is " + std::to_string(stab) + ", the Moteck radio " +
                          std::to_string(moteck));
    const PositionerModel model = checkedModel();
    if (!modelUnsaved_ && stored.model != model)
        fail("model", std::string("the window checks ") + settingsValue(model) +
                          ", the file holds " + settingsValue(stored.model));
    const auto offered = static_cast<std::size_t>(storedPositions(model));
    const std::vector<std::string> firstNames(
        shown.begin(),
        shown.begin() + static_cast<std::ptrdiff_t>(std::min(offered, shown.size())));
    for (int id : PICKERS) {
        const std::vector<std::string> entries = pickerEntries(item(id));
        if (entries != firstNames)
            fail("pickers", "picker " + std::to_string(id) + " holds " +
                                std::to_string(entries.size()) + " entries, not the first " +
                                std::to_string(offered) + " names of the list" +
                                (entries.size() == offered
                                     ? ": " + namesDifference(entries, firstNames, "the list has")
                                     : ""));
    }

    std::string wrong;
    for (int id : MOVEMENT_CONTROLS)
        if ((IsWindowEnabled(item(id)) != FALSE) == drive_.locked)
            wrong += " " + windowText(item(id));
    if (!wrong.empty())
        fail("drive",
             std::string(drive_.locked ? "enabled during a drive:" : "disabled with no drive:") +
                 wrong);
    int frames = 0;
    for (int id : FRAMES) frames += styleVisible(item(id));
    const int framesDue = drive_.locked && drive_.ticks > 0 ? 1 : 0;
    if (frames > 1 || (!drive_.locked && frames != 0) || (framesDue && frames != 1))
        fail("drive", std::to_string(frames) + " indicator pictures show, " +
                          (drive_.locked ? std::to_string(drive_.ticks) + " ticks into a drive"
                                         : "with no drive"));
}

// ---------------------------------------------------------------- the run

int Monkey::run() {
    printLine(
        "monkey: %d actions, seed %u (repeat with: monkey.exe %d %u, or tools/long-run.sh monkey "
        "%d %u)",
        actions_, seed_, actions_, seed_, actions_, seed_);
    folder_ =
        fs::temp_directory_path() / ("diseqc-monkey-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    const fs::path pluginCopy = folder_ / "diseqc.dll";
    settings_ = folder_ / "diseqc.ini";
    fs::copy_file(builtPluginPath(), pluginCopy);
    std::string error;
    if (!plugin_.load(pluginCopy.string(), error)) {
        printLine("FAIL [seed %u]: cannot load the plug-in: %s", seed_, error.c_str());
        return 1;
    }
    if (!std::getenv("DISEQC_TEST_POINTER")) _putenv("DISEQC_TEST_POINTER=messages");
    running = this;
    std::optional<RetrievalHook> gate;
    gate.emplace([this](MSG& message, bool removed) {
        if (removed) onRetrieved(message);
    });

    HANDLE finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const DWORD windowThread = GetCurrentThreadId();
    std::thread watchdog([finished, windowThread] {
        while (WaitForSingleObject(finished, 1000) == WAIT_TIMEOUT) {
            if (progress.busy && GetTickCount() - progress.startedAt > HANG_MS) {
                std::lock_guard guard(progress.lock);
                printLine("FAIL %s %s: hung for %lu s; open windows: %s", progress.header.c_str(),
                          progress.action.c_str(), HANG_MS / 1000,
                          describeWindows(windowThread).c_str());
                TerminateProcess(GetCurrentProcess(), 4);
            }
        }
    });

    const bool trace = std::getenv("MONKEY_TRACE") != nullptr;
    const DWORD start = GetTickCount();
    for (number_ = 1; number_ <= actions_; ++number_) {
        description_.clear();
        boxes_.clear();
        attempts_.clear();
        boxIndex_.clear();
        changes_ = 0;
        factoryWrites_ = 0;
        modelWrites_ = 0;
        siteWrites_ = 0;
        haltClicked_ = false;
        created_ = false;
        windowChanged_ = false;
        const std::string fileBefore = fileBytes(settings_);
        progress.startedAt = GetTickCount();
        progress.busy = true;
        setProgress();
        try {
            answeringBoxes([this] { act(); });
            pumpMessages();
            setProgress();
            checkAfterAction();
            if (trace) printLine("  %d %s", number_, description_.c_str());
            const bool edited =
                changes_ + factoryWrites_ + modelWrites_ + siteWrites_ > 0 || created_;
            if (!edited && fileBytes(settings_) != fileBefore)
                fail("file", "the settings file changed though nothing was edited");
            if (readOnly_ && fileBytes(settings_) != fileBefore)
                fail("file", "the read-only settings file changed");
        } catch (const std::exception& exception) {
            fail("monkey", std::string("exception: ") + exception.what());
        }
        progress.busy = false;
        ++doneActions_;
    }
    const double seconds = (GetTickCount() - start) / 1000.0;

    if (started_) exitPlugin();
    pumpMessages();
    gate.reset();
    running = nullptr;
    SetEvent(finished);
    watchdog.join();
    CloseHandle(finished);
    SetFileAttributesA(settings_.string().c_str(), FILE_ATTRIBUTE_NORMAL);
    hosts_.clear();
    plugin_.unload();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    printLine("monkey: %d actions done, seed %u, %.1f s, %d failures", doneActions_, seed_, seconds,
              failures_);
    return failures_ == 0 ? 0 : 1;
}

}  // namespace monkey

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: monkey <actions> [seed]\n");
        return 2;
    }
    const int actions = std::atoi(argv[1]);
    const unsigned seed =
        argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : GetTickCount();
    SetUnhandledExceptionFilter(&monkey::reportCrash);
    monkey::Monkey monkey(actions, seed);
    return monkey.run();
}
