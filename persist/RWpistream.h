// Portable text input stream, the reader of RWpostream's text. Skips white
// space before numbers and markers, and the wrap line feeds inside strings.
#pragma once

#include "persist/RWvistream.h"

#include <istream>

class RWpistream : public RWvistream {
public:
    /// Reads through the buffer of `is`.
    explicit RWpistream(std::istream& is);
    ~RWpistream() override;

    int get() override;
    RWvistream& get(char& c) override;
    RWvistream& get(wchar_t& c) override;
    RWvistream& get(unsigned char& c) override;
    RWvistream& get(char* p, std::size_t n) override;
    RWvistream& get(wchar_t* p, std::size_t n) override;
    RWvistream& get(unsigned char* p, std::size_t n) override;
    RWvistream& get(short* p, std::size_t n) override;
    RWvistream& get(unsigned short* p, std::size_t n) override;
    RWvistream& get(int* p, std::size_t n) override;
    RWvistream& get(unsigned int* p, std::size_t n) override;
    RWvistream& get(long* p, std::size_t n) override;
    RWvistream& get(unsigned long* p, std::size_t n) override;
    RWvistream& get(float* p, std::size_t n) override;
    RWvistream& get(double* p, std::size_t n) override;
    RWvistream& getString(char* buffer, std::size_t n) override;
    RWvistream& operator>>(char& c) override;
    RWvistream& operator>>(double& v) override;
    RWvistream& operator>>(float& v) override;
    RWvistream& operator>>(int& v) override;
    RWvistream& operator>>(long& v) override;
    RWvistream& operator>>(short& v) override;
    RWvistream& operator>>(wchar_t& c) override;
    RWvistream& operator>>(unsigned char& c) override;
    RWvistream& operator>>(unsigned short& v) override;
    RWvistream& operator>>(unsigned int& v) override;
    RWvistream& operator>>(unsigned long& v) override;
    RWvistream& getCountedString(std::string& out, std::size_t length) override;

    /// Reads one escaped character (line feeds before it are skipped).
    /// Answers the byte 0..255, or -1 at the end of the input.
    int getCChar();

private:
    bool begin();
    bool skipWhite();
    void skipRestOfString();
    bool expect(char wanted, const char* name);
    template <class T> void readInteger(T& out);
    template <class T> void readReal(T& out);
    template <class T> void readTruncated(T& out);
    template <class Store> std::size_t readQuoted(std::size_t maxChars, Store&& store);

    std::streambuf* buf_;
};
