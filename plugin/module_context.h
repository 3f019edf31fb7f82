#pragma once

#include <windows.h>

// The plug-in lives inside someone else's process: unless told otherwise,
// resource look-ups would search the host's executable. Every entry from the
// host or the window system therefore opens a ModuleContext, which makes the
// plug-in's own module the source of templates, icons, strings and menus and
// hands the caller's context back on every way out.

// The plug-in's module handle as the loader gave it at attach.
HINSTANCE pluginModule();
void setPluginModule(HINSTANCE module);

// Where resources are looked up right now; none means the process's
// executable, as for the Win32 loaders themselves.
HINSTANCE resourceModule();

class ModuleContext {
  public:
    ModuleContext();
    ~ModuleContext();
    ModuleContext(const ModuleContext&) = delete;
    ModuleContext& operator=(const ModuleContext&) = delete;

  private:
    HINSTANCE previous_;
};

// Runs an entry from the host or the window system in the plug-in's context.
// Nothing thrown may unwind into code that is not ours, so it ends here.
template <class Body>
void guardedEntry(Body&& body) noexcept {
    try {
        ModuleContext context;
        body();
    } catch (...) {
    }
}
