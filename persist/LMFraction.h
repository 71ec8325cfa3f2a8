// Exact rational number: positive denominator, always reduced.
#pragma once

#include "persist/RWCString.h"
#include "persist/RWCollectable.h"

#include <cstdint>

class LMFraction : public RWCollectable {
    RW_DECLARE_COLLECTABLE(LMFraction)
public:
    LMFraction() = default;
    LMFraction(int numerator) : num_(numerator) {}
    /// The sign of `denominator` moves to the numerator. A zero denominator
    /// gives 0 (0/1): a fraction never holds one.
    LMFraction(long long numerator, long long denominator);
    /// Reads "n/d" (also separated by space, tab or line feed); a missing
    /// numerator is 0 and a missing denominator 1.
    explicit LMFraction(const RWCString& text);
    explicit LMFraction(const char* text) : LMFraction(RWCString(text)) {}

    int numerator() const { return num_; }
    unsigned denominator() const { return den_; }
    double toDouble() const { return double(num_) / double(den_); }
    /// "3/4", "2/1".
    RWCString GetBuffer() const;

    LMFraction& operator+=(const LMFraction& o);
    LMFraction& operator-=(const LMFraction& o);
    LMFraction& operator*=(const LMFraction& o);
    /// Dividing by zero gives 0 (0/1).
    LMFraction& operator/=(const LMFraction& o);

    friend LMFraction operator+(LMFraction a, const LMFraction& b) { return a += b; }
    friend LMFraction operator-(LMFraction a, const LMFraction& b) { return a -= b; }
    friend LMFraction operator*(LMFraction a, const LMFraction& b) { return a *= b; }
    friend LMFraction operator/(LMFraction a, const LMFraction& b) { return a /= b; }
    friend bool operator<(const LMFraction& a, const LMFraction& b) { return a.sign(b) < 0; }
    friend bool operator>(const LMFraction& a, const LMFraction& b) { return a.sign(b) > 0; }
    friend bool operator<=(const LMFraction& a, const LMFraction& b) { return a.sign(b) <= 0; }
    friend bool operator>=(const LMFraction& a, const LMFraction& b) { return a.sign(b) >= 0; }
    friend bool operator==(const LMFraction& a, const LMFraction& b) { return a.num_ == b.num_ && a.den_ == b.den_; }
    friend bool operator!=(const LMFraction& a, const LMFraction& b) { return !(a == b); }

    int compareTo(const RWCollectable* other) const override;
    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;
    /// A denominator of 0 or beyond 32 bits is a format error (fail bit).
    void restoreGuts(RWvistream& s) override;
    void saveGuts(RWvostream& s) const override;

private:
    /// The sign of this minus o.
    int sign(const LMFraction& o) const;
    void assignReduced(__int128 numerator, __int128 denominator);

    std::int32_t num_ = 0;
    std::uint32_t den_ = 1;
};
