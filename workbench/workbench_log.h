#pragma once

#include <windows.h>

#include <string>

// Every line goes to stdout, flushed at once so that a caller reading the pipe
// sees it even if the plug-in takes the process down, and to the window's list.
// Lines are UTF-8; the list shows them through the wide functions, so that a
// degree sign reads as one on any code page.
class WorkbenchLog {
  public:
    void attach(HWND listBox) { listBox_ = listBox; }
    void detach() { listBox_ = nullptr; }
    void line(const std::string& text);

  private:
    HWND listBox_ = nullptr;
};

// The plug-in's names and captions are Windows-1252 text.
std::string utf8FromWindows1252(const std::string& text);
std::wstring wideFromUtf8(const std::string& text);
