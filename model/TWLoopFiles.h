#pragma once

#include <functional>
#include <string>
#include <vector>

// The loop files of a song: files copied or made by the program live in the
// song temp folder under "RZ" followed by a number and their extension,
// counted per extension from "RZ100000". The engine calls these with the
// paths it holds; nothing here knows the run-time song.
namespace TWLoopFiles
{
// "RZ" and one more than the highest number of the files "RZ<digits>" with
// `extension` in `directory` (created when missing), or "RZ100000" with
// the extension when there is none; never the name of a file that exists.
std::string getNextAvailableBinaryName(const std::string& directory, const std::string& extension);
// Copies `path` into `tempFolder` (default: the song temp folder) under the
// next free name for its extension and answers that name (no folder); ""
// when the file does not exist or the copy failed. A ".mid" copy (any case)
// is then merged to one track by the converter set below.
std::string dragBinaryFileCopy(const std::string& path, const std::string& tempFolder);
std::string dragBinaryFileCopy(const std::string& path);
// True for ".mid", ".wav", ".aif" and ".aiff", in any letter case.
bool allowFileType(const std::string& extension);
// For a ".mid" path (any case) its quantized twin (the name followed by
// "_quant" and the extension) when that file exists; else the path.
std::string getUnderlyingFilePath(const std::string& path);
// The twin's path, whether it exists or not ("" for other paths).
std::string getQuantizedFilePath(const std::string& path);
// False when a loop other than `loopIndex` in `loopPaths` (the underlying
// paths of a track's loops, in loop order) has `path`, ignoring case.
bool hasUniqueBinary(const std::vector<std::string>& loopPaths, int loopIndex, const std::string& path);

// The engine's MIDI type-0 conversion (convertToMIDIType0), applied to every
// ".mid" copy; false from it leaves the copy as it is. Until one is set a
// copy is left as it is.
using MIDIConverter = std::function<bool(const std::string& path)>;
void SetMIDIType0Converter(MIDIConverter converter);
} // namespace TWLoopFiles
