// Checks a built diseqc.dll as a file, without loading it: what a viewer of
// either architecture relies on before it ever calls the plug-in. Runs on
// machines that cannot execute the DLL's architecture.
//
// The build that made the DLL passes what to check through the environment:
// DISEQC_PLUGIN_DLL (the file), DISEQC_PLUGIN_MACHINE (i386 or x86_64),
// DISEQC_PROJECT_VERSION (a.b.c.d), DISEQC_INFO_PAGE (the page's source) and
// DISEQC_PLUGIN_STRIPPED (1 for a release build).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/image/pe_image.h"

namespace {

constexpr std::uint16_t GERMAN = 0x0407;
constexpr std::uint16_t ENGLISH_US = 0x0409;
constexpr std::uint16_t ENGLISH_UK = 0x0809;

const char* RT_ICON = "#3";
const char* RT_DIALOG = "#5";
const char* RT_STRING = "#6";
const char* RT_GROUP_ICON = "#14";
const char* RT_VERSION = "#16";
const char* RT_HTML = "#23";
const char* RT_MENU = "#4";

std::string setting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class PluginImage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string path = setting("DISEQC_PLUGIN_DLL");
        if (path.empty()) return;
        image_ = new pe::Image(pe::Image::read(path));
        resources_ = new std::vector<pe::Resource>(image_->resources());
    }
    static void TearDownTestSuite() {
        delete image_;
        delete resources_;
        image_ = nullptr;
        resources_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(image_, nullptr) << "DISEQC_PLUGIN_DLL names no DLL: this test is run by the "
                                      "ctest of a MinGW build tree";
    }

    static const pe::Resource* find(const std::string& type, const std::string& name) {
        for (const pe::Resource& resource : *resources_)
            if (resource.type == type && resource.name == name) return &resource;
        return nullptr;
    }

    static pe::Image* image_;
    static std::vector<pe::Resource>* resources_;
};

pe::Image* PluginImage::image_ = nullptr;
std::vector<pe::Resource>* PluginImage::resources_ = nullptr;

std::uint16_t word(const std::vector<std::uint8_t>& data, std::size_t at) {
    return at + 2 <= data.size() ? static_cast<std::uint16_t>(data[at] | data[at + 1] << 8) : 0;
}

std::uint32_t dword(const std::vector<std::uint8_t>& data, std::size_t at) {
    return word(data, at) | static_cast<std::uint32_t>(word(data, at + 2)) << 16;
}

std::string machineName(std::uint16_t machine) {
    switch (machine) {
        case pe::MACHINE_I386:
            return "i386";
        case pe::MACHINE_AMD64:
            return "x86_64";
        default: {
            std::ostringstream text;
            text << "machine 0x" << std::hex << machine;
            return text.str();
        }
    }
}

TEST_F(PluginImage, IsADllForTheViewersArchitecture) {
    const std::string expected = setting("DISEQC_PLUGIN_MACHINE");
    EXPECT_EQ(machineName(image_->machine()), expected);
    EXPECT_EQ(image_->is64Bit(), expected == "x86_64");
    EXPECT_TRUE(image_->isDll());
}

std::string listed(const std::vector<pe::Export>& exports) {
    std::ostringstream text;
    for (const pe::Export& entry : exports)
        text << " @" << entry.ordinal << " '" << entry.name << "'";
    return text.str();
}

TEST_F(PluginImage, ExportsTheFourEntryPointsUndecoratedAtTheirOrdinals) {
    const std::vector<pe::Export> expected = {
        {1, "On_Send_Dll_ID_Name"}, {2, "On_Menu_Select"}, {5, "On_Start"}, {6, "On_Exit"}};
    const std::vector<pe::Export> actual = image_->exports();
    EXPECT_EQ(actual, expected) << "expected" << listed(expected) << "\n  actual" << listed(actual);
}

TEST_F(PluginImage, ImportsOnlyWindowsSystemDlls) {
    const std::vector<std::string> system = {"kernel32.dll", "user32.dll",  "gdi32.dll",
                                             "comctl32.dll", "shell32.dll", "advapi32.dll",
                                             "msvcrt.dll"};
    const std::vector<std::string> imports = image_->importedDlls();
    EXPECT_FALSE(imports.empty());
    for (std::string name : imports) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_NE(std::find(system.begin(), system.end(), name), system.end())
            << name
            << " is not part of Windows: a viewer's folder would need it beside the plug-in";
    }
}

