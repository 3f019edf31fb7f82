#include "tests/common/profile_conformance.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;
using namespace std::string_view_literals;

namespace {

constexpr auto R = ProfileOperation::Read;
constexpr auto W = ProfileOperation::Write;
constexpr std::size_t CAP = 64;
constexpr std::string_view NORMALISES =
    "Wine rewrites the whole file and normalises the lines it does not change";

// clang-format off
const std::vector<ProfileCase> CASES = {
    // name, before, op, section, key, default or value, capacity, expected, read back, Wine
    {"ReadsPlainValue", "[s]\r\nk=value\r\n", R, "s", "k", "dflt", CAP, "value", {}, {}},
    {"TrimsBlanksAroundValue", "[s]\r\nk = \t spaced  value \t\r\n", R, "s", "k", "dflt", CAP,
     "spaced  value", {}, {}},
    {"TrimsBlanksAroundSectionAndKey", "  [ s ]  \r\n  k  =v\r\n", R, "s", "k", "dflt", CAP, "v",
     {}, {}},
    {"StripsDoubleQuotes", "[s]\r\nk=\"quoted\"\r\n", R, "s", "k", "dflt", CAP, "quoted", {}, {}},
    {"KeepsBlanksInsideQuotes", "[s]\r\nk= \"  in  \" \r\n", R, "s", "k", "dflt", CAP, "  in  ",
     {}, {}},
    {"StripsOnlyOnePairOfQuotes", "[s]\r\nk=\"\"twice\"\"\r\n", R, "s", "k", "dflt", CAP,
     "\"twice\"", {}, {}},
    {"StripsSingleQuotes", "[s]\r\nk='single'\r\n", R, "s", "k", "dflt", CAP, "single", {}, {}},
    {"KeepsUnmatchedQuote", "[s]\r\nk=\"open\r\n", R, "s", "k", "dflt", CAP, "\"open", {}, {}},
    {"KeepsMixedQuotes", "[s]\r\nk=\"mixed'\r\n", R, "s", "k", "dflt", CAP, "\"mixed'", {}, {}},
    {"KeepsLoneQuote", "[s]\r\nk=\"\r\n", R, "s", "k", "dflt", CAP, "\"", {}, {}},
    {"MatchesSectionInOtherCase", "[Satellite Names]\r\nk=v\r\n", R, "SATELLITE NAMES", "k",
     "dflt", CAP, "v", {}, {}},
    {"MatchesKeyInOtherCase", "[s]\r\npos1=v\r\n", R, "s", "POS1", "dflt", CAP, "v", {}, {}},
    {"EmptyValueIsNotTheDefault", "[s]\r\nk=\r\n", R, "s", "k", "dflt", CAP, "", {}, {}},
    {"BlankValueIsEmpty", "[s]\r\nk=  \t\r\n", R, "s", "k", "dflt", CAP, "", {}, {}},
    {"ValueKeepsLaterEqualsSigns", "[s]\r\nk=a=b\r\n", R, "s", "k", "dflt", CAP, "a=b", {}, {}},
    {"MissingKeyGivesDefault", "[s]\r\nother=1\r\n", R, "s", "k", "dflt", CAP, "dflt", {}, {}},
    {"MissingSectionGivesDefault", "[t]\r\nk=1\r\n", R, "s", "k", "dflt", CAP, "dflt", {}, {}},
    {"KeyOfNeighbourSectionIsNotFound", "[t]\r\nk=1\r\n[s]\r\nj=2\r\n[u]\r\nk=3\r\n", R, "s",
     "k", "dflt", CAP, "dflt", {}, {}},
    {"KeyBeforeAnySectionIsNotFound", "k=orphan\r\n[s]\r\nj=1\r\n", R, "s", "k", "dflt", CAP,
     "dflt", {}, {}},
    {"MissingFileGivesDefault", std::nullopt, R, "s", "k", "dflt", CAP, "dflt", {}, {}},
    {"CutsValueAtCapacityLessOne", "[s]\r\nk=abcdefgh\r\n", R, "s", "k", "dflt", 5, "abcd", {},
     {}},
    {"CutsDefaultAtCapacityLessOne", "[s]\r\n", R, "s", "k", "defaultvalue", 4, "def", {}, {}},
    {"CapacityOneGivesEmpty", "[s]\r\nk=abc\r\n", R, "s", "k", "dflt", 1, "", {}, {}},
    {"CutsQuotedValueLongerThanCapacity", "[s]\r\nk=\"abcdef\"\r\n", R, "s", "k", "dflt", 4,
     "abc", {}, {}},
    {"KeepsQuotedValueThatJustFits", "[s]\r\nk=\"abcdef\"\r\n", R, "s", "k", "dflt", 7, "abcdef",
     {}, "Wine drops one more character when a quoted value exactly fills the buffer"},
    {"FirstDuplicateKeyWins", "[s]\r\nk=first\r\nk=second\r\n", R, "s", "k", "dflt", CAP, "first",
     {}, {}},
    {"FirstDuplicateSectionWins", "[s]\r\nk=first\r\n[S]\r\nk=second\r\n", R, "s", "k", "dflt",
     CAP, "first", {}, {}},
    {"ReadsLfOnlyFile", "[s]\nj=1\nk=lf\n", R, "s", "k", "dflt", CAP, "lf", {}, {}},

    {"ReplacesValueInPlace", "[a]\r\nk=old\r\nnext=1\r\n[b]\r\nk=other\r\n", W, "a", "k", "new",
     0, "[a]\r\nk=new\r\nnext=1\r\n[b]\r\nk=other\r\n", "new", {}},
    {"ReplacesKeyFoundInOtherCase", "[A]\r\nKEY=old\r\n", W, "a", "key", "new", 0,
     "[A]\r\nKEY=new\r\n", "new", {}},
    {"AppendsKeyAtEndOfSection", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n", W, "a", "k", "v", 0,
     "[a]\r\nx=1\r\nk=v\r\n[b]\r\ny=2\r\n", "v", {}},
    {"AddsSectionAtEndOfFile", "[a]\r\nx=1\r\n", W, "b", "k", "v", 0,
     "[a]\r\nx=1\r\n[b]\r\nk=v\r\n", "v", {}},
    {"CreatesMissingFile", std::nullopt, W, "s", "k", "v", 0, "[s]\r\nk=v\r\n", "v", {}},
    {"WritesEmptyValue", "[s]\r\nk=old\r\n", W, "s", "k", "", 0, "[s]\r\nk=\r\n", "", {}},
    {"ChangesOnlyFirstDuplicateKey", "[s]\r\nk=1\r\nk=2\r\n", W, "s", "k", "3", 0,
     "[s]\r\nk=3\r\nk=2\r\n", "3", {}},
    {"AppendsToFirstOfDuplicateSections", "[s]\r\nk=1\r\n[s]\r\nk=2\r\n", W, "s", "j", "3", 0,
     "[s]\r\nk=1\r\nj=3\r\n[s]\r\nk=2\r\n", "3", {}},
    {"EndsUnterminatedLastLineBeforeAppending", "[a]\r\nx=1", W, "a", "k", "v", 0,
     "[a]\r\nx=1\r\nk=v\r\n", "v", {}},
    {"LeavesOtherLinesUntouched", "; note\r\n[ a ]\r\n  x = 1  \r\n\r\n[b]\r\ny=2\r\n", W, "b",
     "y", "3", 0, "; note\r\n[ a ]\r\n  x = 1  \r\n\r\n[b]\r\ny=3\r\n", "3", NORMALISES},
    {"AppendsAheadOfBlankLinesBeforeNextSection", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", W, "a", "k",
     "v", 0, "[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n", "v", NORMALISES},
    {"WritesCrLfLineIntoLfOnlyFile", "[a]\nx=1\ny=2\n", W, "a", "x", "9", 0,
     "[a]\nx=9\r\ny=2\n", "9", NORMALISES},
    {"StoresValueAsGiven", "[s]\r\n", W, "s", "k", "  \"quoted\"  ", 0,
     "[s]\r\nk=  \"quoted\"  \r\n", "quoted", "Wine drops leading blanks of a value it writes"},
};
// clang-format on

std::string printable(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::optional<std::string> contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string describe(const std::optional<std::string>& content) {
    return content ? printable(*content) : "(no file)";
}

fs::path prepareFile(const ProfileSubject& subject, const ProfileCase& row) {
    const fs::path directory = subject.directory / subject.label;
    fs::create_directories(directory);
    const fs::path file = directory / (std::string(row.name) + ".ini");
    fs::remove(file);
    if (row.before) {
        std::ofstream out(file, std::ios::binary);
        out.write(row.before->data(), static_cast<std::streamsize>(row.before->size()));
    }
    return file;
}

struct Mismatch {
    std::string what;
    std::string expected;
    std::string actual;
};

void compare(std::vector<Mismatch>& mismatches, std::string what,
             const std::optional<std::string>& expected, const std::optional<std::string>& actual) {
    if (expected != actual)
        mismatches.push_back({std::move(what), describe(expected), describe(actual)});
}

std::optional<std::string> optionalText(std::optional<std::string_view> text) {
    return text ? std::optional<std::string>(std::string(*text)) : std::nullopt;
}

}  // namespace

const std::vector<ProfileCase>& profileCases() {
    return CASES;
}

std::vector<ConformanceRun> conformanceRuns(const ProfileSubject& subject) {
    std::vector<ConformanceRun> runs;
    for (const ProfileCase& row : CASES) runs.push_back({&subject, row});
    return runs;
}

std::string conformanceRunName(const testing::TestParamInfo<ConformanceRun>& info) {
    return std::string(info.param.row.name);
}

void PrintTo(const ConformanceRun& run, std::ostream* out) {
    *out << run.subject->label << " / " << run.row.name;
}

TEST_P(ProfileConformance, BehavesAsPrivateProfile) {
    const ProfileSubject& subject = *GetParam().subject;
    const ProfileCase& row = GetParam().row;
    const fs::path file = prepareFile(subject, row);
    const std::string path = file.string();
    const std::unique_ptr<ProfileAccess> profile = subject.make();

    std::vector<Mismatch> mismatches;
    if (row.operation == ProfileOperation::Read) {
        const std::string value =
            profile->readString(path, row.section, row.key, row.text, row.capacity);
        compare(mismatches, "read", std::string(row.expected), value);
        compare(mismatches, "file after the read", optionalText(row.before), contentOf(file));
    } else {
        profile->writeString(path, row.section, row.key, row.text);
        compare(mismatches, "file after the write", std::string(row.expected), contentOf(file));
        const std::string readBack =
            profile->readString(path, row.section, row.key, "(absent)", 256);
        compare(mismatches, "read after the write", std::string(row.expectedReadBack), readBack);
    }

    std::error_code ignored;
    fs::remove(file, ignored);

    const bool recordOnly =
        subject.policy == DifferencePolicy::RecordWineDifferences && !row.wineDifference.empty();
    if (recordOnly) {
        std::ostringstream note;
        note << (mismatches.empty() ? "agrees" : "differs") << " (" << row.wineDifference << ")";
        for (const Mismatch& m : mismatches) {
            note << "\n    " << m.what << ": expected " << m.expected << "\n    " << m.what
                 << ": actual   " << m.actual;
        }
        RecordProperty("wine_difference", note.str());
        std::printf("[ %-8s ] %s %s: %s\n", mismatches.empty() ? "AGREES" : "DIFFERS",
                    subject.label.c_str(), std::string(row.name).c_str(), note.str().c_str());
        return;
    }
    for (const Mismatch& m : mismatches) {
        ADD_FAILURE() << subject.label << " " << row.name << ", " << m.what
                      << "\n  expected: " << m.expected << "\n  actual:   " << m.actual;
    }
}
