// Reads the committed .ico files back the way Windows does and checks that every image is a
// well-formed icon image, so a broken generator or a hand-edited file cannot slip into the
// resource script unnoticed.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef ICON_DIR
#define ICON_DIR "res/icons"
#endif

namespace {

struct Rgb {
    std::uint8_t red, green, blue;
    bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& colour, std::ostream* out) {
    *out << "rgb(" << int{colour.red} << ", " << int{colour.green} << ", " << int{colour.blue}
         << ")";
}

struct IconImageLayout {
    int size;
    int bitsPerPixel;
};

struct IconFileLayout {
    const char* name;
    std::vector<IconImageLayout> images;
};

void PrintTo(const IconFileLayout& expected, std::ostream* out) {
    *out << expected.name;
}

// Every image decoded to one palette colour and one transparency flag per pixel, top row first.
struct DecodedImage {
    int size = 0;
    std::vector<Rgb> colours;
    std::vector<bool> transparent;
};

std::vector<std::uint8_t> readFile(const std::string& name) {
    const std::string path = std::string(ICON_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Reader {
  public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::uint32_t u8(std::size_t at) const { return byte(at); }
    std::uint32_t u16(std::size_t at) const { return byte(at) | byte(at + 1) << 8; }
    std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }

  private:
    std::uint32_t byte(std::size_t at) const {
        if (at >= bytes_.size()) throw std::out_of_range("read past the end of the file");
        return bytes_[at];
    }
    const std::vector<std::uint8_t>& bytes_;
};

std::size_t rowBytes(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width * bitsPerPixel) + 31) / 32 * 4;
}

const std::vector<Rgb> kVgaPalette = {
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
};

// Checks one file against its expected images and decodes them; failures are reported through
// gtest, and images that could not be decoded are left out of the result.
std::vector<DecodedImage> checkAndDecode(const IconFileLayout& expected) {
    const std::vector<std::uint8_t> bytes = readFile(expected.name);
    const Reader in(bytes);
    std::vector<DecodedImage> decoded;

    EXPECT_EQ(in.u16(0), 0u) << "reserved";
    EXPECT_EQ(in.u16(2), 1u) << "resource type icon";
    const std::size_t count = in.u16(4);
    EXPECT_EQ(count, expected.images.size());
    if (count != expected.images.size()) return decoded;

    // Images follow the directory back to back; a gap, an overlap or trailing bytes would mean
    // that an offset or a length in the directory is wrong.
    std::size_t expectedOffset = 6 + 16 * count;
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        const IconImageLayout& want = expected.images[i];
        const std::size_t entry = 6 + 16 * i;
        const std::size_t paletteSize = std::size_t{1} << want.bitsPerPixel;
        const std::size_t xorSize = rowBytes(want.size, want.bitsPerPixel) * want.size;
        const std::size_t andSize = rowBytes(want.size, 1) * want.size;
        const std::size_t length = 40 + 4 * paletteSize + xorSize + andSize;

        EXPECT_EQ(in.u8(entry), static_cast<std::uint32_t>(want.size)) << "bWidth";
        EXPECT_EQ(in.u8(entry + 1), static_cast<std::uint32_t>(want.size)) << "bHeight";
        EXPECT_EQ(in.u8(entry + 2), paletteSize % 256) << "bColorCount";
        EXPECT_EQ(in.u8(entry + 3), 0u) << "bReserved";
        EXPECT_EQ(in.u16(entry + 4), 1u) << "wPlanes";
        EXPECT_EQ(in.u16(entry + 6), static_cast<std::uint32_t>(want.bitsPerPixel));
        EXPECT_EQ(in.u32(entry + 8), length) << "dwBytesInRes";
        const std::size_t offset = in.u32(entry + 12);
        EXPECT_EQ(offset, expectedOffset) << "dwImageOffset";
        expectedOffset = offset + length;
        if (offset + length > bytes.size()) {
            ADD_FAILURE() << "image runs past the end of the file";
            return decoded;
        }

        EXPECT_EQ(in.u32(offset), 40u) << "biSize";
        EXPECT_EQ(in.u32(offset + 4), static_cast<std::uint32_t>(want.size)) << "biWidth";
        EXPECT_EQ(in.u32(offset + 8), static_cast<std::uint32_t>(2 * want.size)) << "biHeight";
        EXPECT_EQ(in.u16(offset + 12), 1u) << "biPlanes";
        EXPECT_EQ(in.u16(offset + 14), static_cast<std::uint32_t>(want.bitsPerPixel));
        EXPECT_EQ(in.u32(offset + 16), 0u) << "biCompression";
        EXPECT_EQ(in.u32(offset + 20), xorSize + andSize) << "biSizeImage";
        const std::uint32_t used = in.u32(offset + 32);
        EXPECT_TRUE(used == 0 || used == paletteSize) << "biClrUsed " << used;

        std::vector<Rgb> palette;
        for (std::size_t c = 0; c < paletteSize; ++c) {
            const std::size_t at = offset + 40 + 4 * c;
            palette.push_back({static_cast<std::uint8_t>(in.u8(at + 2)),
                               static_cast<std::uint8_t>(in.u8(at + 1)),
                               static_cast<std::uint8_t>(in.u8(at))});
            EXPECT_EQ(in.u8(at + 3), 0u) << "rgbReserved of entry " << c;
        }
        if (want.bitsPerPixel == 4) {
            EXPECT_EQ(palette, kVgaPalette) << "16-colour images use the standard VGA palette";
        }

        DecodedImage image;
        image.size = want.size;
        const std::size_t xorStart = offset + 40 + 4 * paletteSize;
        const std::size_t andStart = xorStart + xorSize;
        for (int y = 0; y < want.size; ++y) {
            const std::size_t row = static_cast<std::size_t>(want.size - 1 - y);  // bottom-up
            for (int x = 0; x < want.size; ++x) {
                const std::size_t colourAt =
                    xorStart + row * rowBytes(want.size, want.bitsPerPixel);
                const std::uint32_t index =
                    want.bitsPerPixel == 8
                        ? in.u8(colourAt + x)
                        : (in.u8(colourAt + x / 2) >> (x % 2 == 0 ? 4 : 0)) & 0xF;
                const std::size_t maskAt = andStart + row * rowBytes(want.size, 1) + x / 8;
                const bool transparent = ((in.u8(maskAt) >> (7 - x % 8)) & 1) != 0;
                image.colours.push_back(palette[index]);
                image.transparent.push_back(transparent);
            }
        }
        decoded.push_back(std::move(image));
    }
    EXPECT_EQ(expectedOffset, bytes.size()) << "file size against the last image's end";
    return decoded;
}

