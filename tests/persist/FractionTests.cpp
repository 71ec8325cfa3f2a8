// Exact fractions: reduction, arithmetic, text form and saved form.
#include "StreamTestUtil.h"

#include "persist/LMFraction.h"
#include "persist/RWGraphIO.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

struct ReduceCase {
    long long n, d;
    int num;
    unsigned den;
};

TEST(Fraction, AlwaysReducedWithAPositiveDenominator)
{
    const ReduceCase cases[] = {
        {6, 8, 3, 4}, {-6, 8, -3, 4}, {6, -8, -3, 4}, {-6, -8, 3, 4}, {0, 5, 0, 1},
        {0, -5, 0, 1}, {7, 1, 7, 1}, {5, 0, 0, 1}, {INT_MIN, 2, INT_MIN / 2, 1},
    };
    for (const ReduceCase& c : cases) {
        LMFraction f(c.n, c.d);
        EXPECT_EQ(f.numerator(), c.num) << c.n << "/" << c.d;
        EXPECT_EQ(f.denominator(), c.den) << c.n << "/" << c.d;
    }
}

struct TextCase {
    const char* text;
    const char* rendered;
};

TEST(Fraction, FromTextAndGetBuffer)
{
    const TextCase cases[] = {
        {"3/4", "3/4"}, {"6/8", "3/4"}, {"2", "2/1"}, {"", "0/1"}, {"  10 / 4 ", "5/2"},
        {"1\t2", "1/2"}, {"4\n6", "2/3"}, {"//3//4", "3/4"}, {"3/0", "0/1"}, {"-3/4", "-3/4"},
        {"7/2/9", "7/2"}, {"x/4", "0/1"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(LMFraction(c.text).GetBuffer(), c.rendered) << c.text;
}

TEST(Fraction, Arithmetic)
{
    const LMFraction half(1, 2), third(1, 3);
    EXPECT_EQ(half + third, LMFraction(5, 6));
    EXPECT_EQ(half - third, LMFraction(1, 6));
    EXPECT_EQ(third - half, LMFraction(-1, 6));
    EXPECT_EQ(half * third, LMFraction(1, 6));
    EXPECT_EQ(LMFraction(2, 3) * LMFraction(3, 4), LMFraction(1, 2));
    EXPECT_EQ(half / third, LMFraction(3, 2));
    EXPECT_EQ(LMFraction(-2, 3) / LMFraction(-4, 9), LMFraction(3, 2));
    EXPECT_EQ(half / LMFraction(0), LMFraction(0));
    EXPECT_EQ(half - half, LMFraction(0));
    EXPECT_EQ((half - half).denominator(), 1u);
    EXPECT_TRUE(third < half);
    EXPECT_FALSE(half < third);
    EXPECT_TRUE(LMFraction(-1, 2) < LMFraction(1, 3));
    EXPECT_EQ(half.compareTo(&third), 1);
    EXPECT_EQ(third.compareTo(&half), -1);
    EXPECT_TRUE(LMFraction(2, 4).isEqual(&half));
    EXPECT_EQ(LMFraction(2, 4).hash(), half.hash());
    // Cross-multiplication does not overflow near the 32-bit limits.
    EXPECT_TRUE(LMFraction(INT_MAX, 4294967295LL) < LMFraction(INT_MAX, 4294967294LL));
}

TEST(Fraction, SavedForm)
{
    LMFraction f(-3, 4);
    const std::string text = rwSaveToString(&f);
    EXPECT_EQ(text, ":40\n\\[-3\n4\n\\]");
    std::unique_ptr<RWCollectable> back(rwRestoreFromString(text));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isEqual(&f));
}

TEST(Fraction, ReadingRestoresTheInvariants)
{
    std::unique_ptr<RWCollectable> p(rwRestoreFromString(":40\n\\[6\n8\n\\]"));
    auto* f = dynamic_cast<LMFraction*>(p.get());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetBuffer(), "3/4");
    for (const char* bad : {":40\n\\[1\n0\n\\]", ":40\n\\[1\n4294967296\n\\]"}) {
        TextIn in(bad);
        std::unique_ptr<RWCollectable> q(RWCollectable::recursiveRestoreFrom(in.s));
        EXPECT_TRUE(in.s.fail()) << bad;
        auto* g = dynamic_cast<LMFraction*>(q.get());
        ASSERT_NE(g, nullptr);
        EXPECT_NE(g->denominator(), 0u);
    }
}

} // namespace
