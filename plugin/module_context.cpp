#include "plugin/module_context.h"

namespace {
HINSTANCE ownModule = nullptr;
HINSTANCE currentResourceModule = nullptr;
}  // namespace

HINSTANCE pluginModule() {
    return ownModule;
}

void setPluginModule(HINSTANCE module) {
    ownModule = module;
}

HINSTANCE resourceModule() {
    return currentResourceModule;
}

ModuleContext::ModuleContext() : previous_(currentResourceModule) {
    currentResourceModule = ownModule;
}

ModuleContext::~ModuleContext() {
    currentResourceModule = previous_;
}
