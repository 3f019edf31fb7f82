#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

// Paths travel through the plug-in as UTF-8 and meet the wide Win32 API only
// here, so that no folder name is bent to fit the ANSI code page.

// None for text that is not UTF-8.
std::optional<std::wstring> wideFromUtf8(std::string_view text);
// None for a lone surrogate, which a file name may hold but UTF-8 cannot.
std::optional<std::string> utf8FromWide(std::wstring_view text);

// The wide path that the file functions take for a UTF-8 path: as it is, or,
// at MAX_PATH characters or more, in the extended form ("\\?\C:\...",
// "\\?\UNC\server\share\..."), which has no length limit. None when the path
// cannot be given.
std::optional<std::wstring> win32FilePath(const std::string& path);

// The path of a loaded module's file as UTF-8, however long; empty when it
// cannot be read whole.
std::string readModulePath(HINSTANCE module);
