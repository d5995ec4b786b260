#include "tools/bench/AllocationCounter.h"

#include <cstddef>
#include <cstring>

namespace bench {
namespace {

volatile LONG g_Count = 0;

void Counted() { InterlockedIncrement(&g_Count); }

using MallocFn = void* (*)(size_t);
using CallocFn = void* (*)(size_t, size_t);
using ReallocFn = void* (*)(void*, size_t);
using StrdupFn = char* (*)(const char*);
using HeapAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, SIZE_T);
using HeapReAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, LPVOID, SIZE_T);
using LocalAllocFn = HLOCAL(WINAPI*)(UINT, SIZE_T);
using GlobalAllocFn = HGLOBAL(WINAPI*)(UINT, SIZE_T);

MallocFn g_Malloc;
CallocFn g_Calloc;
ReallocFn g_Realloc;
StrdupFn g_Strdup;
HeapAllocFn g_HeapAlloc;
HeapReAllocFn g_HeapReAlloc;
LocalAllocFn g_LocalAlloc;
GlobalAllocFn g_GlobalAlloc;

void* CountingMalloc(size_t size) { Counted(); return g_Malloc(size); }
void* CountingCalloc(size_t count, size_t size) { Counted(); return g_Calloc(count, size); }
void* CountingRealloc(void* block, size_t size) { Counted(); return g_Realloc(block, size); }
char* CountingStrdup(const char* text) { Counted(); return g_Strdup(text); }
LPVOID WINAPI CountingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
    Counted();
    return g_HeapAlloc(heap, flags, size);
}
LPVOID WINAPI CountingHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size) {
    Counted();
    return g_HeapReAlloc(heap, flags, block, size);
}
HLOCAL WINAPI CountingLocalAlloc(UINT flags, SIZE_T size) { Counted(); return g_LocalAlloc(flags, size); }
HGLOBAL WINAPI CountingGlobalAlloc(UINT flags, SIZE_T size) { Counted(); return g_GlobalAlloc(flags, size); }

struct Hook {
    const char* name;
    void** original;
    void* replacement;
};

template <typename Fn>
Hook MakeHook(const char* name, Fn* original, Fn replacement) {
    return {name, reinterpret_cast<void**>(original), reinterpret_cast<void*>(replacement)};
}

const Hook* Hooks(size_t& count) {
    static const Hook hooks[] = {
        MakeHook("malloc", &g_Malloc, &CountingMalloc),
        MakeHook("calloc", &g_Calloc, &CountingCalloc),
        MakeHook("realloc", &g_Realloc, &CountingRealloc),
        MakeHook("_strdup", &g_Strdup, &CountingStrdup),
        MakeHook("HeapAlloc", &g_HeapAlloc, &CountingHeapAlloc),
        MakeHook("HeapReAlloc", &g_HeapReAlloc, &CountingHeapReAlloc),
        MakeHook("LocalAlloc", &g_LocalAlloc, &CountingLocalAlloc),
        MakeHook("GlobalAlloc", &g_GlobalAlloc, &CountingGlobalAlloc),
    };
    count = sizeof(hooks) / sizeof(hooks[0]);
    return hooks;
}

void Redirect(void** slot, void* target) {
    DWORD old;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = target;
    VirtualProtect(slot, sizeof(void*), old, &old);
}

}  // namespace

int CountAllocationsOf(HMODULE module) {
    if (!module) return 0;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return 0;
    size_t hookCount;
    const Hook* hooks = Hooks(hookCount);
    int redirected = 0;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
        const DWORD lookup = dll->OriginalFirstThunk ? dll->OriginalFirstThunk : dll->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + lookup);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (size_t h = 0; h < hookCount; ++h) {
                void** slot = reinterpret_cast<void**>(&slots->u1.Function);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), hooks[h].name) != 0) continue;
                if (*slot == hooks[h].replacement) continue;
                if (*hooks[h].original && *hooks[h].original != *slot) continue;  // another runtime's
                *hooks[h].original = *slot;
                Redirect(slot, hooks[h].replacement);
                ++redirected;
            }
        }
    }
    return redirected;
}

long AllocationCount() { return g_Count; }

}  // namespace bench
