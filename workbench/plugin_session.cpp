#include <cstring>

#include "host/host_messages.h"
#include "workbench/host_request_log.h"
#include "workbench/plugin_menu.h"
#include "workbench/plugin_settings.h"
#include "workbench/workbench.h"

namespace {

constexpr std::size_t DISPLAY_NAME_BUFFER = 256;
// Fills the name buffer beforehand so that a plug-in that leaves it unterminated shows.
constexpr unsigned char UNWRITTEN = 0xCC;

std::string readDisplayName(const PluginModule& plugin, WorkbenchLog& log) {
    char buffer[DISPLAY_NAME_BUFFER];
    std::memset(buffer, UNWRITTEN, sizeof buffer);
    plugin.sendName(buffer);
    const void* zero = std::memchr(buffer, 0, sizeof buffer);
    if (zero == nullptr) {
        log.line("plug-in: display name is not zero-terminated within 256 bytes");
        return {};
    }
    return std::string(static_cast<const char*>(buffer), static_cast<const char*>(zero));
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

std::string captionOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

void Workbench::startPlugin() {
    settingsPath_ = settingsPathOf(plugin_.module());
    dish_.watchBelief(dishStatePathOf(settingsPath_));
    plugin_.start(window_);

    displayName_ = utf8FromWindows1252(readDisplayName(plugin_, log_));
    const std::string caption = "DiSEqC Workbench - " + displayName_;
    SetWindowTextW(window_, wideFromUtf8(caption).c_str());
    updateStatus();
    log_.line("plug-in: " + displayName_);

    const MergedPluginMenu menu = mergePluginMenu(plugin_.module(), pluginPopup_);
    if (!menu.found) {
        AppendMenuA(pluginPopup_, MF_STRING | MF_GRAYED, 0, "(no EXTERN menu)");
        log_.line("plug-in has no EXTERN menu");
    } else {
        pluginMenuIds_ = menu.commandIds;
        log_.line("plug-in menu: " + menu.description);
    }
    DrawMenuBar(window_);
}

void Workbench::updateStatus() {
    std::string text = "plug-in: " + displayName_ + "     API answer: ";
    text += options_.answerApiQuery ? "\"" + options_.apiName + "\"" : "none";
    SetWindowTextW(status_, wideFromUtf8(text).c_str());
}

void Workbench::selectPluginMenu(UINT id) {
    if (pluginStopped_) return;
    log_.line("menu " + std::to_string(id) + " -> On_Menu_Select");
    plugin_.menuSelect(static_cast<int>(id));
}

void Workbench::turnDish(const std::optional<std::vector<std::uint8_t>>& bytes) {
    // The model that the user chose, as the plug-in stored it: a host has no
    // business reading the plug-in's controls.
    if (bytes) log_.line(dish_.command(*bytes, storedModel(settingsPath_)));
}

LRESULT Workbench::handleHostMessage(WPARAM code, LPARAM data) {
    switch (static_cast<std::uint32_t>(code)) {
        case HOST_MSG_QUERY_API: {
            if (!options_.answerApiQuery) {
                log_.line("API query not answered");
                return 0;
            }
            if (data == 0) {
                log_.line("API query not answered: null buffer");
                return 0;
            }
            const std::size_t written =
                writeApiName(reinterpret_cast<char*>(data), options_.apiName);
            std::string line = "API query answered: " + options_.apiName;
            if (written == HOST_API_NAME_BUFFER) {
                line = "API query answered: " + options_.apiName.substr(0, HOST_API_NAME_BUFFER) +
                       " (all 256 bytes, no terminating zero)";
            }
            log_.line(line);
            return 1;
        }
        case HOST_MSG_SEND_DISEQC:
            log_.line(nativeCommandLine(reinterpret_cast<const std::uint8_t*>(data)));
            turnDish(nativeCommandBytes(reinterpret_cast<const std::uint8_t*>(data)));
            return 1;
        case HOST_MSG_SEND_DISEQC_RECORD:
            for (const std::string& line :
                 commandRecordLines(reinterpret_cast<const void*>(data))) {
                log_.line(line);
            }
            turnDish(recordCommandBytes(reinterpret_cast<const void*>(data)));
            return 1;
        default:
            log_.line("unknown host message " + hex32(static_cast<std::uint32_t>(code)));
            return 0;
    }
}

void Workbench::stopPlugin() {
    if (!plugin_.loaded() || pluginStopped_) return;
    pluginStopped_ = true;
    plugin_.exit();

    LeftWindows left{plugin_.module(), {}};
    EnumThreadWindows(GetCurrentThreadId(), collectPluginWindow, reinterpret_cast<LPARAM>(&left));
    // Unloading with windows left would leave them with a procedure that is gone.
    if (left.windows.empty()) plugin_.unload();
    for (HWND window : left.windows) {
        fault("plug-in left a window open after On_Exit: \"" + captionOf(window) +
              "\"; not unloading it");
    }
    log_.line("closed");
}
