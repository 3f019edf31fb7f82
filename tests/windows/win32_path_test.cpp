#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <windows.h>

#include "store/win32_path.h"
#include "tests/windows/unusual_folder.h"

namespace {

// The forms in which a UTF-8 path reaches the file API: a UNC share and the
// dots and slashes of a long path cannot be tried on a real disk here.
TEST(Win32FilePath, TakesTheFormThatTheFileApiAcceptsAtAnyLength) {
    const std::string longName(300, 'a');
    const std::wstring longWide(300, L'a');
    const std::string limit(MAX_PATH - 1 - 3, 'b');  // "C:\" and the name: MAX_PATH - 1
    const std::wstring limitWide(limit.begin(), limit.end());
    struct Case {
        const char* what;
        std::string path;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {"short", "C:\\Plugins\\diseqc.ini", L"C:\\Plugins\\diseqc.ini"},
        {"short, outside ASCII", "C:\\\xD0\xA1\xCE\x94\xE8\xA1\x9B\\diseqc.ini",
         L"C:\\\x0421\x0394\x885B\\diseqc.ini"},
        {"one short of MAX_PATH", "C:\\" + limit, L"C:\\" + limitWide},
        {"MAX_PATH", "C:\\" + limit + "b", L"\\\\?\\C:\\" + limitWide + L"b"},
        {"long", "C:\\" + longName + "\\diseqc.ini", L"\\\\?\\C:\\" + longWide + L"\\diseqc.ini"},
        {"long, on a share", "\\\\server\\share\\" + longName + "\\diseqc.ini",
         L"\\\\?\\UNC\\server\\share\\" + longWide + L"\\diseqc.ini"},
        {"long, with dots and slashes", "C:/" + longName + "/./x/../diseqc.ini",
         L"\\\\?\\C:\\" + longWide + L"\\diseqc.ini"},
        {"long, extended already", "\\\\?\\C:\\" + longName, L"\\\\?\\C:\\" + longWide},
        {"not UTF-8", "C:\\Plugins\\\xB0.ini", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.what);
        const std::optional<std::wstring> path = win32FilePath(entry.path);
        ASSERT_EQ(path.has_value(), entry.expected.has_value());
        if (path) {
            EXPECT_EQ(utf8(*path), utf8(*entry.expected));
        }
    }
}

}  // namespace
