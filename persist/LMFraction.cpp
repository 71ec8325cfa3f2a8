#include "persist/LMFraction.h"

#include "persist/RWCTokenizer.h"
#include "persist/RWvistream.h"
#include "persist/RWvostream.h"

#include <string>

RW_DEFINE_COLLECTABLE(LMFraction, RWClassIDs::fraction)

namespace {

using i128 = __int128;

i128 gcd(i128 a, i128 b)
{
    if (a < 0)
        a = -a;
    if (b < 0)
        b = -b;
    while (b != 0) {
        const i128 t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// An unsigned decimal token as strtoul reads it: optional sign, digits,
// negation modulo 2^64, the largest value on overflow.
unsigned long long tokenValue(const RWCSubString& token)
{
    const char* p = token.data();
    const std::size_t n = token.length();
    std::size_t i = 0;
    bool negative = false;
    if (i < n && (p[i] == '+' || p[i] == '-'))
        negative = p[i++] == '-';
    unsigned long long v = 0;
    for (; i < n && p[i] >= '0' && p[i] <= '9'; ++i) {
        const unsigned d = static_cast<unsigned>(p[i] - '0');
        if (v > (~0ULL - d) / 10)
            return ~0ULL;
        v = v * 10 + d;
    }
    return negative ? 0 - v : v;
}

} // namespace

void LMFraction::assignReduced(i128 n, i128 d)
{
    if (d == 0) {
        num_ = 0;
        den_ = 1;
        return;
    }
    if (d < 0) {
        n = -n;
        d = -d;
    }
    if (n == 0) {
        num_ = 0;
        den_ = 1;
        return;
    }
    const i128 g = gcd(n, d);
    n /= g;
    d /= g;
    // Results beyond 32 bits wrap, as the 32-bit fields always did.
    num_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<unsigned __int128>(n)));
    den_ = static_cast<std::uint32_t>(static_cast<unsigned __int128>(d));
    if (den_ == 0) {
        num_ = 0;
        den_ = 1;
    }
}

LMFraction::LMFraction(long long numerator, long long denominator)
{
    assignReduced(numerator, denominator);
}

LMFraction::LMFraction(const RWCString& text)
{
    RWCTokenizer next(text);
    const char* delimiters = "/ \t\n";
    long long n = 0;
    long long d = 1;
    RWCSubString token = next(delimiters);
    if (!token.isNull()) {
        n = static_cast<std::int32_t>(static_cast<std::uint32_t>(tokenValue(token)));
        token = next(delimiters);
        if (!token.isNull())
            d = static_cast<std::uint32_t>(tokenValue(token));
    }
    assignReduced(n, d);
}

RWCString LMFraction::GetBuffer() const
{
    return RWCString(std::to_string(num_) + "/" + std::to_string(den_));
}

LMFraction& LMFraction::operator+=(const LMFraction& o)
{
    assignReduced(i128(num_) * o.den_ + i128(o.num_) * den_, i128(den_) * o.den_);
    return *this;
}

LMFraction& LMFraction::operator-=(const LMFraction& o)
{
    assignReduced(i128(num_) * o.den_ - i128(o.num_) * den_, i128(den_) * o.den_);
    return *this;
}

LMFraction& LMFraction::operator*=(const LMFraction& o)
{
    // Cross-cancelling keeps reduced operands reduced; assignReduced also
    // repairs operands that were not.
    const i128 g1 = gcd(num_, o.den_);
    const i128 g2 = gcd(o.num_, den_);
    const i128 a = g1 ? i128(num_) / g1 : 0;
    const i128 d2 = g1 ? i128(o.den_) / g1 : 1;
    const i128 c = g2 ? i128(o.num_) / g2 : 0;
    const i128 b = g2 ? i128(den_) / g2 : 1;
    assignReduced(a * c, b * d2);
    return *this;
}

LMFraction& LMFraction::operator/=(const LMFraction& o)
{
    if (o.num_ == 0) {
        num_ = 0;
        den_ = 1;
        return *this;
    }
    LMFraction inverse;
    inverse.assignReduced(o.den_, o.num_);
    return *this *= inverse;
}

int LMFraction::sign(const LMFraction& o) const
{
    const i128 left = i128(num_) * o.den_;
    const i128 right = i128(o.num_) * den_;
    return left == right ? 0 : (left < right ? -1 : 1);
}

int LMFraction::compareTo(const RWCollectable* other) const
{
    auto* o = dynamic_cast<const LMFraction*>(other);
    return o ? sign(*o) : RWCollectable::compareTo(other);
}

unsigned LMFraction::hash() const
{
    return static_cast<unsigned>(num_) ^ (den_ << 16) ^ (den_ >> 16);
}

bool LMFraction::isEqual(const RWCollectable* other) const
{
    auto* o = dynamic_cast<const LMFraction*>(other);
    return o && *o == *this;
}

void LMFraction::restoreGuts(RWvistream& s)
{
    int n = 0;
    unsigned long d = 1;
    s >> n;
    s >> d;
    if (s.fail())
        return;
    if (d == 0 || d > 0xFFFFFFFFul) {
        s.setstate(std::ios_base::failbit);
        return;
    }
    assignReduced(n, static_cast<long long>(d));
}

void LMFraction::saveGuts(RWvostream& s) const
{
    s << static_cast<int>(num_);
    s << static_cast<unsigned long>(den_);
}
