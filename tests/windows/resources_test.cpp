#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/windows/plugin_library.h"

namespace {

std::string resourceText(HMODULE module, LPCSTR type, LPCSTR name) {
    HRSRC resource = FindResourceA(module, name, type);
    if (!resource) return {};
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    return std::string(data, SizeofResource(module, resource));
}

std::string versionString(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040704b0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "<missing>";
    return length ? std::string(value) : std::string();
}

// Read through Windows' own version functions, as a file's properties page
// shows it; the numbers themselves are checked against the project's version
// on the file.
TEST(VersionResource, DescribesTheDllInGerman) {
    const std::string path = builtPluginPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 0x04B0);

    for (const char* name : {"FileDescription", "InternalName", "OriginalFilename", "ProductName"})
        EXPECT_EQ(versionString(block, name), "Vantoro DisEqC Plugin-DLL") << name;
    for (const char* name :
         {"Comments", "CompanyName", "LegalTrademarks", "PrivateBuild", "SpecialBuild"})
        EXPECT_EQ(versionString(block, name), "") << name;
}

class InfoPage : public ::testing::Test {
  protected:
    PluginLibrary plugin;
    std::string page = resourceText(plugin.module(), RT_HTML, "INFO");
};

// The page is opened as res://<plug-in>/Info.
TEST_F(InfoPage, IsFoundUnderEitherCaseOfItsName) {
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(resourceText(plugin.module(), RT_HTML, "Info"), page);
}

TEST_F(InfoPage, IsPlainLatin1HtmlWithCrLfLines) {
    EXPECT_EQ(page.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"", 0),
              0u);
    EXPECT_NE(page.find("charset=ISO-8859-1"), std::string::npos);
    for (std::size_t i = 0; i < page.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(page[i]);
        ASSERT_LT(c, 0x80) << "non-ASCII byte at " << i;
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && page[i - 1] == '\r') << "bare LF at " << i;
        }
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < page.size() && page[i + 1] == '\n') << "bare CR at " << i;
        }
    }
    std::string lower = page;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* forbidden :
         {"<script", "<img", "<form", "<input", "<object", "<iframe", "src="})
        EXPECT_EQ(lower.find(forbidden), std::string::npos) << forbidden;
    EXPECT_NE(lower.find("bgcolor=\"#000000\""), std::string::npos);
    EXPECT_NE(lower.find("text=\"#ffffff\""), std::string::npos);
    EXPECT_NE(lower.find("link=\"#ff00ff\""), std::string::npos);
}

TEST_F(InfoPage, NamesVersion14AndExplainsThePlugInInOrder) {
    const std::size_t heading = page.find("<h2 align=\"center\">");
    ASSERT_NE(heading, std::string::npos);
    const std::string headingLine = page.substr(heading, page.find("</h2>") - heading);
    for (const char* part : {"DiSEqC", "Stab HH100/120", "Moteck", "1.4"})
        EXPECT_NE(headingLine.find(part), std::string::npos) << part;

    const char* points[] = {"DiSEqC 1.2",
                            "Stab HH100/120 and the Moteck",
                            "60",
                            "twice as fast",
                            "\"diseqc.ini\"",
                            "\"diseqc.dll\"",
                            "satellite names",
                            "drag and drop",
                            "factory settings",
                            "New in this version",
                            "<li>",
                            "\"MD-API\""};
    std::size_t from = heading;
    for (const char* point : points) {
        const std::size_t at = page.find(point, from);
        ASSERT_NE(at, std::string::npos) << "\"" << point << "\" missing or out of order";
        from = at;
    }
    EXPECT_EQ(page.find("<li>", page.find("<li>") + 1), std::string::npos) << "one item only";
}

}  // namespace
