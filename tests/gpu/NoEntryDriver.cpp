// A library that carries the driver's file name but not its entry nvapi_QueryInterface,
// as a broken or foreign install would.
extern "C" __declspec(dllexport) int NotTheDriver() { return 0; }