// The ids are part of the file's contract: written here as numbers.
struct ExpectedResource {
    const char* what;
    const char* type;
    const char* name;
    std::uint16_t language;
};
const ExpectedResource RESOURCES[] = {
    {"setup window", RT_DIALOG, "#103", ENGLISH_US},
    {"satellite name editor", RT_DIALOG, "#1012", ENGLISH_UK},
    {"about box", RT_DIALOG, "#1014", ENGLISH_UK},
    {"string table with string 1", RT_STRING, "#1", ENGLISH_UK},
    {"indicator frame 1", RT_GROUP_ICON, "#1007", ENGLISH_UK},
    {"indicator frame 2", RT_GROUP_ICON, "#1008", ENGLISH_UK},
    {"indicator frame 3", RT_GROUP_ICON, "#1009", ENGLISH_UK},
    {"indicator frame 4", RT_GROUP_ICON, "#1010", ENGLISH_UK},
    {"indicator frame 5", RT_GROUP_ICON, "#1011", ENGLISH_UK},
    {"plug-in icon", RT_GROUP_ICON, "#1013", ENGLISH_UK},
    {"plug-in menu", RT_MENU, "EXTERN", GERMAN},
    {"info page", RT_HTML, "INFO", ENGLISH_UK},
    {"version", RT_VERSION, "#1", GERMAN},
};

TEST_F(PluginImage, HoldsEveryResourceInItsLanguage) {
    for (const ExpectedResource& row : RESOURCES) {
        const pe::Resource* resource = find(row.type, row.name);
        if (!resource) {
            ADD_FAILURE() << row.what << " (" << row.type << " " << row.name << ") is missing";
            continue;
        }
        EXPECT_EQ(resource->language, row.language) << row.what;
        EXPECT_FALSE(resource->data.empty()) << row.what;
    }
}

TEST_F(PluginImage, EveryIconGroupFindsItsImages) {
    for (const ExpectedResource& row : RESOURCES) {
        if (std::string(row.type) != RT_GROUP_ICON) continue;
        SCOPED_TRACE(row.what);
        const pe::Resource* directory = find(RT_GROUP_ICON, row.name);
        ASSERT_NE(directory, nullptr);
        const std::uint16_t count = word(directory->data, 4);
        ASSERT_GT(count, 0);
        ASSERT_GE(directory->data.size(), 6u + 14u * count);
        for (std::uint16_t i = 0; i < count; ++i) {
            const std::size_t entry = 6 + 14 * std::size_t{i};
            const std::string id = "#" + std::to_string(word(directory->data, entry + 12));
            const pe::Resource* picture = find(RT_ICON, id);
            ASSERT_NE(picture, nullptr) << "image " << id;
            EXPECT_EQ(picture->data.size(), dword(directory->data, entry + 8)) << "image " << id;
        }
    }
}

struct MenuItem {
    std::uint16_t id;
    std::string text;

    bool operator==(const MenuItem&) const = default;
};

// A plain menu template: a four-byte header, then items of flags, id and a
// zero-terminated UTF-16 text, the last with MF_END.
std::vector<MenuItem> menuItems(const std::vector<std::uint8_t>& data) {
    constexpr std::uint16_t MF_POPUP = 0x10;
    constexpr std::uint16_t MF_END = 0x80;
    std::vector<MenuItem> items;
    std::size_t at = 4;
    while (at + 2 <= data.size()) {
        const std::uint16_t flags = word(data, at);
        at += 2;
        MenuItem item{0, ""};
        if (!(flags & MF_POPUP)) {
            item.id = word(data, at);
            at += 2;
        }
        for (std::uint16_t unit; (unit = word(data, at)) != 0 && at < data.size(); at += 2)
            item.text.push_back(static_cast<char>(unit));
        at += 2;
        items.push_back(item);
        if (flags & MF_END) break;
    }
    return items;
}

TEST_F(PluginImage, PluginMenuOffersSetupSeparatorAndInfo) {
    const pe::Resource* menu = find(RT_MENU, "EXTERN");
    ASSERT_NE(menu, nullptr);
    const std::vector<MenuItem> expected = {{40008, "DiSEqC Setup"}, {0, ""}, {40009, "&Info"}};
    EXPECT_EQ(menuItems(menu->data), expected);
}

