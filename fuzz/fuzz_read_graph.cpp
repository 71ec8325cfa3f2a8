// Reads arbitrary bytes as a model file: a sequence of object graphs, each
// written back out again. Nothing may crash, leak or misbehave.
#include "FuzzHolder.h"

#include "persist/RWCreationLog.h"
#include "persist/RWFactory.h"
#include "persist/RWGraphIO.h"
#include "persist/RWpistream.h"
#include "persist/RWpostream.h"
#include "persist/RWxmsg.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = rwAddToFactory(&FuzzHolder::create, FuzzHolder::id);
    (void)registered;

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    RWpistream s(in);
    RWCreationLog log;
    std::vector<RWCollectable*> roots;
    try {
        // Like a model file: several items, read until the stream fails.
        for (int i = 0; i < 16 && s.good(); ++i) {
            roots.push_back(RWCollectable::recursiveRestoreFrom(s));
            RWCString text;
            s >> text;
        }
    } catch (const RWxmsg&) {
        // A documented error: the partly read objects are still in the log.
    }
    std::ostringstream out;
    {
        RWpostream w(out);
        for (RWCollectable* root : roots) {
            w << root;
            if (root) {
                (void)root->hash();
                (void)root->isEqual(roots.front());
            }
        }
    }
    // Every object read must answer the lookup operations safely.
    for (RWCollectable* p : log.objects()) {
        (void)p->hash();
        (void)p->isEqual(roots.empty() ? nullptr : roots.front());
        (void)p->compareTo(p);
    }
    log.destroyAll();
    return 0;
}
