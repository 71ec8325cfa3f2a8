#pragma once

#include <functional>
#include <string>

class RWvostream;

// Writes a model file in full beside `path` and then puts it in place, so
// that a failed write never leaves a half-written file. Creates the folder
// when missing. False when anything failed (the old file is then kept).
bool TWReplaceFile(const std::string& path, const std::function<void(RWvostream&)>& write);
