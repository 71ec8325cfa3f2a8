// Abstract output stream of primitive values.
#pragma once

#include "persist/RWvios.h"

#include <cstddef>

class RWvostream : public RWvios {
public:
    ~RWvostream() override = default;

    virtual RWvostream& putString(const char* s, std::size_t n) = 0;
    virtual RWvostream& operator<<(const char* s) = 0;
    virtual RWvostream& operator<<(char c) = 0;
    virtual RWvostream& operator<<(wchar_t c) = 0;
    virtual RWvostream& operator<<(unsigned char c) = 0;
    virtual RWvostream& operator<<(double v) = 0;
    virtual RWvostream& operator<<(float v) = 0;
    virtual RWvostream& operator<<(int v) = 0;
    virtual RWvostream& operator<<(unsigned int v) = 0;
    virtual RWvostream& operator<<(long v) = 0;
    virtual RWvostream& operator<<(unsigned long v) = 0;
    virtual RWvostream& operator<<(short v) = 0;
    virtual RWvostream& operator<<(unsigned short v) = 0;
    virtual RWvostream& flush() = 0;
    virtual RWvostream& put(char c) = 0;
    virtual RWvostream& put(const char* p, std::size_t n) = 0;
    virtual RWvostream& put(wchar_t c) = 0;
    virtual RWvostream& put(const wchar_t* p, std::size_t n) = 0;
    virtual RWvostream& put(unsigned char c) = 0;
    virtual RWvostream& put(const unsigned char* p, std::size_t n) = 0;
    virtual RWvostream& put(const short* p, std::size_t n) = 0;
    virtual RWvostream& put(const unsigned short* p, std::size_t n) = 0;
    virtual RWvostream& put(const int* p, std::size_t n) = 0;
    virtual RWvostream& put(const unsigned int* p, std::size_t n) = 0;
    virtual RWvostream& put(const long* p, std::size_t n) = 0;
    virtual RWvostream& put(const unsigned long* p, std::size_t n) = 0;
    virtual RWvostream& put(const float* p, std::size_t n) = 0;
    virtual RWvostream& put(const double* p, std::size_t n) = 0;

protected:
    explicit RWvostream(std::ios& ios) : RWvios(ios) {}
};
