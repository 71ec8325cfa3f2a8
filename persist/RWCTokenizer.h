// Hands out the tokens of a string, skipping runs of delimiters.
#pragma once

#include "persist/RWCString.h"

class RWCTokenizer {
public:
    /// The string must outlive the tokenizer and the views it hands out.
    explicit RWCTokenizer(const RWCString& s) : str_(s) {}

    /// Next run of non-delimiter bytes, or the null view at the end.
    RWCSubString operator()(const char* delimiters = " \t\n");

private:
    const RWCString& str_;
    std::size_t pos_ = 0;
};
