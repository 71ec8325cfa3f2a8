// The exact text the portable writer produces.
#include "StreamTestUtil.h"

#include "persist/RWCString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cwchar>

namespace {

struct WriteCase {
    const char* name;
    std::function<void(RWpostream&)> write;
    std::string expected;
};

class PrimitiveWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(PrimitiveWrite, WritesExactText)
{
    EXPECT_EQ(writeText(GetParam().write), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, PrimitiveWrite,
    ::testing::Values(
        WriteCase{"int", [](RWpostream& s) { s << 42; }, "42\n"},
        WriteCase{"negativeInt", [](RWpostream& s) { s << -7; }, "-7\n"},
        WriteCase{"intMin", [](RWpostream& s) { s << INT_MIN; }, "-2147483648\n"},
        WriteCase{"zero", [](RWpostream& s) { s << 0; }, "0\n"},
        WriteCase{"unsignedLongMax", [](RWpostream& s) { s << ULONG_MAX; }, "18446744073709551615\n"},
        WriteCase{"short", [](RWpostream& s) { s << static_cast<short>(-300); }, "-300\n"},
        WriteCase{"unsignedShort", [](RWpostream& s) { s << static_cast<unsigned short>(65535); }, "65535\n"},
        WriteCase{"long", [](RWpostream& s) { s << -5L; }, "-5\n"},
        WriteCase{"unsignedInt", [](RWpostream& s) { s << 4000000000u; }, "4000000000\n"},
        WriteCase{"doubleHalf", [](RWpostream& s) { s << 0.5; }, "5.0000000000000000e-01\n"},
        WriteCase{"double120", [](RWpostream& s) { s << 120.0; }, "1.2000000000000000e+02\n"},
        WriteCase{"floatQuarter", [](RWpostream& s) { s << 0.25f; }, "2.5000000000000000e-01\n"},
        WriteCase{"floatWidened", [](RWpostream& s) { s << 0.1f; }, "1.0000000149011612e-01\n"},
        WriteCase{"doubleZero", [](RWpostream& s) { s << 0.0; }, "0.0000000000000000e+00\n"},
        WriteCase{"doubleNegative", [](RWpostream& s) { s << -1.5; }, "-1.5000000000000000e+00\n"},
        WriteCase{"doubleThreeDigitExponent", [](RWpostream& s) { s << 1e300; }, "1.0000000000000001e+300\n"},
        WriteCase{"plainChar", [](RWpostream& s) { s << 'a'; }, "a"},
        WriteCase{"unsignedCharEscaped", [](RWpostream& s) { s << static_cast<unsigned char>(0xE9); }, "\\xe9"},
        WriteCase{"cString", [](RWpostream& s) { s << "QN312"; }, "\"QN312\""},
        WriteCase{"wideChar", [](RWpostream& s) { s << L'\x263a'; }, "L'\\x263a'"},
        WriteCase{"putCharSignExtended", [](RWpostream& s) { s.put(static_cast<char>(0xE9)); }, "-23\n"},
        WriteCase{"putUnsignedChar", [](RWpostream& s) { s.put(static_cast<unsigned char>(0xE9)); }, "233\n"},
        WriteCase{"putWideChar", [](RWpostream& s) { s.put(L'A'); }, "65\n"},
        WriteCase{"putCharArray", [](RWpostream& s) { s.put("ab", 2); }, "97\n98\n"},
        WriteCase{"putShortArray", [](RWpostream& s) { const short v[] = {1, -2}; s.put(v, 2); }, "1\n-2\n"},
        WriteCase{"putDoubleArray", [](RWpostream& s) { const double v[] = {1.0}; s.put(v, 1); },
                  "1.0000000000000000e+00\n"},
        WriteCase{"putFloatArray", [](RWpostream& s) { const float v[] = {2.0f, 0.5f}; s.put(v, 2); },
                  "2.0000000000000000e+00\n5.0000000000000000e-01\n"},
        WriteCase{"putUnsignedLongArray", [](RWpostream& s) { const unsigned long v[] = {3, 4}; s.put(v, 2); },
                  "3\n4\n"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

struct EscapeCase {
    unsigned byte;
    const char* text;
};

TEST(EscapedCharacter, EveryByteOfTheTable)
{
    const EscapeCase cases[] = {
        {7, "\\a"}, {8, "\\b"}, {9, "\\t"}, {10, "\\n"}, {11, "\\v"}, {12, "\\f"}, {13, "\\r"},
        {0x22, "\\\""}, {0x5C, "\\\\"}, {0x7B, "\\["}, {0x7D, "\\]"},
        {0x21, "!"}, {0x41, "A"}, {0x7E, "~"}, {0x40, "@"}, {0x3A, ":"},
        {0, "\\x00"}, {1, "\\x01"}, {6, "\\x06"}, {14, "\\x0e"}, {0x1F, "\\x1f"}, {0x20, "\\x20"},
        {0x7F, "\\x7f"}, {0x80, "\\x80"}, {0xE9, "\\xe9"}, {0xFF, "\\xff"},
    };
    for (const EscapeCase& c : cases) {
        const char ch = static_cast<char>(c.byte);
        EXPECT_EQ(writeText([ch](RWpostream& s) { s << ch; }), c.text) << "byte " << c.byte;
    }
}

TEST(EscapedCharacter, PrintableBytesAreThemselvesExceptTheFourEscaped)
{
    for (unsigned b = 0x21; b <= 0x7E; ++b) {
        if (b == '"' || b == '\\' || b == '{' || b == '}')
            continue;
        const char ch = static_cast<char>(b);
        EXPECT_EQ(writeText([ch](RWpostream& s) { s << ch; }), std::string(1, ch));
    }
}

TEST(PutString, SevenBytesOfTheEscapeTable)
{
    const char bytes[] = {'a', ' ', '"', '\\', '{', '}', static_cast<char>(0xE9)};
    EXPECT_EQ(writeText([&](RWpostream& s) { s.putString(bytes, 7); }),
              "\"a\\x20\\\"\\\\\\[\\]\\xe9\"");
}

TEST(PutString, EmbeddedZeroIsWritten)
{
    EXPECT_EQ(writeText([](RWpostream& s) { s.putString("a\0b", 3); }), "\"a\\x00b\"");
}

TEST(StringSave, LengthLineThenQuotedText)
{
    EXPECT_EQ(writeText([](RWpostream& s) { s << RWCString("QN312"); s << 1; }), "5\n\"QN312\"1\n");
    EXPECT_EQ(writeText([](RWpostream& s) { s << RWCString(); }), "0\n\"\"");
}

// The wrap counter: plain characters count 1, two-character escapes 2 and
// "\x" escapes 4; numbers are not counted and do not reset it.
TEST(LineWrap, LineFeedBeforeThe81stCountedCharacter)
{
    std::string text = writeText([](RWpostream& s) {
        for (int i = 0; i < 81; ++i)
            s << 'a';
    });
    EXPECT_EQ(text, std::string(80, 'a') + "\na");
}

TEST(LineWrap, InsideAQuotedString)
{
    const std::string body(100, 'b');
    std::string text = writeText([&](RWpostream& s) { s.putString(body.data(), body.size()); });
    // The quote and 79 bytes fill the first line.
    EXPECT_EQ(text, "\"" + std::string(79, 'b') + "\n" + std::string(21, 'b') + "\"");
}

TEST(LineWrap, EscapesAreNeverSplit)
{
    // 79 plain characters, then a 2-character escape (81 > 80) and a 4-character one.
    std::string text = writeText([](RWpostream& s) {
        for (int i = 0; i < 79; ++i)
            s << 'a';
        s << '{';
        for (int i = 0; i < 76; ++i)
            s << 'c';
        s << ' ';
    });
    EXPECT_EQ(text, std::string(79, 'a') + "\n\\[" + std::string(76, 'c') + "\n\\x20");
}

TEST(LineWrap, FourCharacterEscapeThatFitsExactly)
{
    std::string text = writeText([](RWpostream& s) {
        for (int i = 0; i < 76; ++i)
            s << 'a';
        s << ' ';
        s << 'z';
    });
    EXPECT_EQ(text, std::string(76, 'a') + "\\x20\nz");
}

TEST(LineWrap, NumbersAreNotCountedAndDoNotReset)
{
    std::string out = writeText([](RWpostream& s) {
        for (int i = 0; i < 40; ++i)
            s << 'a';
        s << 123456;
        s << 2.5;
        for (int i = 0; i < 41; ++i)
            s << 'b';
        EXPECT_EQ(s.wrapCount(), 1u);
    });
    EXPECT_EQ(out, std::string(40, 'a') + "123456\n2.5000000000000000e+00\n" + std::string(40, 'b') + "\nb");
}

TEST(LineWrap, WideCharAndPutAreNotCounted)
{
    std::string out = writeText([](RWpostream& s) {
        for (int i = 0; i < 80; ++i)
            s << 'a';
        s << L'A';
        s.put('x');
        EXPECT_EQ(s.wrapCount(), 80u);
    });
    EXPECT_EQ(out, std::string(80, 'a') + "L'\\x41'120\n");
}

TEST(PostreamSetup, StreamGetsScientificFormatAndPrecision16)
{
    std::ostringstream out;
    RWpostream s(out);
    EXPECT_EQ(out.precision(), 16);
    EXPECT_EQ(out.flags() & std::ios_base::floatfield, std::ios_base::scientific);
    EXPECT_EQ(s.version(), 1);
    EXPECT_EQ(s.wrapCount(), 0u);
}

TEST(PostreamState, StateForwardsToTheUnderlyingStream)
{
    std::ostringstream other;
    RWpostream broken(other);
    other.setstate(std::ios_base::badbit);
    EXPECT_TRUE(broken.bad());
    EXPECT_FALSE(broken.good());
    broken.clear();
    EXPECT_TRUE(broken.good());
}

} // namespace
