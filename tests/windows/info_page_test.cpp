#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"

#include "tests/windows/plugin_library.h"
#include "tests/windows/test_host.h"
#include "tests/windows/unusual_folder.h"

namespace {

// Registers a recorder as the handler of the res: scheme, as a browser would
// register itself, so that the test sees exactly what the shell was asked to
// open, through the shell's own dispatch.
class InfoCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = makeScratchFolder("info");
        record = folder + "address.txt";
        std::string command = binDirectory();
        command.insert(0, 1, '"');
        command += "res_recorder.exe\" \"" + record + "\" \"%1\"";
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "res\\shell\\open\\command", 0, nullptr, 0,
                                  KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
    }

    void TearDown() override {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "res");
        removeTree(fromAnsi(folder));
    }

    // The shell starts the handler as a process of its own, which renames its
    // record into the folder when it is done: wake on that change, not on a clock.
    std::string addressOpenedByTheShell() const {
        const HANDLE change =
            FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
        if (change == INVALID_HANDLE_VALUE) return "<cannot watch " + folder + ">";
        const ULONGLONG deadline = GetTickCount64() + 30000;
        std::string address = "<the shell opened nothing>";
        for (;;) {
            if (GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES) {
                // Seen under its name while the handler's rename still holds
                // it, the record cannot be opened yet, and no further change
                // will be announced: look again shortly.
                address = readWholeFile(record);
                if (!address.empty() || GetTickCount64() >= deadline) break;
                Sleep(20);
                continue;
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline ||
                WaitForSingleObject(change, static_cast<DWORD>(deadline - now)) != WAIT_OBJECT_0 ||
                !FindNextChangeNotification(change))
                break;
        }
        FindCloseChangeNotification(change);
        return address;
    }

    std::string askForInfoPage(const std::wstring& pluginPath) const {
        PluginLibrary plugin(pluginPath);
        TestHost host;
        plugin.start(host.window());
        plugin.menuSelect(ID_PLUGIN_INFO);
        return addressOpenedByTheShell();
    }

    std::string folder;
    std::string record;
};

// One test for every file: the handler's registration is shared by the whole
// prefix, and tests in parallel processes would take it from each other.
TEST_F(InfoCommand, OpensTheInfoResourceOfThePlugInsOwnFileWhateverItsNameAndFolder) {
    const std::wstring built = fromAnsi(builtPluginPath());
    std::vector<std::wstring> plugins = {built, fromAnsi(folder) + L"rotor.dll"};
    for (const UnusualFolder& unusual :
         {makeLongFolder(fromAnsi(folder)), makeForeignFolder(fromAnsi(folder))})
        plugins.push_back(unusual.path + L"diseqc.dll");
    for (const std::wstring& plugin : plugins) {
        SCOPED_TRACE(utf8(plugin));
        if (plugin != built) {
            ASSERT_TRUE(
                CopyFileW(extendedPath(built).c_str(), extendedPath(plugin).c_str(), FALSE));
        }
        DeleteFileA(record.c_str());
        EXPECT_EQ(askForInfoPage(plugin), "res://" + utf8(plugin) + "/Info");
    }
}

}  // namespace
