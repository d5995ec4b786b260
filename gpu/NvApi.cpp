// The NVAPI call surface: the driver library is loaded once, on first use, from the system
// folder (where the display driver installs it), and never unloaded; each operation is
// obtained from nvapi_QueryInterface by its interface id.
#include "gpu/NvApi.h"

#include <windows.h>

#include <atomic>

#include "support/SystemLibrary.h"

namespace {

typedef void* (__cdecl* QueryInterfaceFn)(NvU32 id);

// Resolved once; later calls only read the pointer. LoadLibrary is reference counted and
// idempotent, so two threads racing on the first call end with the same handle and store the
// same address. Plain atomics rather than a function-local static: a guarded static brings
// the compiler's locking runtime into the DLL, which keeps handles at every load.
std::atomic<bool> g_Resolved{false};
std::atomic<QueryInterfaceFn> g_Query{nullptr};

QueryInterfaceFn QueryInterface() {
    if (g_Resolved.load(std::memory_order_acquire)) return g_Query.load(std::memory_order_relaxed);
    HMODULE library = LoadSystemLibrary(NVAPI_LIBRARY_NAME);
    const QueryInterfaceFn query =
        library ? reinterpret_cast<QueryInterfaceFn>(
                      reinterpret_cast<void*>(GetProcAddress(library, "nvapi_QueryInterface")))
                : nullptr;
    g_Query.store(query, std::memory_order_relaxed);
    g_Resolved.store(true, std::memory_order_release);
    return query;
}

// Looks up one operation; on failure `status` says why and the result is null.
template <typename Fn>
Fn Resolve(NvU32 id, NvAPI_Status& status) {
    QueryInterfaceFn query = QueryInterface();
    if (!query) {
        status = NVAPI_LIBRARY_NOT_FOUND;
        return nullptr;
    }
    Fn fn = reinterpret_cast<Fn>(query(id));
    status = fn ? NVAPI_OK : NVAPI_NO_IMPLEMENTATION;
    return fn;
}

// Calls the operation `id` with `args`, or returns the status that says why it can't.
template <typename... Args>
NvAPI_Status Call(NvU32 id, Args... args) {
    typedef NvAPI_Status(__cdecl * Fn)(Args...);
    NvAPI_Status status;
    Fn fn = Resolve<Fn>(id, status);
    return fn ? fn(args...) : status;
}

}  // namespace

NvAPI_Status NvAPI_Initialize() { return Call(kNvId_Initialize); }

NvAPI_Status NvAPI_GetInterfaceVersionString(NvAPI_ShortString text) {
    return Call<char*>(kNvId_GetInterfaceVersionString, text);
}

NvAPI_Status NvAPI_EnumNvidiaDisplayHandle(NvU32 thisEnum, NvDisplayHandle* handle) {
    return Call(kNvId_EnumNvidiaDisplayHandle, thisEnum, handle);
}

NvAPI_Status NvAPI_GetPhysicalGPUsFromDisplay(NvDisplayHandle display,
                                              NvPhysicalGpuHandle gpus[NVAPI_MAX_PHYSICAL_GPUS],
                                              NvU32* gpuCount) {
    return Call<NvDisplayHandle, NvPhysicalGpuHandle*, NvU32*>(kNvId_GetPhysicalGPUsFromDisplay, display, gpus,
                                                                gpuCount);
}

NvAPI_Status NvAPI_GetDisplayDriverVersion(NvDisplayHandle display, NV_DISPLAY_DRIVER_VERSION* version) {
    return Call(kNvId_GetDisplayDriverVersion, display, version);
}

NvAPI_Status NvAPI_GPU_GetFullName(NvPhysicalGpuHandle gpu, NvAPI_ShortString name) {
    return Call<NvPhysicalGpuHandle, char*>(kNvId_GPU_GetFullName, gpu, name);
}

NvAPI_Status NvAPI_GPU_QueryIlluminationSupport(NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM* parm) {
    return Call(kNvId_GPU_QueryIlluminationSupport, parm);
}

NvAPI_Status NvAPI_GPU_SetIllumination(NV_GPU_SET_ILLUMINATION_PARM* parm) {
    return Call(kNvId_GPU_SetIllumination, parm);
}

NvAPI_Status NvAPI_GPU_ClientIllumZonesGetInfo(NvPhysicalGpuHandle gpu, NV_GPU_CLIENT_ILLUM_ZONE_INFO_PARAMS_V1* info) {
    return Call(kNvId_GPU_ClientIllumZonesGetInfo, gpu, info);
}

NvAPI_Status NvAPI_GPU_ClientIllumZonesGetControl(NvPhysicalGpuHandle gpu,
                                                  NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1* control) {
    return Call(kNvId_GPU_ClientIllumZonesGetControl, gpu, control);
}

NvAPI_Status NvAPI_GPU_ClientIllumZonesSetControl(NvPhysicalGpuHandle gpu,
                                                  NV_GPU_CLIENT_ILLUM_ZONE_CONTROL_PARAMS_V1* control) {
    return Call(kNvId_GPU_ClientIllumZonesSetControl, gpu, control);
}
