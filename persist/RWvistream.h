// Abstract input stream of primitive values.
#pragma once

#include "persist/RWvios.h"

#include <cstddef>
#include <string>

class RWvistream : public RWvios {
public:
    ~RWvistream() override = default;

    /// Next number as an int; -1 at the end of the input.
    virtual int get() = 0;
    virtual RWvistream& get(char& c) = 0;
    virtual RWvistream& get(wchar_t& c) = 0;
    virtual RWvistream& get(unsigned char& c) = 0;
    virtual RWvistream& get(char* p, std::size_t n) = 0;
    virtual RWvistream& get(wchar_t* p, std::size_t n) = 0;
    virtual RWvistream& get(unsigned char* p, std::size_t n) = 0;
    virtual RWvistream& get(short* p, std::size_t n) = 0;
    virtual RWvistream& get(unsigned short* p, std::size_t n) = 0;
    virtual RWvistream& get(int* p, std::size_t n) = 0;
    virtual RWvistream& get(unsigned int* p, std::size_t n) = 0;
    virtual RWvistream& get(long* p, std::size_t n) = 0;
    virtual RWvistream& get(unsigned long* p, std::size_t n) = 0;
    virtual RWvistream& get(float* p, std::size_t n) = 0;
    virtual RWvistream& get(double* p, std::size_t n) = 0;
    /// Reads a quoted string into buffer; n is the room including the terminating zero.
    virtual RWvistream& getString(char* buffer, std::size_t n) = 0;
    virtual RWvistream& operator>>(char& c) = 0;
    virtual RWvistream& operator>>(double& v) = 0;
    virtual RWvistream& operator>>(float& v) = 0;
    virtual RWvistream& operator>>(int& v) = 0;
    virtual RWvistream& operator>>(long& v) = 0;
    virtual RWvistream& operator>>(short& v) = 0;
    virtual RWvistream& operator>>(wchar_t& c) = 0;
    virtual RWvistream& operator>>(unsigned char& c) = 0;
    virtual RWvistream& operator>>(unsigned short& v) = 0;
    virtual RWvistream& operator>>(unsigned int& v) = 0;
    virtual RWvistream& operator>>(unsigned long& v) = 0;

    /// Reads a quoted string of exactly `length` characters into `out`.
    /// Storage grows with the characters actually present, so a declared
    /// length is never allocated up front. Fewer or more characters than
    /// declared set the fail bit.
    virtual RWvistream& getCountedString(std::string& out, std::size_t length) = 0;

protected:
    explicit RWvistream(std::ios& ios) : RWvios(ios) {}
};
