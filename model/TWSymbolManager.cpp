#include "model/TWSymbolManager.h"

RWCollectableString* TWSymbolManager::AddSymbol(int kind, const RWCString& text)
{
    if (kind < 0 || kind >= kKindCount)
        return nullptr;
    const RWCollectableString key(text);
    if (auto* held = static_cast<RWCollectableString*>(mSets[kind].find(&key)))
        return held;
    auto* symbol = mOwned.Adopt(new RWCollectableString(text));
    mSets[kind].insert(symbol);
    return symbol;
}

RWCollectableString* TWSymbolManager::AddSymbolRef(int kind, RWCollectableString* string)
{
    if (!string || kind < 0 || kind >= kKindCount)
        return string;
    return static_cast<RWCollectableString*>(mSets[kind].insert(string));
}

const RWSet& TWSymbolManager::GetSymbolsSet(int kind) const
{
    return mSets[SetIndex(kind)];
}

std::vector<RWCollectableString*> TWSymbolManager::GetAllSymbols(int kind) const
{
    std::vector<RWCollectableString*> symbols;
    GetSymbolsSet(kind).forEach([&](RWCollectable* p) { symbols.push_back(static_cast<RWCollectableString*>(p)); });
    return symbols;
}

void TWSymbolManager::Clear()
{
    for (auto& set : mSets)
        set.clear();
    mOwned.DestroyAll();
}
