#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MergedPluginMenu {
    bool found = false;            // the module has an "EXTERN" menu
    std::vector<UINT> commandIds;  // ids to forward to On_Menu_Select
    std::string description;       // the entries, for the log
};

// Copies the entries of the module's "EXTERN" menu to the end of `target`, so
// that the plug-in's menu resource itself can be released at once.
MergedPluginMenu mergePluginMenu(HMODULE module, HMENU target);
