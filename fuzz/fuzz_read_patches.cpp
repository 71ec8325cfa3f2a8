// Reads arbitrary bytes as "Instruments.dat": the built-in table stays whole
// and nothing crashes, leaks or misbehaves.
#include "FuzzInputFile.h"

#include "model/TWPlaybackMgr.h"
#include "model/TWRegisterModelClasses.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = (TWRegisterModelClasses(), true);
    (void)registered;
    const std::string path = FuzzInputFile(data, size, "Instruments.dat");
    static TWPlaybackMgr* mgr = [] {
        auto* m = GetPlaybackMgr();
        return m;
    }();
    mgr->ClearMIDIPatches();
    mgr->CreateDefaultPatches();
    const bool complete = mgr->LoadPatchesFrom(path);
    if (mgr->GetPatchCount() < 42 || (complete && mgr->GetPatchCount() > 42 + mgr->GetUserList().entries()))
        std::abort();
    (void)mgr->GetDefaultPatch("Tabla");
    // Writing back must not touch a file that was not read in full (an
    // empty file holds nothing to lose).
    if (!complete && size > 0 && mgr->SavePatchesTo(path))
        std::abort();
    std::remove(path.c_str());
    return 0;
}
