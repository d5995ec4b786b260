#pragma once
// Writes the settings file so that a save is never half done: the values go into a copy of
// the file beside it ("vis_glowmeter.ini.tmp", made from the current file, so comments,
// unknown keys and other sections survive), which is flushed and read back from the disk
// before it takes the file's place in one rename; the file's access list goes with it. Where
// no copy can be made beside the file (a folder that only lets its users write the
// file itself), the values are written into the file in place and read back the same way.
//
//   SettingsFileWriter writer(path);
//   if (writer.Begin()) { writer.Write(...); ...; saved = writer.Commit(); }
//
// Any failure leaves the file as it was (but in place, where that is all there is) and no
// copy behind.
#include <windows.h>

#include "settings/SettingsPath.h"

class SettingsFileWriter {
public:
    explicit SettingsFileWriter(const wchar_t* path);
    ~SettingsFileWriter();  // a writer that did not commit removes its copy
    SettingsFileWriter(const SettingsFileWriter&) = delete;
    SettingsFileWriter& operator=(const SettingsFileWriter&) = delete;

    bool Begin();
    // One value (names and value of at most 15 characters, at most kMaxValues of them); a
    // refused write fails the commit.
    void Write(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    // Every value on disk as written, and the file replaced: true. Otherwise false.
    bool Commit();

    static constexpr int kMaxValues = 64;
    static constexpr int kNameSize = 16;  // sections, keys and values alike

private:
    struct Entry {
        char section[kNameSize];
        char key[kNameSize];
        char value[kNameSize];
    };

    bool MakeCopy();
    bool ReadBack() const;
    bool Replace();
    void Discard();

    wchar_t path_[kSettingsPathSize];
    wchar_t copy_[kSettingsPathSize + 8];
    const wchar_t* target_ = nullptr;  // the copy, or the file itself when written in place
    bool failed_ = false;
    bool committed_ = false;
    Entry written_[kMaxValues];
    int count_ = 0;
};
