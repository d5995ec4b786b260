#pragma once
// Whether a caller's printf format may format one 32-bit integer and nothing else: literal
// text ("%%" included) and exactly one conversion of d, i, u, x, X or o, with flags, a width
// and an optional "l". Anything else (no conversion, two, "%s", "%n", "*", "ll", ...) would
// read arguments that were never passed, or write through them.
bool IsIntegerFormat(const char* format);
