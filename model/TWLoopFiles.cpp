#include "model/TWLoopFiles.h"

#include "model/TWSettings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace
{
TWLoopFiles::MIDIConverter g_Converter;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWithIgnoringCase(const std::string& text, const char* suffix)
{
    const std::string end(suffix);
    return text.size() >= end.size() && Lower(text.substr(text.size() - end.size())) == end;
}

constexpr unsigned long long kFirstNumber = 100000;
} // namespace

std::string TWLoopFiles::getNextAvailableBinaryName(const std::string& directory, const std::string& extension)
{
    std::error_code ec;
    fs::create_directories(directory, ec);
    // The highest number, not the last name in order: "RZ1000000" sorts
    // before "RZ999999", and a name that is no number would restart the
    // count and overwrite a file.
    bool found = false;
    unsigned long long highest = 0;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= 2 + extension.size() || name.compare(0, 2, "RZ") != 0
            || name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
            continue;
        const std::string digits = name.substr(2, name.size() - 2 - extension.size());
        if (digits.empty() || digits.size() > 18
            || !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        const unsigned long long number = std::stoull(digits);
        if (!found || number > highest)
            highest = number;
        found = true;
    }
    unsigned long long next = found ? highest + 1 : kFirstNumber;
    std::string name = "RZ" + std::to_string(next) + extension;
    while (fs::exists(fs::path(directory) / name, ec))
        name = "RZ" + std::to_string(++next) + extension;
    return name;
}

std::string TWLoopFiles::dragBinaryFileCopy(const std::string& path)
{
    return dragBinaryFileCopy(path, GetSettings()->GetDefaultCompositionsTempPath());
}

std::string TWLoopFiles::dragBinaryFileCopy(const std::string& path, const std::string& tempFolder)
{
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec))
        return std::string();
    const std::string extension = fs::path(path).extension().string();
    const std::string name = getNextAvailableBinaryName(tempFolder, extension);
    const fs::path target = fs::path(tempFolder) / name;
    if (!fs::copy_file(path, target, fs::copy_options::none, ec) || ec) {
        fs::remove(target, ec);
        return std::string();
    }
    if (Lower(extension) == ".mid" && g_Converter)
        g_Converter(target.string());
    return name;
}

bool TWLoopFiles::allowFileType(const std::string& extension)
{
    const std::string e = Lower(extension);
    return e == ".mid" || e == ".wav" || e == ".aif" || e == ".aiff";
}

std::string TWLoopFiles::getQuantizedFilePath(const std::string& path)
{
    if (!EndsWithIgnoringCase(path, ".mid"))
        return std::string();
    const std::size_t dot = path.size() - 4;
    return path.substr(0, dot) + "_quant" + path.substr(dot);
}

std::string TWLoopFiles::getUnderlyingFilePath(const std::string& path)
{
    const std::string quantized = getQuantizedFilePath(path);
    std::error_code ec;
    return !quantized.empty() && fs::is_regular_file(quantized, ec) ? quantized : path;
}

bool TWLoopFiles::hasUniqueBinary(const std::vector<std::string>& loopPaths, int loopIndex, const std::string& path)
{
    const std::string wanted = Lower(path);
    for (std::size_t i = 0; i < loopPaths.size(); ++i)
        if (static_cast<int>(i) != loopIndex && Lower(loopPaths[i]) == wanted)
            return false;
    return true;
}

void TWLoopFiles::SetMIDIType0Converter(MIDIConverter converter)
{
    g_Converter = std::move(converter);
}
