#include "tests/windows/resource_counts.h"

namespace {

BOOL CALLBACK countWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK countWindowAndDescendants(HWND window, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    EnumChildWindows(window, countWindow, count);
    return TRUE;
}

long threadWindows() {
    long count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindowAndDescendants,
                      reinterpret_cast<LPARAM>(&count));
    return count;
}

// Wine answers GetGuiResources with ERROR_CALL_NOT_IMPLEMENTED. Its GDI and
// USER tables accept a handle by its table index alone, so there the objects
// are counted by trying every index: this process's GDI objects and menus,
// plus the windows of this thread with all their descendants.
GuiObjects countByTableIndex() {
    GuiObjects counted{0, 0};
    for (UINT_PTR index = 0; index <= 0xFFFF; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++counted.gdi;
    for (UINT_PTR index = 0x20; index <= 0xFFEF; index += 2)
        if (IsMenu(reinterpret_cast<HMENU>(index))) ++counted.user;
    counted.user += threadWindows();
    return counted;
}

}  // namespace

GuiObjects guiObjects() {
    SetLastError(ERROR_SUCCESS);
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return countByTableIndex();
    return {static_cast<long>(gdi),
            static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
}

namespace {

// Wine keeps no handle count; its handles are small multiples of four, so
// there they are counted by asking about each in turn.
long kernelHandles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
        return static_cast<long>(count);
    long probed = 0;
    for (UINT_PTR value = 4; value <= 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++probed;
    }
    return probed;
}

// Committed memory of this process alone, walked region by region: the
// figure the system shows as private bytes, and one that Wine can give too.
SIZE_T privateBytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const char* address = nullptr;
    while (VirtualQuery(address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

}  // namespace

ProcessResources processResources() {
    return {guiObjects(), threadWindows(), kernelHandles(), privateBytes()};
}
