#include "persist/RWGraphIO.h"

#include "persist/RWCreationLog.h"
#include "persist/RWpfstream.h"

#include <sstream>

namespace {

RWCollectable* restoreRoot(RWvistream& s)
{
    RWCreationLog log;
    try {
        RWCollectable* root = RWCollectable::recursiveRestoreFrom(s, nullptr);
        log.release();
        return root;
    } catch (...) {
        log.destroyAll();
        throw;
    }
}

} // namespace

std::string rwSaveToString(const RWCollectable* root)
{
    std::ostringstream out;
    RWpostream s(out);
    s << root;
    return out.str();
}

bool rwSaveToFile(const std::string& path, const RWCollectable* root)
{
    RWpofstream s(path);
    if (!s.isOpen())
        return false;
    s << root;
    const bool written = s.good();
    return s.close() && written;
}

RWCollectable* rwRestoreFromString(const std::string& text)
{
    std::istringstream in(text);
    RWpistream s(in);
    return restoreRoot(s);
}

RWCollectable* rwRestoreFromFile(const std::string& path)
{
    RWpifstream s(path);
    if (!s.isOpen())
        return nullptr;
    return restoreRoot(s);
}
