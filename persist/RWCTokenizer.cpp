#include "persist/RWCTokenizer.h"

#include <cstring>

RWCSubString RWCTokenizer::operator()(const char* delimiters)
{
    const std::size_t n = str_.length();
    const char* d = delimiters ? delimiters : "";
    auto isDelimiter = [&](char c) { return c != '\0' && std::strchr(d, c) != nullptr; };
    while (pos_ < n && isDelimiter(str_[pos_]))
        ++pos_;
    if (pos_ >= n)
        return str_(n + 1, 0); // null view
    const std::size_t start = pos_;
    while (pos_ < n && !isDelimiter(str_[pos_]))
        ++pos_;
    return str_(start, pos_ - start);
}
