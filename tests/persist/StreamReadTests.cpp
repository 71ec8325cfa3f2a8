// What the portable reader accepts, and how it fails.
#include "StreamTestUtil.h"

#include "persist/RWCString.h"
#include "persist/RWxmsg.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstring>

namespace {

TEST(ReadBack, NumbersOfEveryType)
{
    const std::string text = writeText([](RWpostream& s) {
        s << -2147483647 - 1 << 4294967295u << -9000000000L << 18446744073709551615ul;
        s << static_cast<short>(-32768) << static_cast<unsigned short>(65535);
        s << 0.25f << 1.0 / 3.0 << DBL_MAX << -DBL_MIN;
    });
    TextIn in(text);
    int i = 0;
    unsigned u = 0;
    long l = 0;
    unsigned long ul = 0;
    short sh = 0;
    unsigned short us = 0;
    float f = 0;
    double third = 0, big = 0, tiny = 0;
    in.s >> i >> u >> l >> ul >> sh >> us >> f >> third >> big >> tiny;
    ASSERT_TRUE(in.s.good());
    EXPECT_EQ(i, INT_MIN);
    EXPECT_EQ(u, 4294967295u);
    EXPECT_EQ(l, -9000000000L);
    EXPECT_EQ(ul, 18446744073709551615ul);
    EXPECT_EQ(sh, -32768);
    EXPECT_EQ(us, 65535);
    EXPECT_EQ(f, 0.25f);
    EXPECT_EQ(third, 1.0 / 3.0);
    EXPECT_EQ(big, DBL_MAX);
    EXPECT_EQ(tiny, -DBL_MIN);
}

TEST(ReadBack, EveryByteAsEscapedCharacter)
{
    std::string text = writeText([](RWpostream& s) {
        for (int b = 0; b < 256; ++b)
            s << static_cast<char>(b);
    });
    TextIn in(text);
    for (int b = 0; b < 256; ++b) {
        char c = 0;
        in.s >> c;
        ASSERT_TRUE(in.s.good()) << b;
        EXPECT_EQ(static_cast<unsigned char>(c), b);
    }
}

TEST(ReadBack, StringsWithEveryByteAndWraps)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const RWCString strings[] = {RWCString(), RWCString("QN313"), RWCString(all), RWCString(std::string(300, 'x')),
                                 RWCString(std::string("a \"\\{}\xe9", 7))};
    std::string text = writeText([&](RWpostream& s) {
        for (const RWCString& str : strings)
            s << str;
    });
    TextIn in(text);
    for (const RWCString& expected : strings) {
        RWCString got("previous");
        in.s >> got;
        ASSERT_TRUE(in.s.good());
        EXPECT_EQ(got, expected);
    }
}

TEST(ReadBack, WideCharacters)
{
    std::string text = writeText([](RWpostream& s) { s << L'\x263a' << L'A' << static_cast<wchar_t>(0x10FFFF); });
    TextIn in(text);
    wchar_t a = 0, b = 0, c = 0;
    in.s >> a >> b >> c;
    ASSERT_TRUE(in.s.good());
    EXPECT_EQ(a, L'\x263a');
    EXPECT_EQ(b, L'A');
    EXPECT_EQ(c, static_cast<wchar_t>(0x10FFFF));
}

TEST(ReadBack, PutFormsReadWithGet)
{
    std::string text = writeText([](RWpostream& s) {
        s.put(static_cast<char>(-23));
        s.put(static_cast<unsigned char>(200));
        s.put(L'z');
        const int ints[] = {1, -2, 3};
        s.put(ints, 3);
        const double ds[] = {0.5, -8.0};
        s.put(ds, 2);
    });
    TextIn in(text);
    char c = 0;
    unsigned char uc = 0;
    wchar_t w = 0;
    int ints[3] = {};
    double ds[2] = {};
    in.s.get(c).get(uc).get(w).get(ints, 3).get(ds, 2);
    ASSERT_TRUE(in.s.good());
    EXPECT_EQ(c, static_cast<char>(-23));
    EXPECT_EQ(uc, 200);
    EXPECT_EQ(w, L'z');
    EXPECT_EQ(ints[1], -2);
    EXPECT_EQ(ds[1], -8.0);
    EXPECT_EQ(in.s.get(), -1); // end of the input
}

TEST(ReadBack, GetTruncatesToTheElementType)
{
    TextIn in("300\n");
    unsigned char c = 0;
    in.s.get(c);
    EXPECT_EQ(c, 44);
}

