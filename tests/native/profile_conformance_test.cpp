#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "store/portable_profile.h"
#include "tests/common/profile_conformance.h"

namespace {

const ProfileSubject PORTABLE_PROFILE{
    "Portable", [] { return std::make_unique<PortableProfile>(); },
    std::filesystem::temp_directory_path() / "diseqc-profile-conformance",
    DifferencePolicy::Strict};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Portable, ProfileConformance,
                         testing::ValuesIn(conformanceRuns(PORTABLE_PROFILE)), conformanceRunName);
