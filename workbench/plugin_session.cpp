#include <cstring>

#include "host/host_messages.h"
#include "workbench/host_request_log.h"
#include "res/resource_ids.h"
#include "workbench/plugin_menu.h"
#include "host_driver/plugin_windows.h"
#include "workbench/workbench.h"

namespace {

constexpr std::size_t DISPLAY_NAME_BUFFER = 256;
// Fills the name buffer beforehand so that a plug-in that leaves it unterminated shows.
constexpr unsigned char UNWRITTEN = 0xCC;

std::string readDisplayName(Workbench& workbench) {
    char buffer[DISPLAY_NAME_BUFFER];
    std::memset(buffer, UNWRITTEN, sizeof buffer);
    workbench.plugin.sendName(buffer);
    const void* zero = std::memchr(buffer, 0, sizeof buffer);
    if (zero == nullptr) {
        workbench.log.line("plug-in: display name is not zero-terminated within 256 bytes");
        return {};
    }
    return std::string(static_cast<const char*>(buffer), static_cast<const char*>(zero));
}

void updateStatus(Workbench& workbench) {
    std::string text = "plug-in: " + workbench.displayName + "     API answer: ";
    text += workbench.options.answerApiQuery ? "\"" + workbench.options.apiName + "\"" : "none";
    SetWindowTextW(workbench.status, wideFromUtf8(text).c_str());
}

struct LeftWindows {
    HMODULE module;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectPluginWindow(HWND window, LPARAM context) {
    auto* left = reinterpret_cast<LeftWindows*>(context);
    const auto instance = reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    if (instance != left->module) return TRUE;
    // A combo box's drop-down list is a top-level window of its own; it goes
    // with its combo box, so only the combo box's window counts.
    char windowClass[16] = {};
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (std::strcmp(windowClass, "ComboLBox") != 0) left->windows.push_back(window);
    return TRUE;
}

// The model the setup window has chosen, as a user sees its buttons; none while it is closed.
std::optional<PositionerModel> chosenModel() {
    for (HWND window : setupWindows()) {
        if (IsDlgButtonChecked(window, IDC_MODEL_STAB) == BST_CHECKED) return PositionerModel::Stab;
        if (IsDlgButtonChecked(window, IDC_MODEL_MOTECK) == BST_CHECKED) {
            return PositionerModel::Moteck;
        }
    }
    return std::nullopt;
}

void turnDish(Workbench& workbench, const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (bytes) workbench.log.line(workbench.dish.command(*bytes, chosenModel()));
}

std::string captionOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

void startPlugin(Workbench& workbench) {
    workbench.plugin.start(workbench.window);

    workbench.displayName = utf8FromWindows1252(readDisplayName(workbench));
    const std::string caption = "DiSEqC Workbench - " + workbench.displayName;
    SetWindowTextW(workbench.window, wideFromUtf8(caption).c_str());
    updateStatus(workbench);
    workbench.log.line("plug-in: " + workbench.displayName);

    const MergedPluginMenu menu = mergePluginMenu(workbench.plugin.module(), workbench.pluginPopup);
    if (!menu.found) {
        AppendMenuA(workbench.pluginPopup, MF_STRING | MF_GRAYED, 0, "(no EXTERN menu)");
        workbench.log.line("plug-in has no EXTERN menu");
    } else {
        workbench.pluginMenuIds = menu.commandIds;
        workbench.log.line("plug-in menu: " + menu.description);
    }
    DrawMenuBar(workbench.window);
}

void selectPluginMenu(Workbench& workbench, UINT id) {
    if (workbench.pluginStopped) return;
    workbench.log.line("menu " + std::to_string(id) + " -> On_Menu_Select");
    workbench.plugin.menuSelect(static_cast<int>(id));
}

LRESULT handleHostMessage(Workbench& workbench, WPARAM code, LPARAM data) {
    switch (static_cast<std::uint32_t>(code)) {
        case HOST_MSG_QUERY_API: {
            if (!workbench.options.answerApiQuery) {
                workbench.log.line("API query not answered");
                return 0;
            }
            if (data == 0) {
                workbench.log.line("API query not answered: null buffer");
                return 0;
            }
            const std::size_t written =
                writeApiName(reinterpret_cast<char*>(data), workbench.options.apiName);
            std::string line = "API query answered: " + workbench.options.apiName;
            if (written == HOST_API_NAME_BUFFER) {
                line = "API query answered: " +
                       workbench.options.apiName.substr(0, HOST_API_NAME_BUFFER) +
                       " (all 256 bytes, no terminating zero)";
            }
            workbench.log.line(line);
            return 1;
        }
        case HOST_MSG_SEND_DISEQC:
            workbench.log.line(nativeCommandLine(reinterpret_cast<const std::uint8_t*>(data)));
            turnDish(workbench, nativeCommandBytes(reinterpret_cast<const std::uint8_t*>(data)));
            return 1;
        case HOST_MSG_SEND_DISEQC_RECORD:
            for (const std::string& line :
                 commandRecordLines(reinterpret_cast<const void*>(data))) {
                workbench.log.line(line);
            }
            turnDish(workbench, recordCommandBytes(reinterpret_cast<const void*>(data)));
            return 1;
        default:
            workbench.log.line("unknown host message " + hex32(static_cast<std::uint32_t>(code)));
            return 0;
    }
}

void stopPlugin(Workbench& workbench) {
    if (!workbench.plugin.loaded() || workbench.pluginStopped) return;
    workbench.pluginStopped = true;
    workbench.plugin.exit();

    LeftWindows left{workbench.plugin.module(), {}};
    EnumThreadWindows(GetCurrentThreadId(), collectPluginWindow, reinterpret_cast<LPARAM>(&left));
    if (left.windows.empty()) {
        workbench.plugin.unload();
    } else {
        // Unloading now would leave those windows with a procedure that is gone.
        for (HWND window : left.windows) {
            workbench.log.line("plug-in left a window open after On_Exit: \"" + captionOf(window) +
                               "\"; not unloading it");
        }
        workbench.exitCode = EXIT_RUN_FAULT;
    }
    workbench.log.line("closed");
}
