#include "model/TWFileWriting.h"

#include "persist/RWpfstream.h"

#include <filesystem>
#include <system_error>

bool TWReplaceFile(const std::string& path, const std::function<void(RWvostream&)>& write)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(path);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);
    const std::string temp = path + ".new";
    bool ok = false;
    {
        RWpofstream s(temp);
        if (s.isOpen()) {
            write(s);
            ok = s.good();
            ok = s.close() && ok;
        }
    }
    if (ok) {
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temp, ec);
    return ok;
}
