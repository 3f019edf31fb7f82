#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/plugin_library.h"
#include "tests/windows/setup_window_fixture.h"
#include "tests/windows/test_host.h"
#include "tests/windows/unusual_folder.h"
#include "host_driver/modal_script.h"

namespace {

// What the plug-in had to tell the user while `action` ran, if anything; the
// box is answered, so that a fault shows as a failure and not as a hang.
std::string messageDuring(const std::function<void()>& action) {
    std::string told;
    ModalScript script;
    script.when(PLUGIN_DISPLAY_NAME, [&](HWND box) {
        told = staticTexts(box);
        clickButton(box, IDOK);
    });
    script.runDuring(action);
    return told;
}

// The plug-in copied into folders that only the wide API can name, opened,
// edited and opened again, with its settings file read from the disk.
TEST(InstallPath, SettingsFileIsMadeEditedAndReadBesideThePlugInInAnyFolder) {
    const std::wstring top = makeWideScratchFolder("install");
    for (const UnusualFolder& folder : {makeLongFolder(top), makeForeignFolder(top)}) {
        SCOPED_TRACE(folder.what);
        const std::wstring plugInFile = folder.path + L"diseqc.dll";
        const std::wstring settings = folder.path + L"diseqc.ini";
        ASSERT_TRUE(CopyFileW(extendedPath(fromAnsi(builtPluginPath())).c_str(),
                              extendedPath(plugInFile).c_str(), TRUE))
            << utf8(plugInFile);
        {
            PluginLibrary plugin(plugInFile);
            TestHost host;
            host.answerApiQueryWith(std::string("TestViewer 2.1"));
            plugin.start(host.window());

            EXPECT_EQ(messageDuring([&] { plugin.menuSelect(ID_PLUGIN_SETUP); }), "");
            std::vector<HWND> open = setupWindows();
            ASSERT_EQ(open.size(), 1u) << "no setup window";
            EXPECT_EQ(readWholeFile(settings), factorySettingsFile()) << utf8(settings);
            EXPECT_EQ(messageDuring([&] { DialogDriver(open.front()).click(IDC_MODEL_MOTECK); }),
                      "");
            EXPECT_EQ(readWholeFile(settings), factorySettingsFile(MOTECK_TYPE));
            plugin.exit();
            pumpMessages();

            // Opened again, the window shows what it had written there.
            plugin.menuSelect(ID_PLUGIN_SETUP);
            open = setupWindows();
            ASSERT_EQ(open.size(), 1u) << "no setup window the second time";
            EXPECT_TRUE(DialogDriver(open.front()).isChecked(IDC_MODEL_MOTECK));
            plugin.exit();
            pumpMessages();
        }
        std::vector<std::wstring> beside = folderEntries(folder.path);
        std::sort(beside.begin(), beside.end());
        // The model's speed is part of the dish's state, kept beside the settings.
        EXPECT_EQ(beside, (std::vector<std::wstring>{L"diseqc.dish", L"diseqc.dll", L"diseqc.ini"}))
            << "nothing else, no file left half-way";
    }
    removeTree(top);
}

}  // namespace
