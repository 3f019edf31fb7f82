#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "store/portable_profile.h"
#include "tests/windows/win32_profile.h"
#include "tests/common/profile_conformance.h"

namespace {

// Full paths only: a bare file name would send the profile functions to the Windows folder.
std::filesystem::path scratchDirectory() {
    return std::filesystem::temp_directory_path() / "diseqc-profile-conformance";
}

const ProfileSubject WIN32_PROFILE{"Win32", [] { return std::make_unique<Win32Profile>(); },
                                   scratchDirectory(), DifferencePolicy::RecordWineDifferences};
const ProfileSubject PORTABLE_PROFILE{"Portable",
                                      [] { return std::make_unique<PortableProfile>(); },
                                      scratchDirectory(), DifferencePolicy::Strict};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, ProfileConformance,
                         testing::ValuesIn(conformanceRuns(WIN32_PROFILE)), conformanceRunName);
INSTANTIATE_TEST_SUITE_P(Portable, ProfileConformance,
                         testing::ValuesIn(conformanceRuns(PORTABLE_PROFILE)), conformanceRunName);
