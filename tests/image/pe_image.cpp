#include "tests/image/pe_image.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace pe {
namespace {

constexpr unsigned EXPORT_DIRECTORY = 0;
constexpr unsigned IMPORT_DIRECTORY = 1;
constexpr unsigned RESOURCE_DIRECTORY = 2;
constexpr unsigned DEBUG_DIRECTORY = 6;

constexpr std::uint16_t IMAGE_FILE_DLL = 0x2000;
constexpr std::uint16_t PE32_MAGIC = 0x010B;
constexpr std::uint16_t PE32_PLUS_MAGIC = 0x020B;
constexpr std::uint32_t HIGH_BIT = 0x80000000u;

// Type, name and language: deeper levels would mean a damaged tree, and a
// loop in one would otherwise never end.
constexpr int RESOURCE_LEVELS = 3;

[[noreturn]] void malformed(const std::string& what) {
    throw std::runtime_error("malformed PE file: " + what);
}

}  // namespace

Image Image::read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open " + path);
    return Image(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {}));
}

Image::Image(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
    if (bytes_.size() < 0x40 || bytes_[0] != 'M' || bytes_[1] != 'Z') malformed("no MZ header");
    const std::size_t signature = u32(0x3C);
    if (u32(signature) != 0x00004550u) malformed("no PE signature");
    coffHeader_ = signature + 4;
    machine_ = u16(coffHeader_);
    const std::uint16_t sectionCount = u16(coffHeader_ + 2);
    const std::uint16_t optionalSize = u16(coffHeader_ + 16);
    const std::size_t optional = coffHeader_ + 20;

    const std::uint16_t magic = u16(optional);
    if (magic != PE32_MAGIC && magic != PE32_PLUS_MAGIC) malformed("unknown optional header");
    is64Bit_ = magic == PE32_PLUS_MAGIC;
    const std::size_t directoryCountAt = optional + (is64Bit_ ? 108 : 92);
    const std::uint32_t directoryCount = u32(directoryCountAt);
    if (directoryCountAt + 4 + 8ull * directoryCount > optional + optionalSize)
        malformed("data directories beyond the optional header");
    for (std::uint32_t i = 0; i < directoryCount; ++i) {
        const std::size_t at = directoryCountAt + 4 + 8 * i;
        directories_.push_back({u32(at), u32(at + 4)});
    }

    const std::size_t table = optional + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = table + 40 * i;
        if (at + 40 > bytes_.size()) malformed("section table beyond the file");
        std::string name(reinterpret_cast<const char*>(&bytes_[at]), 8);
        name.resize(name.find('\0') == std::string::npos ? 8 : name.find('\0'));
        const MappedSection section{u32(at + 12), u32(at + 8), u32(at + 20), u32(at + 16)};
        mapped_.push_back(section);
        sections_.push_back({name, section.rawSize});
    }
}

bool Image::isDll() const {
    return (u16(coffHeader_ + 18) & IMAGE_FILE_DLL) != 0;
}

bool Image::hasSymbolTable() const {
    return u32(coffHeader_ + 8) != 0 || u32(coffHeader_ + 12) != 0;
}

bool Image::hasDebugDirectory() const {
    return directory(DEBUG_DIRECTORY).size != 0;
}