// Leniency: white space before numbers and markers, line feeds and carriage
// returns inside strings, line feeds before escaped characters.
TEST(Leniency, WhiteSpaceAndLineBreaksAreSkipped)
{
    TextIn in(" \t\r\n 12 \n\n -3\n\n:\n\\[\r\n 5\n\"QN\n3\r\n1\n\\x32\"");
    int a = 0, b = 0;
    char colon = 0, brace = 0;
    RWCString tag;
    in.s >> a >> b >> colon >> brace >> tag;
    ASSERT_TRUE(in.s.good());
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, -3);
    EXPECT_EQ(colon, ':');
    EXPECT_EQ(brace, '{');
    EXPECT_EQ(tag, "QN312");
}

TEST(Leniency, PlusSignAndLeadingZerosInNumbers)
{
    TextIn in("+7 007 1.5 +2.5e+00 .5");
    int a = 0, b = 0;
    double c = 0, d = 0, e = 0;
    in.s >> a >> b >> c >> d >> e;
    EXPECT_FALSE(in.s.fail());
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(c, 1.5);
    EXPECT_EQ(d, 2.5);
    EXPECT_EQ(e, 0.5);
}

struct CCharCase {
    const char* input;
    std::vector<int> decoded;
};

TEST(GetCChar, DecodesEscapes)
{
    const CCharCase cases[] = {
        {"\\a\\b\\f\\n\\r\\t\\v", {7, 8, 12, 10, 13, 9, 11}},
        {"\\\"\\[\\\\\\]", {'"', '{', '\\', '}'}},
        {"\\x41\\xe9\\xFF\\x00", {0x41, 0xE9, 0xFF, 0}},
        {"\\X41", {'X', '4', '1'}},  // upper-case X is not the hex form
        {"\\q\\ ", {'q', ' '}},      // any other byte stands for itself
        {"\n\na\n\\\n", {'a', '\n'}}, // line feeds before a character are skipped
        {"\\x4z", {4}},              // two bytes are taken; the hex digits from the left count
        {"{}", {'{', '}'}},
    };
    for (const CCharCase& c : cases) {
        TextIn in(c.input);
        std::vector<int> got;
        for (size_t i = 0; i < c.decoded.size(); ++i)
            got.push_back(in.s.getCChar());
        EXPECT_EQ(got, c.decoded) << c.input;
        EXPECT_EQ(in.s.getCChar(), -1) << c.input;
        EXPECT_TRUE(in.s.eof());
    }
}

TEST(GetString, FillsTheBufferAndTerminatesIt)
{
    TextIn in("  \"ab\\x20c\"\"\"");
    char buffer[8];
    std::memset(buffer, 'z', sizeof buffer);
    in.s.getString(buffer, sizeof buffer);
    EXPECT_TRUE(in.s.good());
    EXPECT_STREQ(buffer, "ab c");
    in.s.getString(buffer, sizeof buffer);
    EXPECT_TRUE(in.s.good());
    EXPECT_STREQ(buffer, "");
}

TEST(GetString, TooLittleRoomSetsFailAndConsumesTheRest)
{
    TextIn in("\"abcdef\\\"gh\"7");
    char buffer[4];
    in.s.getString(buffer, sizeof buffer);
    EXPECT_TRUE(in.s.fail());
    EXPECT_FALSE(in.s.eof());
    EXPECT_STREQ(buffer, "abc");
    in.s.clear();
    int next = 0;
    in.s >> next;
    EXPECT_EQ(next, 7);
}

TEST(GetString, ExactRoomIsEnough)
{
    TextIn in("\"abc\"");
    char buffer[4];
    in.s.getString(buffer, sizeof buffer);
    EXPECT_TRUE(in.s.good());
    EXPECT_STREQ(buffer, "abc");
}

TEST(GetString, MissingOpeningQuoteIsASyntaxError)
{
    TextIn in("  x\"abc\"");
    char buffer[8];
    try {
        in.s.getString(buffer, sizeof buffer);
        FAIL() << "no error raised";
    } catch (const RWExternalErr& e) {
        EXPECT_STREQ(e.what(), "[STREAM] Syntax error in input stream: expected '\"', got 'x'");
    }
    EXPECT_EQ(in.rest(), "x\"abc\""); // the offending byte is pushed back
}

TEST(GetString, EndOfInputIsNotASyntaxError)
{
    char buffer[8];
    TextIn empty("  \n");
    empty.s.getString(buffer, sizeof buffer);
    EXPECT_TRUE(empty.s.eof());
    EXPECT_TRUE(empty.s.fail());
    TextIn unterminated("\"abc");
    unterminated.s.getString(buffer, sizeof buffer);
    EXPECT_TRUE(unterminated.s.fail());
    EXPECT_STREQ(buffer, "abc");
}

