#include "workbench/workbench_log.h"

#include <cstdio>

namespace {

constexpr UINT WINDOWS_1252 = 1252;

std::wstring wideFrom(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

std::wstring wideFromUtf8(const std::string& text) {
    return wideFrom(CP_UTF8, text);
}

std::string utf8FromWindows1252(const std::string& text) {
    const std::wstring wide = wideFrom(WINDOWS_1252, text);
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

void WorkbenchLog::line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (listBox_ == nullptr || !IsWindow(listBox_)) return;
    const std::wstring wide = wideFromUtf8(text);
    const LRESULT index =
        SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index >= 0) SendMessageW(listBox_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}
