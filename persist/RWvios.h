// State of a persistence stream; forwards to the underlying standard stream.
#pragma once

#include <ios>

class RWvios {
public:
    virtual ~RWvios() = default;

    virtual bool good() const { return ios_->good(); }
    virtual bool eof() const { return ios_->eof(); }
    virtual bool fail() const { return ios_->fail(); }
    virtual bool bad() const { return ios_->bad(); }
    virtual int rdstate() const { return static_cast<int>(ios_->rdstate()); }
    virtual void clear(int state = 0) { ios_->clear(static_cast<std::ios_base::iostate>(state)); }

    /// Adds state bits (std::ios_base::failbit, eofbit, badbit).
    void setstate(int bits) { clear(rdstate() | bits); }

    /// Format version of the stream; 1 for every stream the program creates.
    int version() const { return 1; }

    explicit operator bool() const { return !fail(); }

protected:
    explicit RWvios(std::ios& ios) : ios_(&ios) {}
    RWvios(const RWvios&) = delete;
    RWvios& operator=(const RWvios&) = delete;

    std::ios* ios_;
};
