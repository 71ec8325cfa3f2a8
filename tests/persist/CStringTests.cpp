// Byte-string operations the model relies on.
#include "persist/RWCString.h"
#include "persist/RWCTokenizer.h"

#include <gtest/gtest.h>

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

struct CompareCase {
    RWCString a;
    RWCString b;
    RWCString::caseCompare mode;
    int expected;
};

TEST(CStringCompare, OrderBySignOfResult)
{
    const CompareCase cases[] = {
        {"QN313", "QN313", RWCString::exact, 0},
        {"QN3000", "QN308", RWCString::exact, -1},
        {"QN300", "QN3000", RWCString::exact, -1},
        {"QN3000", "QN304", RWCString::exact, -1},
        {"QN312", "QN311", RWCString::exact, 1},
        {"", "a", RWCString::exact, -1},
        {"abc", "ab", RWCString::exact, 1},
        {"Tabla", "tabla", RWCString::exact, -1},
        {"Tabla", "tabla", RWCString::ignoreCase, 0},
        {"TABLA", "tablas", RWCString::ignoreCase, -1},
        {"a\xe9", "a\x7f", RWCString::exact, 1},  // bytes compare unsigned
        {"\xc9", "\xe9", RWCString::ignoreCase, -1}, // no folding beyond ASCII
        {"[", "a", RWCString::exact, -1},
        {"[", "A", RWCString::ignoreCase, -1},       // folding to lower case
        {RWCString("a\0b", 3), RWCString("a\0c", 3), RWCString::exact, -1},
    };
    for (const CompareCase& c : cases) {
        EXPECT_EQ(sign(c.a.compareTo(c.b, c.mode)), c.expected) << c.a.str() << " vs " << c.b.str();
        EXPECT_EQ(sign(c.b.compareTo(c.a, c.mode)), -c.expected);
    }
    EXPECT_EQ(sign(RWCString("QN308").compareTo("QN3000")), 1);
}

TEST(CStringEquality, LengthAndBytes)
{
    EXPECT_TRUE(RWCString("abc") == "abc");
    EXPECT_FALSE(RWCString("abc") == "ab");
    EXPECT_FALSE(RWCString("a\0b", 3) == "a");
    EXPECT_TRUE(RWCString() == "");
    EXPECT_TRUE(RWCString("abc")(1, 2) == "bc");
    EXPECT_TRUE(RWCString("abc")(1, 2) == RWCString("bc"));
}

struct HashCase {
    std::string bytes;
    unsigned exact;
    unsigned ignoreCase;
};

// Expected values were worked out by hand from the hash rule.
TEST(CStringHash, ExactAndIgnoreCaseValues)
{
    const HashCase cases[] = {
        {"", 0x0u, 0x0u},
        {"a", 0x41u, 0x61u},
        {"abcd", 0x646362e1u, 0x618024u},
        {"abcde", 0x8c6c5849u, 0xe3004c5u},
        {"\xe9", 0xffffffc9u, 0xc9u},     // the remainder byte is sign-extended
        {"\xe9" "a", 0xffffe921u, 0x1561u},
        {"a\xe9", 0xffffffa9u, 0xc9u},
        {"QN313", 0x2669de15u, 0xf37ca13u},
        {"Main", 0x6e6961cdu, 0x678d6eu},
        {"Tabla.qnb", 0x47a41dfeu, 0x1c073b9au},
    };
    for (const HashCase& c : cases) {
        RWCString s(c.bytes);
        EXPECT_EQ(s.hash(RWCString::exact), c.exact) << c.bytes;
        EXPECT_EQ(s.hash(RWCString::ignoreCase), c.ignoreCase) << c.bytes;
    }
    EXPECT_EQ(RWCString("MAIN").hash(RWCString::ignoreCase), RWCString("main").hash(RWCString::ignoreCase));
}

struct IndexCase {
    const char* text;
    const char* pattern;
    size_t start;
    RWCString::caseCompare mode;
    size_t expected;
};

