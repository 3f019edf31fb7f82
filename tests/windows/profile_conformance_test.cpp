#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "store/portable_profile.h"
#include "store/win32_file_store.h"
#include "tests/windows/win32_profile.h"
#include "tests/common/profile_conformance.h"

namespace {

// Full paths only: a bare file name would send the profile functions to the Windows folder.
std::filesystem::path scratchDirectory() {
    return std::filesystem::temp_directory_path() / "diseqc-profile-conformance";
}

const ProfileSubject WIN32_PROFILE{"Win32", [] { return std::make_unique<Win32Profile>(); },
                                   scratchDirectory(), DifferencePolicy::RecordWineDifferences};
// The rules applied to whole files through the plug-in's own file access: what
// each edit of the settings file does.
class WholeFileProfile final : public ProfileAccess {
  public:
    std::string readString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t capacity) override {
        return profile_.readString(path, section, key, defaultValue, capacity);
    }
    void writeString(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) override {
        profile_.writeString(path, section, key, value);
    }

  private:
    Win32FileStore files_;
    PortableProfile profile_{files_};
};

const ProfileSubject WHOLE_FILE_PROFILE{"WholeFile",
                                        [] { return std::make_unique<WholeFileProfile>(); },
                                        scratchDirectory(), DifferencePolicy::Strict};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, ProfileConformance,
                         testing::ValuesIn(conformanceRuns(WIN32_PROFILE)), conformanceRunName);
INSTANTIATE_TEST_SUITE_P(WholeFile, ProfileConformance,
                         testing::ValuesIn(conformanceRuns(WHOLE_FILE_PROFILE)),
                         conformanceRunName);
