#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "store/portable_profile.h"
#include "store/win32_profile.h"

namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Holder {
    const char* label;
    DWORD access;
    DWORD shareMode;
    bool blocksReading;
};

// Another program holds the file: locked against everyone; open so that it can
// still be written but no longer read; or writing it while sharing it.
constexpr Holder HOLDERS[] = {
    {"exclusive holder", GENERIC_READ | GENERIC_WRITE, 0, true},
    {"reader that shares only writing", GENERIC_READ, FILE_SHARE_WRITE, true},
    {"sharing writer", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
};

// A write that cannot see the other keys must not replace them all with its own.
TEST(ProfileHeldByAnotherProgram, IsNeverTakenForMissingAndAWriteBlindToItChangesNothing) {
    const struct {
        const char* label;
        std::unique_ptr<ProfileAccess> profile;
    } implementations[] = {
        {"Win32", std::make_unique<Win32Profile>()},
        {"Portable", std::make_unique<PortableProfile>()},
    };
    const fs::path directory = fs::temp_directory_path() / "diseqc-profile-held";
    fs::create_directories(directory);
    const std::string content = "[SATELLITE NAMES]\r\nPOS1=Mine\r\nPOS2=Also mine\r\n";

    for (const auto& implementation : implementations) {
        for (const Holder& holder : HOLDERS) {
            SCOPED_TRACE(std::string(implementation.label) + ", " + holder.label);
            const fs::path file = directory / (std::string(implementation.label) + ".ini");
            std::ofstream(file, std::ios::binary) << content;
            const std::string path = file.string();

            const HANDLE held = CreateFileA(path.c_str(), holder.access, holder.shareMode, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE) << "error " << GetLastError();
            // Missing would make start-up write factory names over the user's own.
            EXPECT_NE(implementation.profile->probeForReading(path), ProfileAccess::Probe::Missing);
            if (holder.blocksReading) {
                EXPECT_EQ(
                    implementation.profile->readString(path, "SATELLITE NAMES", "POS1", "dflt", 64),
                    "dflt");
                implementation.profile->writeString(path, "SATELLITE NAMES", "POS2", "written");
            }
            CloseHandle(held);

            EXPECT_EQ(contentOf(file), content);
            fs::remove(file);
        }
    }
}

}  // namespace
