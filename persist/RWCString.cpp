#include "persist/RWCString.h"

#include "persist/RWvistream.h"
#include "persist/RWvostream.h"

#include <cstdint>
#include <cstring>

namespace {

unsigned char lowerAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

unsigned char upperAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

std::uint32_t mix(std::uint32_t h, std::uint32_t w)
{
    return w ^ ((h << 5) | (h >> 27));
}

int compareBytes(const char* a, std::size_t na, const char* b, std::size_t nb, RWCString::caseCompare mode)
{
    const std::size_t n = na < nb ? na : nb;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (mode == RWCString::ignoreCase) {
            x = lowerAscii(x);
            y = lowerAscii(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

} // namespace

const char* RWCSubString::data() const
{
    return isNull() ? nullptr : str_->data() + start_;
}

std::string RWCSubString::toStdString() const
{
    return isNull() ? std::string() : std::string(str_->data() + start_, length_);
}

bool RWCSubString::operator==(const char* text) const
{
    const std::size_t n = text ? std::strlen(text) : 0;
    if (isNull())
        return n == 0;
    return n == length_ && std::memcmp(str_->data() + start_, text, n) == 0;
}

bool RWCSubString::operator==(const RWCString& other) const
{
    if (isNull())
        return other.length() == 0;
    return other.length() == length_ && std::memcmp(str_->data() + start_, other.data(), length_) == 0;
}

RWCString::RWCString(const RWCSubString& sub) : s_(sub.toStdString()) {}

bool operator==(const RWCString& a, const char* b)
{
    const std::size_t n = b ? std::strlen(b) : 0;
    return a.s_.size() == n && std::memcmp(a.s_.data(), b ? b : "", n) == 0;
}

int RWCString::compareTo(const RWCString& other, caseCompare mode) const
{
    return compareBytes(s_.data(), s_.size(), other.s_.data(), other.s_.size(), mode);
}

int RWCString::compareTo(const char* text, caseCompare mode) const
{
    return compareBytes(s_.data(), s_.size(), text ? text : "", text ? std::strlen(text) : 0, mode);
}

unsigned RWCString::hash(caseCompare mode) const
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s_.data());
    const std::size_t n = s_.size();
    std::uint32_t h = static_cast<std::uint32_t>(n);
    if (mode == ignoreCase) {
        for (std::size_t i = 0; i < n; ++i)
            h = mix(h, upperAscii(p[i]));
        return h;
    }
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const std::uint32_t w = std::uint32_t(p[i]) | (std::uint32_t(p[i + 1]) << 8)
            | (std::uint32_t(p[i + 2]) << 16) | (std::uint32_t(p[i + 3]) << 24);
        h = mix(h, w);
    }
    if (i < n) {
        std::uint32_t b = 0;
        for (; i < n; ++i) {
            const std::int32_t signExtended = static_cast<signed char>(p[i]);
            b = (b << 8) | static_cast<std::uint32_t>(signExtended);
        }
        h = mix(h, b);
    }
    return h;
}

std::size_t RWCString::indexOf(const char* pattern, std::size_t m, std::size_t start, caseCompare mode) const
{
    const std::size_t n = s_.size();
    if (start > n || m > n - start)
        return RW_NPOS;
    for (std::size_t i = start; i + m <= n; ++i)
        if (compareBytes(s_.data() + i, m, pattern, m, mode) == 0)
            return i;
    return RW_NPOS;
}

std::size_t RWCString::index(const RWCString& pattern, std::size_t start, caseCompare mode) const
{
    return indexOf(pattern.data(), pattern.length(), start, mode);
}

std::size_t RWCString::index(const char* pattern, std::size_t start, caseCompare mode) const
{
    return indexOf(pattern ? pattern : "", pattern ? std::strlen(pattern) : 0, start, mode);
}

bool RWCString::contains(const RWCString& pattern, caseCompare mode) const
{
    return index(pattern, 0, mode) != RW_NPOS;
}

bool RWCString::contains(const char* pattern, caseCompare mode) const
{
    return index(pattern, 0, mode) != RW_NPOS;
}

RWCSubString RWCString::operator()(std::size_t start, std::size_t length) const
{
    if (start > s_.size() || length > s_.size() - start)
        return RWCSubString(*this, RW_NPOS, 0);
    return RWCSubString(*this, start, length);
}

RWCSubString RWCString::strip(stripType where, char ch) const
{
    std::size_t begin = 0;
    std::size_t end = s_.size();
    if (where & leading)
        while (begin < end && s_[begin] == ch)
            ++begin;
    if (where & trailing)
        while (end > begin && s_[end - 1] == ch)
            --end;
    if (begin == end)
        return RWCSubString(*this, RW_NPOS, 0);
    return RWCSubString(*this, begin, end - begin);
}

RWCString& RWCString::toLower()
{
    for (char& c : s_)
        c = static_cast<char>(lowerAscii(static_cast<unsigned char>(c)));
    return *this;
}

RWCString& RWCString::toUpper()
{
    for (char& c : s_)
        c = static_cast<char>(upperAscii(static_cast<unsigned char>(c)));
    return *this;
}

void RWCString::saveOn(RWvostream& s) const
{
    s << static_cast<unsigned long>(s_.size());
    s.putString(s_.data(), s_.size());
}

void RWCString::restoreFrom(RWvistream& s)
{
    unsigned long length = 0;
    s >> length;
    if (!s.good())
        return;
    std::string text;
    s.getCountedString(text, length);
    s_ = std::move(text);
}

RWvostream& operator<<(RWvostream& s, const RWCString& str)
{
    str.saveOn(s);
    return s;
}

RWvistream& operator>>(RWvistream& s, RWCString& str)
{
    str.restoreFrom(s);
    return s;
}