TEST(CountedString, LongerThanDeclaredSetsFailAfterTheClosingQuote)
{
    TextIn in("3\n\"abcde\"9");
    RWCString s;
    in.s >> s;
    EXPECT_TRUE(in.s.fail());
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(in.rest(), "9");
}

TEST(CountedString, ShorterThanDeclaredIsAFormatError)
{
    TextIn in("5\n\"abc\"");
    RWCString s;
    in.s >> s;
    EXPECT_TRUE(in.s.fail());
}

// A declared length is not trusted: nothing the size of the declared length
// is allocated before the characters are there.
TEST(CountedString, HugeDeclaredLengthIsAFormatErrorNotAnAllocation)
{
    for (const char* text : {"18446744073709551615\n\"abc\"", "4000000000\n\"ab", "99999999999\n\"\""}) {
        TextIn in(text);
        RWCString s;
        in.s >> s;
        EXPECT_TRUE(in.s.fail()) << text;
        EXPECT_LE(s.length(), 3u);
    }
}

TEST(CountedString, UnreadableLengthLeavesTheStringAlone)
{
    TextIn in("x\"abc\"");
    RWCString s("kept");
    in.s >> s;
    EXPECT_TRUE(in.s.fail());
    EXPECT_EQ(s, "kept");
}

struct BadNumberCase {
    const char* input;
    bool eof;
};

TEST(NumberErrors, MalformedOrOutOfRangeSetsFail)
{
    const BadNumberCase cases[] = {
        {"abc", false}, {"-", true}, {"+x", false}, {"", true}, {"   ", true},
        {"2147483648", true}, {"-2147483649", true}, {"99999999999999999999999", true},
    };
    for (const BadNumberCase& c : cases) {
        TextIn in(c.input);
        int v = 1;
        in.s >> v;
        EXPECT_TRUE(in.s.fail()) << c.input;
        EXPECT_EQ(in.s.eof(), c.eof) << c.input;
    }
    TextIn shortIn("70000\n");
    unsigned short us = 0;
    shortIn.s >> us;
    EXPECT_TRUE(shortIn.s.fail());
    TextIn doubleIn("1e\n");
    double d = 0;
    doubleIn.s >> d;
    EXPECT_TRUE(doubleIn.s.fail());
    TextIn hugeIn("1e999\n");
    hugeIn.s >> d;
    EXPECT_TRUE(hugeIn.s.fail());
}

TEST(NumberErrors, NothingIsReadOnceTheStreamFailed)
{
    TextIn in("x 5");
    int a = 0, b = 0;
    in.s >> a >> b;
    EXPECT_TRUE(in.s.fail());
    EXPECT_EQ(b, 0);
    EXPECT_EQ(in.s.get(), -1);
}

TEST(NumberErrors, NumberAtTheVeryEndSetsEofButKeepsTheValue)
{
    TextIn in("42");
    int v = 0;
    in.s >> v;
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(in.s.eof());
    EXPECT_FALSE(in.s.fail());
}

struct WideErrorCase {
    const char* input;
    const char* expected;
    const char* rest;
};

TEST(WideCharErrors, EachMismatchNamesTheExpectedText)
{
    const WideErrorCase cases[] = {
        {"K'\\x41'", "L", "K'\\x41'"},
        {"L\"\\x41'", "'", "\"\\x41'"},
        {"L'/x41'", "\\", "/x41'"},
        {"L'\\X41'", "x", "X41'"},
        {"L'\\xg'", "Hex digit", "g'"},
        {"L'\\x41\"", "'", "\""},
        {"L'\\x123456789'", "'", "9'"},
    };
    for (const WideErrorCase& c : cases) {
        TextIn in(c.input);
        wchar_t w = 0;
        try {
            in.s >> w;
            ADD_FAILURE() << "no error for " << c.input;
        } catch (const RWExternalErr& e) {
            EXPECT_NE(std::strstr(e.what(), (std::string("expected '") + c.expected + "'").c_str()), nullptr)
                << e.what();
        }
        EXPECT_EQ(in.rest(), c.rest) << c.input;
    }
}

TEST(UnsignedCharExtraction, ReadsOneRawNonBlankByte)
{
    TextIn in("  \\x41");
    unsigned char a = 0, b = 0;
    in.s >> a >> b;
    EXPECT_EQ(a, '\\');
    EXPECT_EQ(b, 'x');
}

} // namespace
