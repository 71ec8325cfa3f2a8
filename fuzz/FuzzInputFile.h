// The model's loaders read files: each fuzz input is written to a file of
// this process first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

inline std::string FuzzInputFile(const std::uint8_t* data, std::size_t size, const char* name)
{
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        return std::string(tmp ? tmp : "/tmp");
    }();
    const std::string path = folder + "/nadavo-fuzz-" + std::to_string(getpid()) + "-" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}
