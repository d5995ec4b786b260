#pragma once
// Marks what vis_glowmeter.dll exports to other programs (CSTR, INIFILE, the WS32LIB_ loader).
// Inside the DLL's own build the names are exported; a program linking the import library imports them.
#if defined(GLOWMETER_BUILD)
#define GLOWMETER_API __declspec(dllexport)
#else
#define GLOWMETER_API __declspec(dllimport)
#endif
