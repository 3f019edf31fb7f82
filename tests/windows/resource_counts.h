#pragma once

#include <windows.h>

// What a process holds of the window system and the kernel, counted so that a
// leak shows as a difference between two counts.
struct GuiObjects {
    long gdi;
    long user;
};
GuiObjects guiObjects();

struct ProcessResources {
    GuiObjects gui;
    long windows;  // this thread's windows, with all their descendants
    long kernelHandles;
    SIZE_T privateBytes;
};
ProcessResources processResources();
