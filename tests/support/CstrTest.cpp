// CSTR used across the DLL boundary, as another program linking the import library would.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "support/CSTR.h"

namespace {

// The text and the invariant: a buffer exactly when the length is not 0.
void ExpectText(const CSTR& s, const char* expected) {
    const unsigned int length = static_cast<unsigned int>(std::strlen(expected));
    EXPECT_EQ(s.Length(), length) << expected;
    if (length == 0) {
        EXPECT_EQ(s.String(0), nullptr) << "an empty string holds no buffer";
    } else {
        ASSERT_NE(s.String(0), nullptr) << expected;
        EXPECT_STREQ(s.String(0), expected);
    }
}

TEST(Cstr, ConstructsFromTextAndFromIntegers) {
    ExpectText(CSTR(), "");
    ExpectText(CSTR(static_cast<const char*>(nullptr)), "");
    ExpectText(CSTR(""), "");
    ExpectText(CSTR("abc"), "abc");

    struct Row { int value; const char* text; };
    const Row rows[] = {{0, "0"}, {7, "7"}, {10, "10"}, {-1, "-1"}, {-123, "-123"},
                        {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const Row& row : rows) {
        ExpectText(CSTR(row.value), row.text);
        CSTR assigned("old text");
        assigned = row.value;
        ExpectText(assigned, row.text);
    }
}

TEST(Cstr, AppendsAndIgnoresNullEmptyAndItsOwnBuffer) {
    CSTR s;
    EXPECT_EQ(s.Append(nullptr), nullptr);
    EXPECT_EQ(s.Append(""), nullptr);
    ExpectText(s, "");
    EXPECT_STREQ(s.Append("ab"), "ab");
    s += "cd";
    s += CSTR("ef");
    s += CSTR();
    ExpectText(s, "abcdef");
    const char* before = s.String(0);
    EXPECT_EQ(s.Append(before), s.String(0));
    ExpectText(s, "abcdef");
}

TEST(Cstr, InsertsOnlyBeforeTheEnd) {
    struct Row { const char* base; const char* text; unsigned int position; const char* expected; };
    const Row rows[] = {
        {"abc", "x", 0, "xabc"},  {"abc", "x", 1, "axbc"},   {"abc", "x", 2, "abxc"},
        {"abc", "xy", 1, "axybc"}, {"abc", "x", 3, "abc"},    {"abc", "x", 99, "abc"},
        {"abc", nullptr, 0, "abc"}, {"abc", "", 1, "abc"},    {"", "x", 0, ""},
    };
    for (const Row& row : rows) {
        CSTR s(row.base);
        const char* result = s.Insert(row.text, row.position);
        ExpectText(s, row.expected);
        EXPECT_EQ(result, s.String(0));
    }
    CSTR own("abc");
    own.Insert(own.String(0), 1);
    ExpectText(own, "abc");
}

// Texts taken from the string's own buffer are copied before the old buffer goes.
TEST(Cstr, TextFromItsOwnBufferGivesTheAskedForResult) {
    CSTR self("abcdef");
    self = self;
    ExpectText(self, "abcdef");

    CSTR whole("abcdef");
    whole = whole.String(0);
    ExpectText(whole, "abcdef");

    CSTR tail("abcdef");
    tail = tail.String(2);
    ExpectText(tail, "cdef");

    CSTR appended("abcdef");
    appended.Append(appended.String(3));
    ExpectText(appended, "abcdefdef");

    CSTR inserted("abcdef");
    inserted.Insert(inserted.String(4), 1);
    ExpectText(inserted, "aefbcdef");

    CSTR end("abc");
    end = end.String(3);  // the terminator: an empty text
    ExpectText(end, "");
}

TEST(Cstr, AssignmentReplacesTheText) {
    CSTR s("abc");
    s = CSTR("xy");
    ExpectText(s, "xy");
    s = static_cast<const char*>(nullptr);
    ExpectText(s, "");
    s = "q";
    s = "";
    ExpectText(s, "");
    s = "z";
    s.Remove();
    ExpectText(s, "");
    s = CSTR();
    ExpectText(s, "");
}

TEST(Cstr, TrimsWithWhiteSpaceOrAGivenSet) {
    enum Op { kBoth, kLeft, kRight };
    struct Row { const char* text; const char* set; Op op; const char* expected; };
    const Row rows[] = {
        {"  ab \t", nullptr, kBoth, "ab"},
        {"\n\r\v\fab", nullptr, kLeft, "ab"},
        {"ab  ", nullptr, kLeft, "ab  "},
        {"   ", " ", kBoth, ""},
        {"   ", nullptr, kRight, ""},
        {"abxyxy", "xy", kRight, "ab"},
        {"xxabxx", "x", kLeft, "abxx"},
        {"xxabxx", "x", kRight, "xxab"},
        {"xyx", "xy", kLeft, ""},
        {"  ab", "", kLeft, "  ab"},
        {"ab  ", "", kRight, "ab  "},
        {"a b", " ", kBoth, "a b"},
        {"", nullptr, kBoth, ""},
        {"", "x", kRight, ""},
    };
    for (const Row& row : rows) {
        CSTR s(row.text);
        const char* result = row.op == kBoth ? s.Trim(row.set) : row.op == kLeft ? s.TrimLeft(row.set)
                                                                                 : s.TrimRight(row.set);
        ExpectText(s, row.expected);
        EXPECT_EQ(result, s.String(0)) << row.text;
    }
}

TEST(Cstr, ChangesCaseInPlace) {
    CSTR s("aBc1-z");
    EXPECT_STREQ(s.Upper(), "ABC1-Z");
    EXPECT_STREQ(s.Lower(), "abc1-z");
    EXPECT_STREQ(s.Convert(true), "ABC1-Z");
    EXPECT_STREQ(s.Convert(false), "abc1-z");
    ExpectText(s, "abc1-z");
    CSTR empty;
    EXPECT_EQ(empty.Upper(), nullptr);
    EXPECT_EQ(empty.Convert(false), nullptr);
}

TEST(Cstr, ConvertsNumbersInEveryBase) {
    enum Base { kBit, kOct, kDec, kHex, kGiven };
    struct Row { const char* text; Base op; int base; long expected; };
    const Row rows[] = {
        {"101", kBit, 0, 5},          {"102", kBit, 0, 2},          {"2", kBit, 0, 0},
        {"777", kOct, 0, 511},        {"8", kOct, 0, 0},            {"-42", kDec, 0, -42},
        {"  +12abc", kDec, 0, 12},    {"", kDec, 0, 0},             {"z", kDec, 0, 0},
        {"99999999999", kDec, 0, LONG_MAX},                          {"-99999999999", kDec, 0, LONG_MIN},
        {"1F", kHex, 0, 31},          {"0x1f", kHex, 0, 31},        {"-ff", kHex, 0, -255},
        {"0x10", kGiven, 0, 16},      {"010", kGiven, 0, 8},        {"10", kGiven, 0, 10},
        {"zz", kGiven, 36, 1295},     {"12", kGiven, 1, 0},         {"12", kGiven, 37, 0},
        {"12", kGiven, -2, 0},
    };
    for (const Row& row : rows) {
        const CSTR s(row.text);
        long value = 0;
        switch (row.op) {
            case kBit: value = s.Bit(); break;
            case kOct: value = s.Oct(); break;
            case kDec: value = s.Dec(); break;
            case kHex: value = s.Hex(); break;
            case kGiven: value = s.Convert(row.base); break;
        }
        EXPECT_EQ(value, row.expected) << "'" << row.text << "' op " << row.op << " base " << row.base;
    }
}

// A string equals a text that begins with its own characters; empty strings equal only
// each other, never an empty text given as a pointer.
TEST(Cstr, ComparesOverItsOwnLengthOrAGivenCount) {
    struct Row { const char* text; const char* other; unsigned int count; bool equal; };
    const Row rows[] = {
        {"abc", "abd", 2, true},  {"abc", "abd", 0, false}, {"abc", "ab", 0, false},
        {"abc", "abcd", 0, true}, {"abc", "abc", 0, true},  {"abc", "abc", 9, true},
        {"abc", "ABC", 0, false}, {"", "a", 0, false},      {"", "", 0, false},
        {"a", "", 0, false},      {"a", nullptr, 0, false}, {"", nullptr, 0, true},
    };
    for (const Row& row : rows) {
        const CSTR s(row.text);
        EXPECT_EQ(s.Compare(row.other, row.count), row.equal) << row.text << " / " << (row.other ? row.other : "null");
        if (row.count != 0) continue;
        EXPECT_EQ(s == row.other, row.equal) << row.text;
        if (row.other) {
            // A CSTR never holds an empty text, so an empty other string counts as no text.
            const bool equal = *row.other ? row.equal : !*row.text;
            EXPECT_EQ(s == CSTR(row.other), equal) << row.text;
        }
    }
    EXPECT_TRUE(CSTR() == CSTR());
    EXPECT_FALSE(CSTR("abcd") == CSTR("abc"));
    const CSTR s("abc");
    EXPECT_TRUE(s.Compare(s.String(0), 0));
}

TEST(Cstr, IndexesIntoTheTextUpToItsEnd) {
    const CSTR s("abc");
    EXPECT_STREQ(s.String(1), "bc");
    EXPECT_STREQ(s.String(3), "");
    EXPECT_EQ(s.String(4), nullptr);
    EXPECT_EQ(CSTR().String(0), nullptr);
}

TEST(Cstr, CopiesAreIndependent) {
    CSTR* original = new CSTR("abc");
    CSTR copy(*original);
    EXPECT_NE(copy.String(0), original->String(0));
    copy.Append("def");
    original->Upper();
    ExpectText(copy, "abcdef");
    ExpectText(*original, "ABC");
    delete original;  // the copy outlives the original's buffer
    ExpectText(copy, "abcdef");

    CSTR assigned;
    assigned = copy;
    copy.Remove();
    ExpectText(assigned, "abcdef");
    ExpectText(CSTR(CSTR()), "");
}

}  // namespace
