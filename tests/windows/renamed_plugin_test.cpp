#include <gtest/gtest.h>

#include <string>

#include "res/resource_ids.h"
#include "tests/windows/plugin_library.h"
#include "tests/windows/test_host.h"

namespace {

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(RenamedPlugIn, KeepsItsSettingsBesideItselfUnderItsOwnName) {
    const std::string folder = makeScratchFolder("renamed");
    const std::string renamed = folder + "rotor.dll";
    ASSERT_TRUE(CopyFileA(builtPluginPath().c_str(), renamed.c_str(), FALSE));
    {
        PluginLibrary plugin(renamed);
        TestHost host;
        plugin.start(host.window());
        plugin.menuSelect(ID_PLUGIN_SETUP);
        plugin.exit();
        pumpMessages();
    }
    EXPECT_TRUE(exists(folder + "rotor.ini"));
    EXPECT_FALSE(exists(folder + "diseqc.ini"));
    // Not beside the host program either, as a look-up by the name
    // "diseqc.dll" would have it.
    EXPECT_FALSE(exists(binDirectory() + "windows_tests.ini"));
    const std::string settings = readWholeFile(folder + "rotor.ini");
    EXPECT_EQ(settings.rfind("[SATELLITE NAMES]\r\nPOS1=Hot Bird  13\xB0"
                             "E\r\n",
                             0),
              0u);
    removeFolder(folder);
}

}  // namespace
