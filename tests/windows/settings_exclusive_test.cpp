#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "store/portable_profile.h"
#include "store/settings_file.h"
#include "store/win32_profile.h"

namespace fs = std::filesystem;

namespace {

struct Holder {
    const char* label;
    DWORD access;
    DWORD shareMode;
};

// Share mode 0 locks every other opener out; the sharing writer lets the profile functions in,
// which is what would let factory names overwrite the file if start-up took it for missing.
constexpr Holder HOLDERS[] = {
    {"ExclusiveHolder", GENERIC_READ | GENERIC_WRITE, 0},
    {"SharingWriter", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
};

struct Implementation {
    const char* label;
    std::unique_ptr<ProfileAccess> (*make)();
};

const Implementation IMPLEMENTATIONS[] = {
    {"Win32", [] { return std::unique_ptr<ProfileAccess>(new Win32Profile); }},
    {"Portable", [] { return std::unique_ptr<ProfileAccess>(new PortableProfile); }},
};

std::string customContent() {
    std::string content = "[SATELLITE NAMES]\r\n";
    for (int n = 1; n <= 60; ++n)
        content += "POS" + std::to_string(n) + "=Mine " + std::to_string(n) + "\r\n";
    return content + "[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n";
}

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SettingsHeldByAnotherProgram, StartUpKeepsEveryStoredName) {
    const fs::path directory = fs::temp_directory_path() / "diseqc-settings-held";
    fs::create_directories(directory);
    const std::string content = customContent();

    for (const Implementation& implementation : IMPLEMENTATIONS) {
        for (const Holder& holder : HOLDERS) {
            SCOPED_TRACE(std::string(implementation.label) + " with " + holder.label);
            const fs::path file =
                directory / (std::string(implementation.label) + holder.label + ".ini");
            std::ofstream(file, std::ios::binary) << content;
            const std::unique_ptr<ProfileAccess> profile = implementation.make();
            SettingsFile settings(file.string(), *profile);

            const HANDLE held = CreateFileA(file.string().c_str(), holder.access, holder.shareMode,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE) << "error " << GetLastError();
            EXPECT_NE(profile->probeForReading(file.string()), ProfileAccess::Probe::Missing);
            settings.ensureExists();
            settings.readNames();
            settings.readModel();
            CloseHandle(held);

            EXPECT_EQ(contentOf(file), content);
            const SatelliteNameTable names = settings.readNames();
            for (int n = 1; n <= 60; ++n) {
                EXPECT_EQ(names[n - 1], "Mine " + std::to_string(n)) << "position " << n;
            }
            EXPECT_EQ(settings.readModel(), PositionerModel::Moteck);
            fs::remove(file);
        }
    }
}

}  // namespace
