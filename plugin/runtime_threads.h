#pragma once

// The per-thread values of the runtime's exception machinery: handed back when
// a thread of the host ends, and the slots given back when the plug-in is
// unloaded. Both are called from DllMain; neither waits on anything.
void runtimeThreadEnds();
void runtimeUnloads();
