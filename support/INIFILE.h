#pragma once
// Typed values in a Windows profile file, read and written through the platform's profile
// functions. The object holds only the file's path. Exported from vis_glowmeter.dll.
#include <windows.h>
#include "support/CSTR.h"
#include "support/Export.h"

class GLOWMETER_API INIFILE {
public:
    INIFILE();
    INIFILE(const INIFILE& other);
    INIFILE& operator=(const INIFILE& other);
    virtual ~INIFILE();

    int Open(const char* path);
    int OpenLocal(const char* name);
    void Close();
    int Create(const char* section);
    const CSTR& Path() const { return path; }

    int Read(const char* section, const char* key, unsigned char def, unsigned char* value);
    int Read(const char* section, const char* key, short def, short* value);
    int Read(const char* section, const char* key, unsigned short def, unsigned short* value);
    int Read(const char* section, const char* key, int def, int* value);
    int Read(const char* section, const char* key, unsigned int def, unsigned int* value);
    int Read(const char* section, const char* key, long def, long* value);
    int Read(const char* section, const char* key, unsigned long def, unsigned long* value);
    int Read(const char* section, const char* key, float def, float* value);
    int Read(const char* section, const char* key, double def, double* value);
    int Read(const char* section, const char* key, const char* def, char* buffer, unsigned int size);
    int Read(const char* section, const char* key, RECT* rect);
    int Read(const char* section, const char* key, LOGFONTA* font);
    int Read(const char* section, const char* key, unsigned long* colour);

    int Write(const char* section, const char* key, unsigned char value);
    int Write(const char* section, const char* key, short value);
    int Write(const char* section, const char* key, unsigned short value);
    int Write(const char* section, const char* key, int value);
    int Write(const char* section, const char* key, unsigned int value);
    int Write(const char* section, const char* key, long value);
    int Write(const char* section, const char* key, unsigned long value);
    int Write(const char* section, const char* key, float value);
    int Write(const char* section, const char* key, double value);
    int Write(const char* section, const char* key, const char* format, unsigned long value);
    int Write(const char* section, const char* key, const char* text);
    int Write(const char* section, const char* key, const RECT* rect);
    int Write(const char* section, const char* key, const LOGFONTA* font);
    int Write(const char* section, const char* key, const unsigned long* colour);

private:
    CSTR path;
};
