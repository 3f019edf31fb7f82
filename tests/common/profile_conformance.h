#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "store/profile_access.h"

// One table of private-profile behaviours, run against every ProfileAccess implementation. A
// test binary names its implementations with ProfileSubject and instantiates the suite:
//
//   INSTANTIATE_TEST_SUITE_P(Portable, ProfileConformance,
//                            testing::ValuesIn(conformanceRuns(subject)), conformanceRunName);

enum class ProfileOperation { Read, Write };

struct ProfileCase {
    std::string_view name;
    std::optional<std::string_view> before;  // file content; none: there is no file
    ProfileOperation operation;
    std::string_view section;
    std::string_view key;
    std::string_view text;              // the default of a read, the value of a write
    std::size_t capacity;               // of a read
    std::string_view expected;          // a read's result, or the whole file after a write
    std::string_view expectedReadBack;  // a write: what the key reads as afterwards
    // Why Wine's profile functions may answer otherwise (they rewrite the whole file and
    // normalise it); empty when every implementation must agree.
    std::string_view wineDifference;
};

const std::vector<ProfileCase>& profileCases();

enum class DifferencePolicy {
    Strict,                // every row must match
    RecordWineDifferences  // rows with a wineDifference are reported, not failed
};

struct ProfileSubject {
    std::string label;  // letters and digits only: it becomes part of test and file names
    std::function<std::unique_ptr<ProfileAccess>()> make;
    std::filesystem::path directory;  // scratch space; each row gets its own file in it
    DifferencePolicy policy;
};

struct ConformanceRun {
    const ProfileSubject* subject;
    ProfileCase row;
};

std::vector<ConformanceRun> conformanceRuns(const ProfileSubject& subject);
void PrintTo(const ConformanceRun& run, std::ostream* out);
std::string conformanceRunName(const testing::TestParamInfo<ConformanceRun>& info);

class ProfileConformance : public testing::TestWithParam<ConformanceRun> {};
