#pragma once
// A folder name that no ANSI code page spells, in Cyrillic and CJK letters: Winamp, and with
// it the plug-in and its settings file, may sit in any folder. The tools take it as UTF-8
// (Utf8FromWide, tools/common/Utf8Text.h).
const wchar_t kUnicodeFolderName[] = L"\u041a\u0438\u0440\u0438\u043b\u043b\u0438\u0446\u0430 \u65e5\u672c";
