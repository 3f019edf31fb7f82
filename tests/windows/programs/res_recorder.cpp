// Registered as the res: scheme's handler in the test prefix, as
//   res_recorder.exe "<record file>" "%1"
// It records the address that the shell handed over, in UTF-8, so a test sees
// what the plug-in asked the shell to open, whatever characters its path holds.
#include <optional>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "store/win32_path.h"

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    const std::optional<std::string> address = utf8FromWide(argv[2]);
    if (!address) return 1;
    const std::string& bytes = *address;
    // Written under a temporary name first, so that a reader never sees half
    // an address.
    const std::wstring record = argv[1];
    const std::wstring temp = record + L".tmp";
    const HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const bool whole =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return whole && MoveFileExW(temp.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
