// Portable text output stream: numbers in decimal, characters escaped,
// lines wrapped after 80 counted characters.
#pragma once

#include "persist/RWvostream.h"

#include <ostream>

class RWpostream : public RWvostream {
public:
    /// Writes through the buffer of `os`. Sets the stream's floating-point
    /// format to scientific with precision 16.
    explicit RWpostream(std::ostream& os);
    ~RWpostream() override;

    RWvostream& putString(const char* s, std::size_t n) override;
    RWvostream& operator<<(const char* s) override;
    RWvostream& operator<<(char c) override;
    RWvostream& operator<<(wchar_t c) override;
    RWvostream& operator<<(unsigned char c) override;
    RWvostream& operator<<(double v) override;
    RWvostream& operator<<(float v) override;
    RWvostream& operator<<(int v) override;
    RWvostream& operator<<(unsigned int v) override;
    RWvostream& operator<<(long v) override;
    RWvostream& operator<<(unsigned long v) override;
    RWvostream& operator<<(short v) override;
    RWvostream& operator<<(unsigned short v) override;
    RWvostream& flush() override;
    RWvostream& put(char c) override;
    RWvostream& put(const char* p, std::size_t n) override;
    RWvostream& put(wchar_t c) override;
    RWvostream& put(const wchar_t* p, std::size_t n) override;
    RWvostream& put(unsigned char c) override;
    RWvostream& put(const unsigned char* p, std::size_t n) override;
    RWvostream& put(const short* p, std::size_t n) override;
    RWvostream& put(const unsigned short* p, std::size_t n) override;
    RWvostream& put(const int* p, std::size_t n) override;
    RWvostream& put(const unsigned int* p, std::size_t n) override;
    RWvostream& put(const long* p, std::size_t n) override;
    RWvostream& put(const unsigned long* p, std::size_t n) override;
    RWvostream& put(const float* p, std::size_t n) override;
    RWvostream& put(const double* p, std::size_t n) override;

    /// Characters counted on the current line (see the wrap rule).
    unsigned wrapCount() const { return column_; }

    /// Lines are wrapped once more than this many characters are counted.
    static constexpr unsigned maxColumn = 80;

private:
    void putCounted(const char* text, unsigned length);
    void putEscaped(unsigned char byte);
    void putNumber(long long v);
    void putUnsigned(unsigned long long v);
    void putReal(double v);
    void raw(const char* p, std::size_t n);
    void raw(char c);

    std::ostream& os_;
    std::streambuf* buf_;
    unsigned column_ = 0;
};
