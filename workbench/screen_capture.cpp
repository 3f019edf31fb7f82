#include "workbench/screen_capture.h"

#include <windows.h>

#include <utility>

namespace {

template <typename Release>
class ScopeExit {
  public:
    explicit ScopeExit(Release release) : release_(std::move(release)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { release_(); }

  private:
    Release release_;
};

}  // namespace

std::optional<ScreenImage> captureScreen(std::string& error) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) {
        error = "the screen has no size";
        return std::nullopt;
    }

    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        error = "no screen device context";
        return std::nullopt;
    }
    ScopeExit releaseScreen([screen] { ReleaseDC(nullptr, screen); });
    HDC memory = CreateCompatibleDC(screen);
    if (memory == nullptr) {
        error = "CreateCompatibleDC failed";
        return std::nullopt;
    }
    ScopeExit deleteMemory([memory] { DeleteDC(memory); });
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    if (bitmap == nullptr) {
        error = "CreateCompatibleBitmap failed";
        return std::nullopt;
    }
    ScopeExit deleteBitmap([bitmap] { DeleteObject(bitmap); });

    HGDIOBJ previous = SelectObject(memory, bitmap);
    const BOOL copied =
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT);
    // GetDIBits wants the bitmap out of any device context.
    SelectObject(memory, previous);
    if (!copied) {
        error = "BitBlt from the screen failed";
        return std::nullopt;
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const auto pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> bgrx(pixelCount * 4);
    const int rows =
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bgrx.data(), &info, DIB_RGB_COLORS);
    if (rows != height) {
        error = "GetDIBits returned " + std::to_string(rows) + " of " + std::to_string(height) +
                " rows";
        return std::nullopt;
    }

    ScreenImage image;
    image.width = static_cast<std::uint32_t>(width);
    image.height = static_cast<std::uint32_t>(height);
    image.rgb.resize(pixelCount * 3);
    for (std::size_t i = 0; i < pixelCount; ++i) {
        image.rgb[i * 3] = bgrx[i * 4 + 2];
        image.rgb[i * 3 + 1] = bgrx[i * 4 + 1];
        image.rgb[i * 3 + 2] = bgrx[i * 4];
    }
    return image;
}
