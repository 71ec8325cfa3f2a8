// Byte string with an explicit length (any byte, including 0, may occur).
#pragma once

#include "persist/RWDefs.h"

#include <cstddef>
#include <string>

class RWvistream;
class RWvostream;
class RWCString;

/// A view (start, length) into an RWCString. The null view has no start
/// and compares equal only to the empty text.
class RWCSubString {
public:
    bool isNull() const { return start_ == RW_NPOS; }
    std::size_t start() const { return start_; }
    std::size_t length() const { return length_; }
    /// Pointer to the first byte of the view (nullptr for the null view).
    const char* data() const;
    std::string toStdString() const;

    bool operator==(const char* text) const;
    bool operator==(const RWCString& other) const;
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator!=(const RWCString& other) const { return !(*this == other); }

private:
    friend class RWCString;
    RWCSubString(const RWCString& s, std::size_t start, std::size_t length)
        : str_(&s), start_(start), length_(length) {}

    const RWCString* str_;
    std::size_t start_;
    std::size_t length_;
};

class RWCString {
public:
    enum caseCompare { exact, ignoreCase };
    enum stripType { leading = 1, trailing = 2, both = 3 };

    RWCString() = default;
    RWCString(const char* text) : s_(text ? text : "") {}
    RWCString(const char* data, std::size_t length) : s_(data, length) {}
    RWCString(const std::string& s) : s_(s) {}
    RWCString(std::string&& s) : s_(std::move(s)) {}
    RWCString(const RWCSubString& sub);
    explicit RWCString(char c, std::size_t count = 1) : s_(count, c) {}

    std::size_t length() const { return s_.size(); }
    bool isNull() const { return s_.empty(); }
    const char* data() const { return s_.c_str(); }
    const std::string& str() const { return s_; }

    char operator[](std::size_t i) const { return s_[i]; }
    char& operator[](std::size_t i) { return s_[i]; }

    RWCString& append(const char* data, std::size_t length) { s_.append(data, length); return *this; }
    RWCString& operator+=(const RWCString& other) { s_ += other.s_; return *this; }
    RWCString& operator+=(const char* text) { s_ += text ? text : ""; return *this; }
    RWCString& operator+=(char c) { s_ += c; return *this; }

    /// Negative, zero or positive; unsigned byte order, then length.
    int compareTo(const RWCString& other, caseCompare mode = exact) const;
    int compareTo(const char* text, caseCompare mode = exact) const;

    /// The hash that decides a string's bucket in hashed collections.
    unsigned hash(caseCompare mode = exact) const;

    /// Position of the first occurrence at or after start, or RW_NPOS.
    std::size_t index(const RWCString& pattern, std::size_t start = 0, caseCompare mode = exact) const;
    std::size_t index(const char* pattern, std::size_t start = 0, caseCompare mode = exact) const;
    bool contains(const RWCString& pattern, caseCompare mode = exact) const;
    bool contains(const char* pattern, caseCompare mode = exact) const;

    /// Sub-string view; a range outside the string gives the null view.
    RWCSubString operator()(std::size_t start, std::size_t length) const;
    /// The view without the runs of `ch` at the chosen ends.
    RWCSubString strip(stripType where = trailing, char ch = ' ') const;

    RWCString& toLower();
    RWCString& toUpper();

    /// Writes the length (decimal line) and the quoted, escaped bytes.
    void saveOn(RWvostream& s) const;
    /// Reads a string written by saveOn; leaves this string alone when the
    /// length cannot be read.
    void restoreFrom(RWvistream& s);

    friend bool operator==(const RWCString& a, const RWCString& b) { return a.s_ == b.s_; }
    friend bool operator!=(const RWCString& a, const RWCString& b) { return a.s_ != b.s_; }
    friend bool operator<(const RWCString& a, const RWCString& b) { return a.compareTo(b) < 0; }
    friend bool operator==(const RWCString& a, const char* b);
    friend bool operator!=(const RWCString& a, const char* b) { return !(a == b); }
    friend RWCString operator+(const RWCString& a, const RWCString& b) { return RWCString(a.s_ + b.s_); }

private:
    std::size_t indexOf(const char* pattern, std::size_t patternLength, std::size_t start, caseCompare mode) const;

    std::string s_;
};

RWvostream& operator<<(RWvostream& s, const RWCString& str);
RWvistream& operator>>(RWvistream& s, RWCString& str);
