#pragma once

#include <windows.h>

#include <string>

// Every line goes to stdout, flushed at once so that a caller reading the pipe
// sees it even if the plug-in takes the process down, and to the window's list.
class WorkbenchLog {
  public:
    void attach(HWND listBox) { listBox_ = listBox; }
    void detach() { listBox_ = nullptr; }
    void line(const std::string& text);

  private:
    HWND listBox_ = nullptr;
};
