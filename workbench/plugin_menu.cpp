#include "workbench/plugin_menu.h"

namespace {

void describeEntry(std::string& description, const std::string& entry) {
    if (!description.empty()) description += " | ";
    description += entry;
}

void copyEntries(HMENU source, HMENU target, MergedPluginMenu& merged) {
    const int count = GetMenuItemCount(source);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(source, static_cast<UINT>(position), TRUE, &item)) continue;

        std::string text(item.cch, '\0');
        if (item.cch != 0) {
            item.dwTypeData = text.data();
            item.cch += 1;  // room for the terminating zero
            // text.data() has size()+1 bytes, the last one for the terminator.
            if (!GetMenuItemInfoA(source, static_cast<UINT>(position), TRUE, &item)) continue;
        }

        if (item.fType & MFT_SEPARATOR) {
            AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
            describeEntry(merged.description, "separator");
            continue;
        }
        if (item.hSubMenu != nullptr) {
            HMENU popup = CreatePopupMenu();
            describeEntry(merged.description, "\"" + text + "\" [");
            MergedPluginMenu nested;
            copyEntries(item.hSubMenu, popup, nested);
            merged.commandIds.insert(merged.commandIds.end(), nested.commandIds.begin(),
                                     nested.commandIds.end());
            merged.description += nested.description + "]";
            AppendMenuA(target, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                        text.c_str());
            continue;
        }
        UINT flags = MF_STRING;
        if (item.fState & MFS_GRAYED) flags |= MF_GRAYED;
        if (item.fState & MFS_CHECKED) flags |= MF_CHECKED;
        AppendMenuA(target, flags, item.wID, text.c_str());
        merged.commandIds.push_back(item.wID);
        describeEntry(merged.description, std::to_string(item.wID) + " \"" + text + "\"");
    }
}

}  // namespace

MergedPluginMenu mergePluginMenu(HMODULE module, HMENU target) {
    MergedPluginMenu merged;
    HMENU menu = LoadMenuA(module, "EXTERN");
    if (menu == nullptr) return merged;
    merged.found = true;
    copyEntries(menu, target, merged);
    DestroyMenu(menu);
    return merged;
}
