#pragma once

#include <string>
#include <vector>

// Folders whose paths the ANSI file API cannot carry, for the plug-in to be
// installed in. Paths are wide throughout: a test that went through ANSI
// text would lose the very characters it is about.
struct UnusualFolder {
    const char* what;
    std::wstring path;  // with a trailing backslash
};

// A folder whose full path is longer than MAX_PATH, under `top`.
UnusualFolder makeLongFolder(const std::wstring& top);
// A folder named in Cyrillic, Greek and CJK letters, none of them in the
// ANSI code page of a Western system, under `top`.
UnusualFolder makeForeignFolder(const std::wstring& top);

// A fresh, empty folder for one test, in the temporary folder.
std::wstring makeWideScratchFolder(const char* tag);
// Removes the folder and everything below it, however deep.
void removeTree(const std::wstring& folder);

// The form of a path that the file API takes at any length.
std::wstring extendedPath(const std::wstring& path);
bool fileExists(const std::wstring& path);
std::string readWholeFile(const std::wstring& path);
// The names in a folder, without "." and "..".
std::vector<std::wstring> folderEntries(const std::wstring& folder);

std::string utf8(const std::wstring& text);
std::wstring wide(const std::string& utf8Text);
// Text in the ANSI code page, as the test helpers' narrow paths are.
std::wstring fromAnsi(const std::string& ansiText);
