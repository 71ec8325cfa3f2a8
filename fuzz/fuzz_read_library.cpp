// Reads arbitrary bytes as the libraries of a model file: the first byte
// chooses the file's tag, the rest is a sequence of object graphs. Every
// graph is written back and its library operations are run. Nothing may
// crash, leak or misbehave.
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWObjectArena.h"
#include "model/TWRegisterModelClasses.h"
#include "model/TWRhythmicSequence.h"
#include "model/TWStrokesManager.h"
#include "persist/RWGraphIO.h"
#include "persist/RWReadingVersion.h"
#include "persist/RWpistream.h"
#include "persist/RWxmsg.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace
{
const char* const kTags[] = { "", "3.0", "QN1", "QN300", "QN3000", "QN304", "QN306",
                              "QN308", "QN310", "QN311", "QN312", "QN313" };

void Exercise(RWCollectable* p)
{
    (void)rwSaveToString(p);
    (void)p->hash();
    if (auto* instrument = dynamic_cast<TWInstrument*>(p)) {
        (void)instrument->GetFolder("Loops\\Cycles\\");
        if (TWFactory* factory = instrument->GetFactory()) {
            (void)factory->GetRootFolder();
            (void)factory->GetItem("S");
            (void)factory->GetDefaultStroke(nullptr);
            factory->CreateSubFolder("Loops\\New\\");
        }
    }
    if (auto* sequence = dynamic_cast<TWRhythmicSequence*>(p)) {
        (void)sequence->GetTotalDuration();
        (void)sequence->GetItemPath();
        (void)sequence->GetUnderlyingPath();
        if (TWSequencedItem* cell = sequence->GetSequencedItem(0)) {
            int first = 0, last = 0;
            (void)sequence->GetInstanceBoundaries(cell->GetItem(), 1, first, last);
            sequence->SplitItem(cell, 2);
            sequence->MergeItems(sequence->GetSequencedItem(0), 3);
        }
        LMFraction rest;
        (void)sequence->GetItemAtOffset(LMFraction(1, 2), rest);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = (TWRegisterModelClasses(), true);
    (void)registered;
    if (size == 0)
        return 0;
    const char* tag = kTags[data[0] % (sizeof kTags / sizeof kTags[0])];
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    RWpistream s(in);
    TWObjectArena arena;
    std::vector<RWCollectable*> roots;
    {
        RWReadingVersionScope scope(tag);
        try {
            for (int i = 0; i < 8 && s.good(); ++i)
                if (RWCollectable* p = TWRestoreObjects(s, arena))
                    roots.push_back(p);
        } catch (const RWxmsg&) {
            // A documented error: what the failed read made is gone.
        }
    }
    for (RWCollectable* p : roots)
        Exercise(p);
    arena.DestroyAll();
    GetStrokesManager()->Clear();
    return 0;
}
