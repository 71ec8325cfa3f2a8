#include "persist/RWpostream.h"

#include <charconv>
#include <cstring>

namespace {

// How one byte is written: its text and how many characters it counts.
struct Escape {
    char text[4];
    unsigned char length;
};

struct EscapeTable {
    Escape entries[256];

    EscapeTable()
    {
        static const char hex[] = "0123456789abcdef";
        for (int b = 0; b < 256; ++b) {
            Escape& e = entries[b];
            const char* two = nullptr;
            switch (b) {
            case 7: two = "\\a"; break;
            case 8: two = "\\b"; break;
            case 9: two = "\\t"; break;
            case 10: two = "\\n"; break;
            case 11: two = "\\v"; break;
            case 12: two = "\\f"; break;
            case 13: two = "\\r"; break;
            case '"': two = "\\\""; break;
            case '\\': two = "\\\\"; break;
            case '{': two = "\\["; break;
            case '}': two = "\\]"; break;
            default: break;
            }
            if (two) {
                std::memcpy(e.text, two, 2);
                e.length = 2;
            } else if (b >= 0x21 && b <= 0x7E) {
                e.text[0] = static_cast<char>(b);
                e.length = 1;
            } else {
                e.text[0] = '\\';
                e.text[1] = 'x';
                e.text[2] = hex[b >> 4];
                e.text[3] = hex[b & 15];
                e.length = 4;
            }
        }
    }
};

const EscapeTable& escapes()
{
    static const EscapeTable table;
    return table;
}

} // namespace

RWpostream::RWpostream(std::ostream& os)
    : RWvostream(os), os_(os), buf_(os.rdbuf())
{
    os_.setf(std::ios_base::scientific, std::ios_base::floatfield);
    os_.precision(16);
}

RWpostream::~RWpostream() = default;

void RWpostream::raw(const char* p, std::size_t n)
{
    if (!buf_ || buf_->sputn(p, static_cast<std::streamsize>(n)) != static_cast<std::streamsize>(n))
        setstate(std::ios_base::badbit);
}

void RWpostream::raw(char c)
{
    if (!buf_ || buf_->sputc(c) == std::char_traits<char>::eof())
        setstate(std::ios_base::badbit);
}

void RWpostream::putCounted(const char* text, unsigned length)
{
    column_ += length;
    if (column_ > maxColumn) {
        raw('\n');
        column_ = length;
    }
    raw(text, length);
}

void RWpostream::putEscaped(unsigned char byte)
{
    const Escape& e = escapes().entries[byte];
    putCounted(e.text, e.length);
}

void RWpostream::putNumber(long long v)
{
    char text[24];
    auto r = std::to_chars(text, text + sizeof text - 1, v);
    *r.ptr++ = '\n';
    raw(text, static_cast<std::size_t>(r.ptr - text));
}

void RWpostream::putUnsigned(unsigned long long v)
{
    char text[24];
    auto r = std::to_chars(text, text + sizeof text - 1, v);
    *r.ptr++ = '\n';
    raw(text, static_cast<std::size_t>(r.ptr - text));
}

void RWpostream::putReal(double v)
{
    char text[48];
    auto r = std::to_chars(text, text + sizeof text - 1, v, std::chars_format::scientific, 16);
    *r.ptr++ = '\n';
    raw(text, static_cast<std::size_t>(r.ptr - text));
}

RWvostream& RWpostream::putString(const char* s, std::size_t n)
{
    putCounted("\"", 1);
    for (std::size_t i = 0; i < n; ++i)
        putEscaped(static_cast<unsigned char>(s[i]));
    putCounted("\"", 1);
    return *this;
}

RWvostream& RWpostream::operator<<(const char* s)
{
    return putString(s, s ? std::strlen(s) : 0);
}

RWvostream& RWpostream::operator<<(char c)
{
    putEscaped(static_cast<unsigned char>(c));
    return *this;
}

RWvostream& RWpostream::operator<<(unsigned char c)
{
    putEscaped(c);
    return *this;
}

RWvostream& RWpostream::operator<<(wchar_t c)
{
    char text[24] = "L'\\x";
    auto r = std::to_chars(text + 4, text + sizeof text - 1,
                           static_cast<unsigned long>(static_cast<std::make_unsigned_t<wchar_t>>(c)), 16);
    *r.ptr++ = '\'';
    raw(text, static_cast<std::size_t>(r.ptr - text));
    return *this;
}

RWvostream& RWpostream::operator<<(double v) { putReal(v); return *this; }
RWvostream& RWpostream::operator<<(float v) { putReal(static_cast<double>(v)); return *this; }
RWvostream& RWpostream::operator<<(int v) { putNumber(v); return *this; }
RWvostream& RWpostream::operator<<(unsigned int v) { putUnsigned(v); return *this; }
RWvostream& RWpostream::operator<<(long v) { putNumber(v); return *this; }
RWvostream& RWpostream::operator<<(unsigned long v) { putUnsigned(v); return *this; }
RWvostream& RWpostream::operator<<(short v) { putNumber(v); return *this; }
RWvostream& RWpostream::operator<<(unsigned short v) { putUnsigned(v); return *this; }

RWvostream& RWpostream::flush()
{
    if (buf_ && buf_->pubsync() == -1)
        setstate(std::ios_base::badbit);
    return *this;
}

RWvostream& RWpostream::put(char c) { putNumber(static_cast<signed char>(c)); return *this; }
RWvostream& RWpostream::put(unsigned char c) { putUnsigned(c); return *this; }
RWvostream& RWpostream::put(wchar_t c) { putNumber(c); return *this; }

RWvostream& RWpostream::put(const char* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        put(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const wchar_t* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        put(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const unsigned char* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        put(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const short* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        putNumber(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const unsigned short* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        putUnsigned(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const int* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        putNumber(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const unsigned int* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        putUnsigned(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const long* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        putNumber(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const unsigned long* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        putUnsigned(p[i]);
    return *this;
}

RWvostream& RWpostream::put(const float* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        putReal(static_cast<double>(p[i]));
    return *this;
}

RWvostream& RWpostream::put(const double* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        putReal(p[i]);
    return *this;
}
