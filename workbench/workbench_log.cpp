#include "workbench/workbench_log.h"

#include <cstdio>

void WorkbenchLog::line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (listBox_ == nullptr || !IsWindow(listBox_)) return;
    const LRESULT index =
        SendMessageA(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) SendMessageA(listBox_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}