TEST(CStringIndex, FirstOccurrenceAtOrAfterStart)
{
    const IndexCase cases[] = {
        {"abcabc", "bc", 0, RWCString::exact, 1},
        {"abcabc", "bc", 2, RWCString::exact, 4},
        {"abcabc", "bc", 5, RWCString::exact, RW_NPOS},
        {"abcabc", "", 3, RWCString::exact, 3},
        {"abc", "", 3, RWCString::exact, 3},
        {"abc", "", 4, RWCString::exact, RW_NPOS},
        {"abc", "abcd", 0, RWCString::exact, RW_NPOS},
        {"abc", "c", 10, RWCString::exact, RW_NPOS},
        {"Song.MID", ".mid", 0, RWCString::ignoreCase, 4},
        {"Song.MID", ".mid", 0, RWCString::exact, RW_NPOS},
    };
    for (const IndexCase& c : cases)
        EXPECT_EQ(RWCString(c.text).index(c.pattern, c.start, c.mode), c.expected) << c.text << " " << c.pattern;
    EXPECT_TRUE(RWCString("Preferences.dat").contains("ces.d"));
    EXPECT_FALSE(RWCString("Preferences.dat").contains("CES", RWCString::exact));
    EXPECT_TRUE(RWCString("Preferences.dat").contains("CES", RWCString::ignoreCase));
}

TEST(CStringSubString, ViewsAndTheNullView)
{
    RWCString s("RZ12.mid");
    EXPECT_EQ(RWCString(s(2, 2)), "12");
    EXPECT_TRUE(s(0, 0) == "");
    EXPECT_FALSE(s(0, 0).isNull());
    EXPECT_TRUE(s(7, 5).isNull()); // runs past the end
    EXPECT_TRUE(s(7, 5) == "");
    EXPECT_FALSE(s(7, 5) == "d");
}

struct StripCase {
    const char* text;
    RWCString::stripType where;
    char ch;
    const char* expected;
    bool null;
};

TEST(CStringStrip, RunsAtTheChosenEnds)
{
    const StripCase cases[] = {
        {"  ab  ", RWCString::leading, ' ', "ab  ", false},
        {"  ab  ", RWCString::trailing, ' ', "  ab", false},
        {"  ab  ", RWCString::both, ' ', "ab", false},
        {"xxaxx", RWCString::both, 'x', "a", false},
        {"ab", RWCString::both, ' ', "ab", false},
        {"    ", RWCString::both, ' ', "", true},
        {"    ", RWCString::leading, ' ', "", true},
        {"", RWCString::both, ' ', "", true},
    };
    for (const StripCase& c : cases) {
        RWCString s(c.text);
        RWCSubString sub = s.strip(c.where, c.ch);
        EXPECT_TRUE(sub == c.expected) << c.text;
        EXPECT_EQ(sub.isNull(), c.null) << c.text;
    }
}

TEST(CStringCase, AsciiFoldingOnly)
{
    RWCString s("Tabla-\xe9\xc9-Z");
    EXPECT_EQ(RWCString(s).toLower(), "tabla-\xe9\xc9-z");
    EXPECT_EQ(RWCString(s).toUpper(), "TABLA-\xe9\xc9-Z");
}

TEST(Tokenizer, SkipsEmptyFieldsAndEndsWithTheNullView)
{
    RWCString s("  3/4\t\n 5//6 ");
    RWCTokenizer next(s);
    std::vector<std::string> tokens;
    for (RWCSubString t = next("/ \t\n"); !t.isNull(); t = next("/ \t\n"))
        tokens.push_back(t.toStdString());
    EXPECT_EQ(tokens, (std::vector<std::string>{"3", "4", "5", "6"}));
    EXPECT_TRUE(next().isNull());
}

TEST(Tokenizer, DefaultDelimitersAreSpaceTabAndLineFeed)
{
    RWCString s("a,b c\td\ne\rf");
    RWCTokenizer next(s);
    std::vector<std::string> tokens;
    for (RWCSubString t = next(); !t.isNull(); t = next())
        tokens.push_back(t.toStdString());
    EXPECT_EQ(tokens, (std::vector<std::string>{"a,b", "c", "d", "e\rf"}));
}

TEST(Tokenizer, EmptyAndDelimiterOnlyStrings)
{
    RWCString empty;
    EXPECT_TRUE(RWCTokenizer(empty)().isNull());
    RWCString blanks(" \t\n");
    EXPECT_TRUE(RWCTokenizer(blanks)().isNull());
}

} // namespace
