#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "host_driver/plugin_module.h"

namespace {

using GlobalFlagsReader = ULONG(WINAPI*)();

std::string ownFileName() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, length);
    const std::size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? full : full.substr(slash + 1);
}

}  // namespace

// The build names the programs that run under Wine's heap checks and the
// runner writes them into the prefix; a break anywhere on that way would let
// every test pass with no heap checked at all. The process's own global flags
// are what Wine made of it.
TEST(HeapChecks, ThisProgramRunsUnderTheChecksItsBuildAsksFor) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    ASSERT_NE(ntdll, nullptr);
    if (!GetProcAddress(ntdll, "wine_get_version"))
        GTEST_SKIP() << "the checks are set up only in the tests' Wine prefixes";
    const auto readFlags = exportOf<GlobalFlagsReader>(ntdll, "RtlGetNtGlobalFlags");
    ASSERT_NE(readFlags, nullptr);

    const std::string name = ownFileName();
    const ULONG expected =
        name == "heap_checked_tests.exe" ? DISEQC_FULL_HEAP_CHECKS : DISEQC_HEAP_CHECKS;
    EXPECT_EQ(readFlags() & expected, expected)
        << name << " runs with flags 0x" << std::hex << readFlags();
}
