#include <stdexcept>

#include "workbench/png_writer.h"
#include "workbench/screen_capture.h"
#include "workbench/workbench.h"

bool writeScreenshot(Workbench& workbench) {
    const std::string& path = workbench.options.screenshotPath;
    // One attempt only: a failure is reported once, not again on closing.
    workbench.screenshotAttempted = true;
    std::string error;
    const std::optional<ScreenImage> image = captureScreen(error);
    if (!image) {
        workbench.log.line("screenshot failed: " + error);
        workbench.exitCode = EXIT_RUN_FAULT;
        return false;
    }
    std::vector<std::uint8_t> png;
    try {
        png = encodePng(image->width, image->height, image->rgb);
    } catch (const std::invalid_argument& e) {
        workbench.log.line(std::string("screenshot failed: ") + e.what());
        workbench.exitCode = EXIT_RUN_FAULT;
        return false;
    }
    if (!writeFile(path, png)) {
        workbench.log.line("screenshot failed: cannot write " + path);
        workbench.exitCode = EXIT_RUN_FAULT;
        return false;
    }
    workbench.log.line("screenshot: " + path);
    return true;
}