const std::array<IconFileLayout, 6> kFiles = {{
    {"dish_turn_1.ico", {{32, 8}}},
    {"dish_turn_2.ico", {{32, 8}}},
    {"dish_turn_3.ico", {{32, 8}}},
    {"dish_turn_4.ico", {{32, 8}}},
    {"dish_turn_5.ico", {{32, 8}}},
    {"dish.ico", {{32, 4}, {16, 4}}},
}};

class IconFileTest : public testing::TestWithParam<IconFileLayout> {};

TEST_P(IconFileTest, IsAWellFormedIconWithAVisiblePicture) {
    const std::vector<DecodedImage> images = checkAndDecode(GetParam());
    ASSERT_EQ(images.size(), GetParam().images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        const DecodedImage& image = images[i];
        std::size_t transparentCount = 0;
        for (std::size_t p = 0; p < image.colours.size(); ++p) {
            if (!image.transparent[p]) continue;
            ++transparentCount;
            // Under a set mask bit the colour is XORed onto the screen: anything but black
            // would show as a tinted fringe around the picture.
            EXPECT_EQ(image.colours[p], (Rgb{0, 0, 0})) << "transparent pixel " << p;
        }
        EXPECT_GT(transparentCount, 0u) << "no background";
        EXPECT_LT(transparentCount, image.colours.size()) << "no picture";
    }
}

INSTANTIATE_TEST_SUITE_P(CommittedIcons, IconFileTest, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<IconFileLayout>& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

std::vector<DecodedImage> turnFrames() {
    std::vector<DecodedImage> frames;
    for (std::size_t i = 0; i < 5; ++i) {
        std::vector<DecodedImage> images = checkAndDecode(kFiles[i]);
        if (images.size() == 1) frames.push_back(std::move(images.front()));
    }
    return frames;
}

double opaqueCentreX(const DecodedImage& image) {
    double sum = 0.0;
    int count = 0;
    for (std::size_t p = 0; p < image.transparent.size(); ++p) {
        if (image.transparent[p]) continue;
        sum += static_cast<double>(p % static_cast<std::size_t>(image.size));
        ++count;
    }
    return count == 0 ? 0.0 : sum / count;
}

TEST(IconTurnFrames, AreFiveDifferentPictures) {
    const std::vector<DecodedImage> frames = turnFrames();
    ASSERT_EQ(frames.size(), 5u);
    for (std::size_t a = 0; a < frames.size(); ++a) {
        for (std::size_t b = a + 1; b < frames.size(); ++b) {
            const bool same = frames[a].colours == frames[b].colours &&
                              frames[a].transparent == frames[b].transparent;
            EXPECT_FALSE(same) << "frames " << a + 1 << " and " << b + 1 << " are identical";
        }
    }
}

// The indicator plays the frames forward and back, so the outer ones must lie on opposite sides
// of the middle one; a swapped pair would make the dish jump instead of swing.
TEST(IconTurnFrames, TurnFromOneSideThroughTheMiddleToTheOther) {
    const std::vector<DecodedImage> frames = turnFrames();
    ASSERT_EQ(frames.size(), 5u);
    const double middle = opaqueCentreX(frames[2]);
    const auto side = [&](std::size_t frame) {
        const double offset = opaqueCentreX(frames[frame]) - middle;
        return offset < -0.25 ? -1 : offset > 0.25 ? 1 : 0;
    };
    EXPECT_NE(side(0), 0);
    EXPECT_EQ(side(1), side(0));
    EXPECT_EQ(side(3), -side(0));
    EXPECT_EQ(side(4), -side(0));
}

}  // namespace
