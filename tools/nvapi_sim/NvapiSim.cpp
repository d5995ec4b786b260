#include <cstdint>
extern "C" __declspec(dllexport) void* nvapi_QueryInterface(uint32_t) { return nullptr; }
