// Helpers for writing to and reading from in-memory portable streams.
#pragma once

#include "persist/RWpistream.h"
#include "persist/RWpostream.h"

#include <functional>
#include <sstream>
#include <string>

inline std::string writeText(const std::function<void(RWpostream&)>& fill)
{
    std::ostringstream out;
    RWpostream s(out);
    fill(s);
    return out.str();
}

/// An input stream over a fixed text.
struct TextIn {
    explicit TextIn(const std::string& text) : in(text), s(in) {}
    std::string rest() { return std::string(std::istreambuf_iterator<char>(in), {}); }
    std::istringstream in;
    RWpistream s;
};
