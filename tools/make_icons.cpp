// Draws the plug-in's icons and writes them as .ico files into the given folder.
#include <array>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "dish_painter.h"
#include "ico_writer.h"
#include "icon_canvas.h"
#include "palettes.h"

namespace {

IconImage paintImage(int size, int bitsPerPixel, double turnDegrees) {
    const bool shaded = bitsPerPixel == 8;
    Canvas canvas(size, size);
    paintDish(canvas, turnDegrees, shaded ? shadedDishColours() : vgaDishColours());

    IconImage image;
    image.width = size;
    image.height = size;
    image.bitsPerPixel = bitsPerPixel;
    image.palette = shaded ? shadedPalette() : vgaPalette();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            image.pixels.push_back(canvas.colourAt(x, y));
            image.opaque.push_back(canvas.opaqueAt(x, y));
        }
    }
    return image;
}

void writeIcon(const std::filesystem::path& path, const std::vector<IconImage>& images) {
    writeFileReplacing(path, encodeIconFile(images));
    std::cout << "wrote " << path.string() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icons <output-dir>\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);

        // The movement indicator swings through these frames; the outer two show the dish in
        // near profile, since at a full 90 degrees the bowl would shrink to a line.
        constexpr std::array<double, 5> kTurns{-80.0, -40.0, 0.0, 40.0, 80.0};
        for (std::size_t i = 0; i < kTurns.size(); ++i) {
            const std::string name = "dish_turn_" + std::to_string(i + 1) + ".ico";
            writeIcon(folder / name, {paintImage(32, 8, kTurns[i])});
        }

        constexpr double kOwnIconTurn = -30.0;
        writeIcon(folder / "dish.ico",
                  {paintImage(32, 4, kOwnIconTurn), paintImage(16, 4, kOwnIconTurn)});
    } catch (const std::exception& error) {
        std::cerr << "make_icons: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
