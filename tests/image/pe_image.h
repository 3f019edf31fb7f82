#pragma once

// Reads a Windows PE file (32- or 64-bit) as bytes, with no Windows header,
// so that a plug-in built for an architecture that this machine cannot run
// can still be checked: its machine, exports, imports and resources.

#include <cstdint>
#include <string>
#include <vector>

namespace pe {

constexpr std::uint16_t MACHINE_I386 = 0x014C;
constexpr std::uint16_t MACHINE_AMD64 = 0x8664;

struct Export {
    std::uint32_t ordinal;
    std::string name;  // empty for an export by ordinal only

    bool operator==(const Export&) const = default;
};

// Resource types and names as the resource functions take them: "#14" for a
// numeric id, the upper-case text for a named one.
struct Resource {
    std::string type;
    std::string name;
    std::uint16_t language;
    std::vector<std::uint8_t> data;
};

struct Section {
    std::string name;  // "/4" and the like when the name lives in the symbol table
    std::uint32_t rawSize;
};

class Image {
  public:
    // Throws std::runtime_error when the file cannot be read or is no PE file.
    static Image read(const std::string& path);
    explicit Image(std::vector<std::uint8_t> bytes);

    std::uint16_t machine() const { return machine_; }
    bool isDll() const;
    bool is64Bit() const { return is64Bit_; }
    bool hasSymbolTable() const;
    bool hasDebugDirectory() const;
    const std::vector<Section>& sections() const { return sections_; }

    std::vector<Export> exports() const;
    std::vector<std::string> importedDlls() const;
    std::vector<Resource> resources() const;

  private:
    struct DataDirectory {
        std::uint32_t rva = 0;
        std::uint32_t size = 0;
    };
    struct MappedSection {
        std::uint32_t virtualAddress;
        std::uint32_t virtualSize;
        std::uint32_t rawOffset;
        std::uint32_t rawSize;
    };

    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    std::size_t offsetOf(std::uint32_t rva) const;
    std::string textAt(std::uint32_t rva) const;
    DataDirectory directory(unsigned index) const;
    void readResourceLevel(std::size_t base, std::uint32_t at, int depth, Resource& path,
                           std::vector<Resource>& found) const;
    std::string resourceName(std::size_t base, std::uint32_t entryName) const;

    std::vector<std::uint8_t> bytes_;
    std::size_t coffHeader_ = 0;
    std::uint16_t machine_ = 0;
    bool is64Bit_ = false;
    std::vector<DataDirectory> directories_;
    std::vector<MappedSection> mapped_;
    std::vector<Section> sections_;
};

}  // namespace pe
