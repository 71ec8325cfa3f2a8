// Portable streams that own their file. The output file is replaced and
// written in binary mode, so line breaks are single line feeds everywhere.
#pragma once

#include "persist/RWpistream.h"
#include "persist/RWpostream.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace rwdetail {
struct OutFileHolder {
    explicit OutFileHolder(const std::string& path)
        : file(path, std::ios::out | std::ios::trunc | std::ios::binary) {}
    std::ofstream file;
};
struct InFileHolder {
    // A folder is never opened: reading one fails inside the stream buffer.
    explicit InFileHolder(const std::string& path)
    {
        std::error_code error;
        if (!std::filesystem::is_directory(path, error))
            file.open(path, std::ios::in | std::ios::binary);
    }
    std::ifstream file;
};
} // namespace rwdetail

class RWpofstream : private rwdetail::OutFileHolder, public RWpostream {
public:
    explicit RWpofstream(const std::string& path) : OutFileHolder(path), RWpostream(file) {}
    bool isOpen() const { return file.is_open(); }
    /// Flushes and closes; false when anything failed.
    bool close()
    {
        file.close();
        return !file.fail();
    }
};

class RWpifstream : private rwdetail::InFileHolder, public RWpistream {
public:
    explicit RWpifstream(const std::string& path) : InFileHolder(path), RWpistream(file) {}
    bool isOpen() const { return file.is_open(); }
};