std::string fileContents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_F(PluginImage, InfoPageIsTheSourcePageByteForByte) {
    const pe::Resource* page = find(RT_HTML, "INFO");
    ASSERT_NE(page, nullptr);
    const std::string source = fileContents(setting("DISEQC_INFO_PAGE"));
    ASSERT_FALSE(source.empty()) << "cannot read " << setting("DISEQC_INFO_PAGE");
    EXPECT_EQ(std::string(page->data.begin(), page->data.end()), source);
}

std::vector<std::uint8_t> utf16(const std::string& text) {
    std::vector<std::uint8_t> units;
    for (char c : text) {
        units.push_back(static_cast<std::uint8_t>(c));
        units.push_back(0);
    }
    units.push_back(0);
    units.push_back(0);
    return units;
}

// The value of a string entry of the version block: the key, padding to a
// four-byte boundary, then the zero-terminated value.
std::string versionText(const std::vector<std::uint8_t>& block, const std::string& key) {
    const std::vector<std::uint8_t> pattern = utf16(key);
    auto at = std::search(block.begin(), block.end(), pattern.begin(), pattern.end());
    if (at == block.end()) return "<missing>";
    std::size_t offset = static_cast<std::size_t>(at - block.begin()) + pattern.size();
    offset = (offset + 3) & ~std::size_t{3};
    std::string value;
    for (std::uint16_t unit; (unit = word(block, offset)) != 0; offset += 2)
        value.push_back(static_cast<char>(unit));
    return value;
}

TEST_F(PluginImage, VersionResourceCarriesTheProjectVersion) {
    const pe::Resource* version = find(RT_VERSION, "#1");
    ASSERT_NE(version, nullptr);
    unsigned numbers[4] = {};
    char dot[3] = {};
    std::istringstream project(setting("DISEQC_PROJECT_VERSION"));
    project >> numbers[0] >> dot[0] >> numbers[1] >> dot[1] >> numbers[2] >> dot[2] >> numbers[3];
    ASSERT_TRUE(project && dot[0] == '.' && dot[1] == '.' && dot[2] == '.')
        << "DISEQC_PROJECT_VERSION '" << setting("DISEQC_PROJECT_VERSION") << "'";

    // VS_VERSION_INFO: three words and the key "VS_VERSION_INFO", padded to
    // 40 bytes, then VS_FIXEDFILEINFO.
    const std::vector<std::uint8_t>& block = version->data;
    constexpr std::size_t fixed = 40;
    ASSERT_EQ(dword(block, fixed), 0xFEEF04BDu) << "no fixed file information";
    const std::uint32_t high = numbers[0] << 16 | numbers[1];
    const std::uint32_t low = numbers[2] << 16 | numbers[3];
    EXPECT_EQ(dword(block, fixed + 8), high) << "file version";
    EXPECT_EQ(dword(block, fixed + 12), low) << "file version";
    EXPECT_EQ(dword(block, fixed + 16), high) << "product version";
    EXPECT_EQ(dword(block, fixed + 20), low) << "product version";

    std::ostringstream text;
    text << numbers[0] << ", " << numbers[1] << ", " << numbers[2] << ", " << numbers[3];
    EXPECT_EQ(versionText(block, "FileVersion"), text.str());
    EXPECT_EQ(versionText(block, "ProductVersion"), text.str());
}

TEST_F(PluginImage, ReleaseBuildCarriesNoDebugInformation) {
    if (setting("DISEQC_PLUGIN_STRIPPED") != "1")
        GTEST_SKIP() << "not a release build: debug information is expected here";
    EXPECT_FALSE(image_->hasSymbolTable());
    EXPECT_FALSE(image_->hasDebugDirectory());
    for (const pe::Section& section : image_->sections()) {
        // Long names such as ".debug_info" are stored as "/4", an offset into
        // the symbol table's strings.
        EXPECT_NE(section.name.rfind(".debug", 0), 0u) << section.name;
        EXPECT_NE(section.name.rfind('/', 0), 0u) << section.name;
    }
}

// A viewer loads the DLL alone from its folder; what the linked-in runtime
// brings along stays small only while nothing pulls in its heavy parts
// (streams, the demangler, a second string implementation).
TEST_F(PluginImage, ReleaseBuildStaysUnder200KB) {
    if (setting("DISEQC_PLUGIN_STRIPPED") != "1")
        GTEST_SKIP() << "not a release build: debug information makes it larger";
    EXPECT_LT(std::filesystem::file_size(setting("DISEQC_PLUGIN_DLL")), 200u * 1024u);
}

}  // namespace
