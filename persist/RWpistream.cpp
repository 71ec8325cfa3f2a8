#include "persist/RWpistream.h"

#include "persist/RWxmsg.h"

#include <charconv>
#include <limits>
#include <type_traits>

namespace {

constexpr int kEof = std::char_traits<char>::eof();

bool isWhite(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

int hexValue(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RWpistream::RWpistream(std::istream& is) : RWvistream(is), buf_(is.rdbuf()) {}

RWpistream::~RWpistream() = default;

// Every read is refused once the stream is not good, like a standard sentry.
bool RWpistream::begin()
{
    if (good() && buf_)
        return true;
    setstate(std::ios_base::failbit);
    return false;
}

bool RWpistream::skipWhite()
{
    int c = buf_->sgetc();
    while (c != kEof && isWhite(c))
        c = buf_->snextc();
    if (c == kEof) {
        setstate(std::ios_base::eofbit | std::ios_base::failbit);
        return false;
    }
    return true;
}

template <class T> void RWpistream::readInteger(T& out)
{
    if (!begin() || !skipWhite())
        return;
    int c = buf_->sgetc();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = buf_->snextc();
    }
    unsigned long long magnitude = 0;
    bool overflow = false;
    int digits = 0;
    while (c != kEof && isDigit(c)) {
        const unsigned d = static_cast<unsigned>(c - '0');
        if (magnitude > (std::numeric_limits<unsigned long long>::max() - d) / 10)
            overflow = true;
        else
            magnitude = magnitude * 10 + d;
        ++digits;
        c = buf_->snextc();
    }
    if (c == kEof)
        setstate(std::ios_base::eofbit);
    if (digits == 0) {
        out = 0;
        setstate(std::ios_base::failbit);
        return;
    }
    using U = std::make_unsigned_t<T>;
    if constexpr (std::is_signed_v<T>) {
        const unsigned long long limit = negative
            ? static_cast<unsigned long long>(std::numeric_limits<T>::max()) + 1
            : static_cast<unsigned long long>(std::numeric_limits<T>::max());
        if (overflow || magnitude > limit) {
            out = negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
            setstate(std::ios_base::failbit);
            return;
        }
        const U bits = negative ? static_cast<U>(0 - magnitude) : static_cast<U>(magnitude);
        out = static_cast<T>(bits);
    } else {
        // As with the standard extraction, a minus sign negates modulo 2^N.
        if (overflow || magnitude > std::numeric_limits<T>::max()) {
            out = std::numeric_limits<T>::max();
            setstate(std::ios_base::failbit);
            return;
        }
        out = negative ? static_cast<T>(0 - magnitude) : static_cast<T>(magnitude);
    }
}

template <class T> void RWpistream::readReal(T& out)
{
    if (!begin() || !skipWhite())
        return;
    char text[512];
    std::size_t n = 0;
    bool tooLong = false;
    auto take = [&](int ch) {
        if (n < sizeof text)
            text[n++] = static_cast<char>(ch);
        else
            tooLong = true;
        return buf_->snextc();
    };
    int c = buf_->sgetc();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = buf_->snextc();
    }
    int mantissaDigits = 0;
    while (c != kEof && isDigit(c)) {
        c = take(c);
        ++mantissaDigits;
    }
    if (c == '.') {
        c = take(c);
        while (c != kEof && isDigit(c)) {
            c = take(c);
            ++mantissaDigits;
        }
    }
    bool valid = mantissaDigits > 0;
    if (valid && (c == 'e' || c == 'E')) {
        c = take(c);
        if (c == '+' || c == '-')
            c = take(c);
        int exponentDigits = 0;
        while (c != kEof && isDigit(c)) {
            c = take(c);
            ++exponentDigits;
        }
        valid = exponentDigits > 0;
    }
    if (c == kEof)
        setstate(std::ios_base::eofbit);
    if (!valid || tooLong) {
        out = 0;
        setstate(std::ios_base::failbit);
        return;
    }
    T value = 0;
    auto r = std::from_chars(text, text + n, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large or too small for the type: the standard extraction's answer.
        bool tiny = false;
        for (std::size_t i = 0; i + 1 < n; ++i)
            if (text[i] == 'e' || text[i] == 'E')
                tiny = text[i + 1] == '-';
        out = tiny ? T(0) : std::numeric_limits<T>::max();
        if (negative)
            out = -out;
        setstate(std::ios_base::failbit);
        return;
    }
    if (r.ec != std::errc() || r.ptr != text + n) {
        out = 0;
        setstate(std::ios_base::failbit);
        return;
    }
    out = negative ? -value : value;
}

template <class T> void RWpistream::readTruncated(T& out)
{
    long value = 0;
    readInteger(value);
    if (!fail())
        out = static_cast<T>(value);
}

int RWpistream::getCChar()
{
    if (!begin())
        return -1;
    int c = buf_->sbumpc();
    while (c == '\n')
        c = buf_->sbumpc();
    if (c == kEof) {
        setstate(std::ios_base::eofbit | std::ios_base::failbit);
        return -1;
    }
    if (c != '\\')
        return c;
    c = buf_->sbumpc();
    switch (c) {
    case kEof:
        setstate(std::ios_base::eofbit | std::ios_base::failbit);
        return -1;
    case 'a': return 7;
    case 'b': return 8;
    case 'f': return 12;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'v': return 11;
    case '[': return '{';
    case ']': return '}';
    case 'x': {
        // Up to two further bytes, converted as hexadecimal from the left.
        int value = 0;
        bool inNumber = true;
        for (int i = 0; i < 2; ++i) {
            const int h = buf_->sbumpc();
            if (h == kEof) {
                setstate(std::ios_base::eofbit);
                break;
            }
            const int v = hexValue(h);
            if (v < 0)
                inNumber = false;
            else if (inNumber)
                value = value * 16 + v;
        }
        return value;
    }
    default:
        return c; // '"', '\\' and every other byte stand for themselves
    }
}

void RWpistream::skipRestOfString()
{
    for (;;) {
        int c = buf_->sbumpc();
        if (c == kEof) {
            setstate(std::ios_base::eofbit);
            return;
        }
        if (c == '"')
            return;
        if (c == '\\' && buf_->sbumpc() == kEof) {
            setstate(std::ios_base::eofbit);
            return;
        }
    }
}

template <class Store> std::size_t RWpistream::readQuoted(std::size_t maxChars, Store&& store)
{
    if (!skipWhite())
        return 0;
    int c = buf_->sgetc();
    if (c != '"')
        throw RWExternalErr(RWMessages::syntaxError("\"", c));
    buf_->sbumpc();
    std::size_t count = 0;
    for (;;) {
        c = buf_->sgetc();
        if (c == kEof) {
            setstate(std::ios_base::eofbit | std::ios_base::failbit);
            break;
        }
        if (c == '\n' || c == '\r') {
            buf_->sbumpc();
            continue;
        }
        if (c == '"') {
            buf_->sbumpc();
            break;
        }
        if (count >= maxChars) {
            skipRestOfString();
            setstate(std::ios_base::failbit);
            break;
        }
        const int ch = getCChar();
        if (ch < 0)
            break;
        store(static_cast<char>(ch));
        ++count;
    }
    return count;
}

RWvistream& RWpistream::getString(char* buffer, std::size_t n)
{
    if (n == 0 || !buffer) {
        setstate(std::ios_base::failbit);
        return *this;
    }
    buffer[0] = '\0';
    if (!begin())
        return *this;
    std::size_t i = 0;
    readQuoted(n - 1, [&](char ch) { buffer[i++] = ch; });
    buffer[i] = '\0';
    return *this;
}

RWvistream& RWpistream::getCountedString(std::string& out, std::size_t length)
{
    out.clear();
    if (!begin())
        return *this;
    out.reserve(length < 4096 ? length : 4096);
    const std::size_t count = readQuoted(length, [&](char ch) { out.push_back(ch); });
    if (count < length)
        setstate(std::ios_base::failbit);
    return *this;
}

RWvistream& RWpistream::operator>>(char& c)
{
    if (!begin() || !skipWhite())
        return *this;
    const int ch = getCChar();
    if (ch >= 0)
        c = static_cast<char>(ch);
    return *this;
}

RWvistream& RWpistream::operator>>(unsigned char& c)
{
    if (!begin() || !skipWhite())
        return *this;
    c = static_cast<unsigned char>(buf_->sbumpc());
    return *this;
}

bool RWpistream::expect(char wanted, const char* name)
{
    const int c = buf_->sgetc();
    if (c == kEof) {
        setstate(std::ios_base::eofbit | std::ios_base::failbit);
        return false;
    }
    if (c != static_cast<unsigned char>(wanted))
        throw RWExternalErr(RWMessages::syntaxError(name, c));
    buf_->sbumpc();
    return true;
}

RWvistream& RWpistream::operator>>(wchar_t& c)
{
    if (!begin() || !skipWhite())
        return *this;
    if (!expect('L', "L") || !expect('\'', "'") || !expect('\\', "\\") || !expect('x', "x"))
        return *this;
    unsigned long value = 0;
    int digits = 0;
    for (; digits < 8; ++digits) {
        const int h = buf_->sgetc();
        if (h == kEof || hexValue(h) < 0)
            break;
        value = value * 16 + static_cast<unsigned long>(hexValue(h));
        buf_->sbumpc();
    }
    if (digits == 0) {
        const int h = buf_->sgetc();
        if (h == kEof) {
            setstate(std::ios_base::eofbit | std::ios_base::failbit);
            return *this;
        }
        throw RWExternalErr(RWMessages::syntaxError("Hex digit", h));
    }
    if (expect('\'', "'"))
        c = static_cast<wchar_t>(value);
    return *this;
}

RWvistream& RWpistream::operator>>(double& v) { readReal(v); return *this; }
RWvistream& RWpistream::operator>>(float& v) { readReal(v); return *this; }
RWvistream& RWpistream::operator>>(int& v) { readInteger(v); return *this; }
RWvistream& RWpistream::operator>>(long& v) { readInteger(v); return *this; }
RWvistream& RWpistream::operator>>(short& v) { readInteger(v); return *this; }
RWvistream& RWpistream::operator>>(unsigned short& v) { readInteger(v); return *this; }
RWvistream& RWpistream::operator>>(unsigned int& v) { readInteger(v); return *this; }
RWvistream& RWpistream::operator>>(unsigned long& v) { readInteger(v); return *this; }

int RWpistream::get()
{
    if (!begin() || !skipWhite())
        return -1;
    int value = 0;
    readInteger(value);
    return fail() ? -1 : value;
}

RWvistream& RWpistream::get(char& c) { readTruncated(c); return *this; }
RWvistream& RWpistream::get(wchar_t& c) { readTruncated(c); return *this; }
RWvistream& RWpistream::get(unsigned char& c) { readTruncated(c); return *this; }

#define RW_PISTREAM_ARRAY_GET(T, READ)                       \
    RWvistream& RWpistream::get(T* p, std::size_t n)         \
    {                                                        \
        for (std::size_t i = 0; i < n && good(); ++i)        \
            READ(p[i]);                                      \
        return *this;                                        \
    }

RW_PISTREAM_ARRAY_GET(char, readTruncated)
RW_PISTREAM_ARRAY_GET(wchar_t, readTruncated)
RW_PISTREAM_ARRAY_GET(unsigned char, readTruncated)
RW_PISTREAM_ARRAY_GET(short, readInteger)
RW_PISTREAM_ARRAY_GET(unsigned short, readInteger)
RW_PISTREAM_ARRAY_GET(int, readInteger)
RW_PISTREAM_ARRAY_GET(unsigned int, readInteger)
RW_PISTREAM_ARRAY_GET(long, readInteger)
RW_PISTREAM_ARRAY_GET(unsigned long, readInteger)
RW_PISTREAM_ARRAY_GET(float, readReal)
RW_PISTREAM_ARRAY_GET(double, readReal)

#undef RW_PISTREAM_ARRAY_GET
