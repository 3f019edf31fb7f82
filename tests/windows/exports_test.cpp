#include <gtest/gtest.h>

#include <cstring>

#include "res/resource_ids.h"
#include "tests/windows/plugin_library.h"
#include "tests/windows/test_host.h"

namespace {

#if defined(__i386__)
// Calls `function` with `argumentCount` zero arguments pushed the way a
// viewer pushes them and reports how far the stack pointer moved by the
// call. A cdecl function leaves its arguments for the caller to remove.
int stackBytesLeftByCall(FARPROC function, int argumentCount) {
    int left;
    void* target = reinterpret_cast<void*>(function);
    asm volatile(
        "mov %%esp, %%esi\n\t"
        "mov %%edx, %%ecx\n\t"
        "1:\n\t"
        "test %%ecx, %%ecx\n\t"
        "jz 2f\n\t"
        "push $0\n\t"
        "dec %%ecx\n\t"
        "jmp 1b\n\t"
        "2:\n\t"
        "call *%%eax\n\t"
        "mov %%esi, %%edi\n\t"
        "sub %%esp, %%edi\n\t"
        "mov %%esi, %%esp\n\t"
        : "=&D"(left), "+a"(target), "+d"(argumentCount)
        :
        : "ecx", "esi", "memory", "cc");
    return left;
}
#endif

struct ExportCase {
    const char* name;
    WORD ordinal;
    int arguments;
};

constexpr ExportCase EXPORTS[] = {
    {"On_Send_Dll_ID_Name", 1, 1},
    {"On_Menu_Select", 2, 1},
    {"On_Start", 5, 4},
    {"On_Exit", 6, 0},
};

TEST(Exports, EachNameAndItsOrdinalResolveToTheSameFunction) {
    PluginLibrary plugin;
    for (const ExportCase& entry : EXPORTS) {
        SCOPED_TRACE(entry.name);
        FARPROC byName = plugin.exportNamed(entry.name);
        ASSERT_NE(byName, nullptr);
        EXPECT_EQ(byName, plugin.exportNumbered(entry.ordinal));
    }
    EXPECT_EQ(plugin.exportNumbered(3), nullptr);
    EXPECT_EQ(plugin.exportNumbered(4), nullptr);
    EXPECT_EQ(plugin.exportNumbered(7), nullptr);
}

TEST(Exports, EveryCallLeavesItsArgumentsForTheCallerToRemove) {
#if !defined(__i386__)
    GTEST_SKIP() << "x86-64 has one calling convention: the callee never removes arguments, so "
                    "there is no cdecl/stdcall mismatch to catch";
#else
    PluginLibrary plugin;
    // All-zero arguments: a null name buffer, menu command 0, a start without
    // host window and an exit, none of which may fault.
    for (const ExportCase& entry : EXPORTS) {
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(stackBytesLeftByCall(plugin.exportNamed(entry.name), entry.arguments),
                  4 * entry.arguments);
    }
#endif
}

TEST(Exports, DisplayNameFillsFifteenBytesAndNothingBeyond) {
    PluginLibrary plugin;
    unsigned char buffer[64];
    std::memset(buffer, 0xCC, sizeof buffer);
    plugin.sendName(reinterpret_cast<char*>(buffer));
    EXPECT_EQ(std::memcmp(buffer, "DiSEqC Control", 15), 0);
    EXPECT_EQ(buffer[14], 0);
    for (std::size_t i = 15; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], 0xCC) << "byte " << i;
}

TEST(Exports, CallsBeforeStartAndRepeatedExitsDoNoHarm) {
    PluginLibrary plugin;
    plugin.sendName(nullptr);
    plugin.menuSelect(ID_PLUGIN_SETUP);
    plugin.menuSelect(ID_PLUGIN_INFO);
    plugin.menuSelect(0);
    plugin.exit();
    plugin.exit();
    TestHost host;
    plugin.start(host.window());
    plugin.menuSelect(12345);
    plugin.exit();
    plugin.exit();
    pumpMessages();
    // Nothing reached the host: no window was opened that could identify it.
    EXPECT_TRUE(host.messages().empty());
    char name[16] = {};
    plugin.sendName(name);
    EXPECT_STREQ(name, "DiSEqC Control");
}

}  // namespace
