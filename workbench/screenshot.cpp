#include <stdexcept>

#include "workbench/png_writer.h"
#include "workbench/screen_capture.h"
#include "workbench/workbench.h"

void Workbench::writeScreenshot() {
    const std::string& path = options_.screenshotPath;
    // One attempt only: a failure is reported once, not again on closing.
    screenshotAttempted_ = true;
    std::string error;
    const std::optional<ScreenImage> image = captureScreen(error);
    if (!image) return fault("screenshot failed: " + error);
    std::vector<std::uint8_t> png;
    try {
        png = encodePng(image->width, image->height, image->rgb);
    } catch (const std::invalid_argument& e) {
        return fault(std::string("screenshot failed: ") + e.what());
    }
    if (!writeFile(path, png)) return fault("screenshot failed: cannot write " + path);
    log_.line("screenshot: " + path);
}
