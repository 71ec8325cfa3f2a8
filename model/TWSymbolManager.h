#pragma once

#include "model/TWObjectArena.h"
#include "persist/RWCollectableString.h"
#include "persist/RWSet.h"

// The texts of one library, shared by kind (SymbolType): equal texts of a
// kind are one string object.
class TWSymbolManager
{
public:
    enum SymbolType { Gharana = 0, Composer = 1, Reporter = 2, Style = 3, Cycle = 4, SpecificText = 5, SoundName = 6 };
    static constexpr int kKindCount = 7;

    TWSymbolManager() = default;
    TWSymbolManager(const TWSymbolManager&) = delete;
    TWSymbolManager& operator=(const TWSymbolManager&) = delete;

    // The held string of that kind equal to `text`, else a new one entered
    // and answered; nil for a kind outside 0..6.
    RWCollectableString* AddSymbol(int kind, const RWCString& text);
    // Enters `string` itself unless an equal one is held; answers the held
    // one. The string stays with its owner (the file it was read from).
    RWCollectableString* AddSymbolRef(int kind, RWCollectableString* string);
    // The set of that kind (kind 6 for any value outside 0..5).
    const RWSet& GetSymbolsSet(int kind) const;
    std::vector<RWCollectableString*> GetAllSymbols(int kind) const;
    // Empties the sets and deletes the strings AddSymbol made.
    void Clear();

private:
    static int SetIndex(int kind) { return kind >= 0 && kind <= 5 ? kind : 6; }
    RWSet mSets[kKindCount];
    TWObjectArena mOwned;
};