std::uint16_t Image::u16(std::size_t offset) const {
    if (offset + 2 > bytes_.size()) malformed("read beyond the file");
    return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

std::uint32_t Image::u32(std::size_t offset) const {
    return u16(offset) | static_cast<std::uint32_t>(u16(offset + 2)) << 16;
}

std::size_t Image::offsetOf(std::uint32_t rva) const {
    for (const MappedSection& section : mapped_) {
        const std::uint32_t extent = std::max(section.virtualSize, section.rawSize);
        if (rva >= section.virtualAddress && rva - section.virtualAddress < extent) {
            const std::uint32_t into = rva - section.virtualAddress;
            if (into >= section.rawSize) malformed("address in a section's uninitialised tail");
            return std::size_t{section.rawOffset} + into;
        }
    }
    malformed("address outside every section");
}

std::string Image::textAt(std::uint32_t rva) const {
    std::size_t at = offsetOf(rva);
    std::string text;
    while (at < bytes_.size() && bytes_[at] != 0) text.push_back(static_cast<char>(bytes_[at++]));
    if (at == bytes_.size()) malformed("unterminated name");
    return text;
}

Image::DataDirectory Image::directory(unsigned index) const {
    return index < directories_.size() ? directories_[index] : DataDirectory{};
}

std::vector<Export> Image::exports() const {
    const DataDirectory table = directory(EXPORT_DIRECTORY);
    if (table.size == 0) return {};
    const std::size_t at = offsetOf(table.rva);
    const std::uint32_t base = u32(at + 16);
    const std::uint32_t functionCount = u32(at + 20);
    const std::uint32_t nameCount = u32(at + 24);
    const std::uint32_t functions = u32(at + 28);
    const std::uint32_t names = u32(at + 32);
    const std::uint32_t nameOrdinals = u32(at + 36);

    std::vector<std::string> nameOf(functionCount);
    for (std::uint32_t i = 0; i < nameCount; ++i) {
        const std::uint16_t index = u16(offsetOf(nameOrdinals + 2 * i));
        if (index >= functionCount) malformed("export name without a function");
        nameOf[index] = textAt(u32(offsetOf(names + 4 * i)));
    }
    std::vector<Export> found;
    for (std::uint32_t i = 0; i < functionCount; ++i) {
        // Gaps in the ordinal range are zero entries of the address table.
        if (u32(offsetOf(functions + 4 * i)) != 0) found.push_back({base + i, nameOf[i]});
    }
    return found;
}

std::vector<std::string> Image::importedDlls() const {
    const DataDirectory table = directory(IMPORT_DIRECTORY);
    std::vector<std::string> found;
    if (table.size == 0) return found;
    for (std::uint32_t rva = table.rva;; rva += 20) {
        const std::size_t at = offsetOf(rva);
        const std::uint32_t name = u32(at + 12);
        if (name == 0 && u32(at) == 0 && u32(at + 16) == 0) break;
        found.push_back(textAt(name));
    }
    return found;
}

std::vector<Resource> Image::resources() const {
    const DataDirectory table = directory(RESOURCE_DIRECTORY);
    std::vector<Resource> found;
    if (table.size == 0) return found;
    Resource path{};
    readResourceLevel(offsetOf(table.rva), 0, 0, path, found);
    return found;
}

std::string Image::resourceName(std::size_t base, std::uint32_t entryName) const {
    if (!(entryName & HIGH_BIT)) return "#" + std::to_string(entryName & 0xFFFF);
    const std::size_t at = base + (entryName & ~HIGH_BIT);
    const std::uint16_t length = u16(at);
    std::string name;
    for (std::uint16_t i = 0; i < length; ++i) {
        const std::uint16_t unit = u16(at + 2 + 2 * i);
        // Resource look-ups by name ignore case: Windows stores names upper-cased.
        name.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return name;
}

void Image::readResourceLevel(std::size_t base, std::uint32_t at, int depth, Resource& path,
                              std::vector<Resource>& found) const {
    if (depth == RESOURCE_LEVELS) malformed("resource tree deeper than type, name, language");
    const std::size_t directoryAt = base + at;
    const unsigned entries = u16(directoryAt + 12) + u16(directoryAt + 14);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = directoryAt + 16 + 8 * i;
        const std::uint32_t entryName = u32(entry);
        const std::uint32_t target = u32(entry + 4);
        if (depth == 0) path.type = resourceName(base, entryName);
        if (depth == 1) path.name = resourceName(base, entryName);
        if (depth == 2) path.language = static_cast<std::uint16_t>(entryName & 0xFFFF);

        if (target & HIGH_BIT) {
            readResourceLevel(base, target & ~HIGH_BIT, depth + 1, path, found);
            continue;
        }
        if (depth != 2) malformed("resource data above the language level");
        const std::size_t dataEntry = base + target;
        const std::size_t data = offsetOf(u32(dataEntry));
        const std::uint32_t size = u32(dataEntry + 4);
        if (data + size > bytes_.size()) malformed("resource data beyond the file");
        Resource resource = path;
        resource.data.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(data),
                             bytes_.begin() + static_cast<std::ptrdiff_t>(data + size));
        found.push_back(std::move(resource));
    }
}

}  // namespace pe
