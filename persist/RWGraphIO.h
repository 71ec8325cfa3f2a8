// Writing and reading a whole object graph (one root reference).
//
// Loaders of model files that hold several items (a version tag, then
// fields) use RWpofstream / RWpifstream with operator<< and
// RWCollectable::recursiveRestoreFrom directly; these helpers cover the
// one-root case.
#pragma once

#include "persist/RWCollectable.h"

#include <string>

/// The text of `root` (nil allowed) as one object reference.
std::string rwSaveToString(const RWCollectable* root);
/// Writes `root` to `path`, replacing the file; false on a write failure.
bool rwSaveToFile(const std::string& path, const RWCollectable* root);

/// Reads one object reference. Answers the root, or nil for the nil
/// reference, an empty input or a format error at the root. When an
/// exception ends the read, every object created so far is deleted before
/// the exception leaves (see RWCreationLog), so nothing leaks.
RWCollectable* rwRestoreFromString(const std::string& text);
/// As rwRestoreFromString; nil when the file cannot be opened.
RWCollectable* rwRestoreFromFile(const std::string& path);
