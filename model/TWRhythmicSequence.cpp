#include "model/TWRhythmicSequence.h"

#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

#include <algorithm>

namespace
{
// More cells than a sequence may be split into at once.
constexpr long kMaxCells = 1L << 20;
}

TWRhythmicSequence::TWRhythmicSequence(const RWCString& name, const RWCString& alias, TWFolder* folder, int count,
                                       const LMFraction& beats, const LMFraction& wrap)
    : TWRhythmicItem(name, alias, folder), mBeats(beats), mCellCount(count), mWrapAt(wrap)
{
    TWFactory* factory = GetFactory();
    auto* stroke = factory ? dynamic_cast<TWRhythmicItem*>(factory->GetDefaultStroke(folder)) : nullptr;
    for (int i = 0; i < count; ++i)
        mCells.insert(NewCell(stroke, 0, LMFraction(1, count)));
    ImpactChanges();
}

TWRhythmicSequence::TWRhythmicSequence(const TWRhythmicSequence& other)
    : TWRhythmicItem(other)
    , mBeats(other.mBeats)
    , mCellCount(other.mCellCount)
    , mWrapAt(other.mWrapAt)
    , mSecondFraction(other.mSecondFraction)
    , mGharana(other.mGharana)
    , mComposer(other.mComposer)
    , mReporter(other.mReporter)
    , mCycle(other.mCycle)
    , mTempo(other.mTempo)
    , mThirdSet(other.mThirdSet)
    , mTempoFrom(other.mTempoFrom)
    , mTempoTo(other.mTempoTo)
    , mFourthList(other.mFourthList)
    , mDisplayValue(other.mDisplayValue)
    , mStyles(other.mStyles)
    , mThirdFraction(other.mThirdFraction)
    , mUnderlying(other.mUnderlying)
    , mFourthFraction(other.mFourthFraction)
    , mTrackLink(other.mTrackLink)
    , mReadWithTrackLink(other.mReadWithTrackLink)
{
    mClients.clear();
    CopyCellsFrom(other);
}

void TWRhythmicSequence::CopyCellsFrom(const TWRhythmicSequence& other)
{
    mCells.clear();
    for (RWCollectable* p : other.mCells) {
        auto* cell = mOwned.Adopt(new TWSequencedItem(*static_cast<TWSequencedItem*>(p)));
        mCells.insert(cell);
    }
    ImpactChanges();
}

TWSequencedItem* TWRhythmicSequence::GetSequencedItem(int index) const
{
    return index < 0 ? nullptr : static_cast<TWSequencedItem*>(mCells.at(static_cast<std::size_t>(index)));
}

int TWRhythmicSequence::IndexOf(const TWSequencedItem* cell) const
{
    for (std::size_t i = 0; i < mCells.entries(); ++i)
        if (mCells.at(i) == cell)
            return static_cast<int>(i);
    return -1;
}

LMFraction TWRhythmicSequence::GetTotalDuration() const
{
    LMFraction total;
    for (RWCollectable* p : mCells)
        total += static_cast<TWSequencedItem*>(p)->GetDuration();
    return total;
}

TWSequencedItem* TWRhythmicSequence::NewCell(TWRhythmicItem* item, unsigned short cellIndex, const LMFraction& duration)
{
    return mOwned.Adopt(new TWSequencedItem(item, cellIndex, duration));
}

void TWRhythmicSequence::AddItem(TWSequencedItem* cell, int index)
{
    if (!cell)
        return;
    const std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), mCells.entries());
    mCells.insertAt(at, cell);
    ImpactChanges();
}

TWSequencedItem* TWRhythmicSequence::RemoveItem(int index)
{
    if (index < 0)
        return nullptr;
    auto* cell = static_cast<TWSequencedItem*>(mCells.removeAt(static_cast<std::size_t>(index)));
    if (cell) {
        ForgetUnused({ cell->GetItemRef() });
        ImpactChanges();
    }
    return cell;
}

void TWRhythmicSequence::InsertItems(int index, int count)
{
    if (count <= 0 || count > kMaxCells || static_cast<long>(mCells.entries()) + count > kMaxCells)
        return;
    TWFactory* factory = GetFactory();
    auto* stroke = factory ? dynamic_cast<TWRhythmicItem*>(factory->GetDefaultStroke(GetFolder())) : nullptr;
    const LMFraction unit = mCellCount.numerator() > 0 ? LMFraction(1) / mCellCount : LMFraction(1);
    std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), mCells.entries());
    for (int i = 0; i < count; ++i)
        mCells.insertAt(at++, NewCell(stroke, 0, unit));
    ImpactChanges();
}

void TWRhythmicSequence::ReplaceItems(int first, int last, const std::vector<TWSequencedItem*>& cells)
{
    const int n = static_cast<int>(mCells.entries());
    if (first < 0 || first > n)
        return;
    last = std::min(last, n - 1);
    const int removed = last >= first ? last - first + 1 : 0;
    if (n - removed + static_cast<long>(cells.size()) > kMaxCells)
        return;
    std::vector<RWCollectable*> all(mCells.begin(), mCells.end());
    std::vector<RWCollectable*> items;
    for (int i = first; i <= last; ++i) {
        RWCollectable* item = static_cast<TWSequencedItem*>(all[static_cast<std::size_t>(i)])->GetItemRef();
        if (std::find(items.begin(), items.end(), item) == items.end())
            items.push_back(item);
    }
    mCells.clear();
    for (int i = 0; i < first; ++i)
        mCells.insert(all[static_cast<std::size_t>(i)]);
    for (TWSequencedItem* cell : cells)
        mCells.insert(cell);
    for (int i = first + removed; i < n; ++i)
        mCells.insert(all[static_cast<std::size_t>(i)]);
    ForgetUnused(items);
    ImpactChanges();
}

void TWRhythmicSequence::InstanceAt(int index, int& first, int& last) const
{
    first = last = index;
    const TWSequencedItem* cell = GetSequencedItem(index);
    const TWRhythmicItem* item = cell ? cell->GetItem() : nullptr;
    if (!item || !item->isSequence())
        return;
    const int n = static_cast<int>(mCells.entries());
    while (first > 0) {
        const TWSequencedItem* cur = GetSequencedItem(first);
        const TWSequencedItem* prev = GetSequencedItem(first - 1);
        if (prev->GetItemRef() == cur->GetItemRef() && cur->GetCellIndex() > 0
            && prev->GetCellIndex() + 1 == cur->GetCellIndex())
            --first;
        else
            break;
    }
    while (last + 1 < n) {
        const TWSequencedItem* cur = GetSequencedItem(last);
        const TWSequencedItem* next = GetSequencedItem(last + 1);
        if (next->GetItemRef() == cur->GetItemRef() && next->GetCellIndex() == cur->GetCellIndex() + 1)
            ++last;
        else
            break;
    }
}

bool TWRhythmicSequence::GetBoundSequences(const TWSequencedItem* cell, int& first, int& last) const
{
    const int index = IndexOf(cell);
    if (index < 0)
        return false;
    InstanceAt(index, first, last);
    return true;
}

bool TWRhythmicSequence::GetInstanceBoundaries(const TWRhythmicItem* item, int k, int& first, int& last) const
{
    if (!item || k <= 0)
        return false;
    int found = 0;
    const int n = static_cast<int>(mCells.entries());
    for (int i = 0; i < n; ++i) {
        if (GetSequencedItem(i)->GetItemRef() != item)
            continue;
        int f = 0, l = 0;
        InstanceAt(i, f, l);
        if (++found == k) {
            first = f;
            last = l;
            return true;
        }
        i = l;
    }
    return false;
}

bool TWRhythmicSequence::SplitItem(const TWSequencedItem* cell, int parts)
{
    int first = 0, last = 0;
    if (parts <= 0 || !GetBoundSequences(cell, first, last))
        return false;
    const long size = last - first + 1;
    if ((parts - 1) * size + static_cast<long>(mCells.entries()) > kMaxCells)
        return false;
    const LMFraction share(1, parts);
    for (int i = first; i <= last; ++i)
        GetSequencedItem(i)->SetDuration(GetSequencedItem(i)->GetDuration() * share);
    std::size_t at = static_cast<std::size_t>(last) + 1;
    for (int copy = 1; copy < parts; ++copy)
        for (int i = first; i <= last; ++i)
            mCells.insertAt(at++, mOwned.Adopt(new TWSequencedItem(*GetSequencedItem(i))));
    ImpactChanges();
    return true;
}

bool TWRhythmicSequence::MergeItems(const TWSequencedItem* cell, int count)
{
    int first = 0, last = 0;
    if (count <= 0 || !GetBoundSequences(cell, first, last))
        return false;
    const int n = static_cast<int>(mCells.entries());
    const int end = std::min(n - 1, first + count - 1);
    LMFraction removed;
    std::vector<RWCollectable*> items;
    for (int r = last; r < end; ++r) {
        auto* gone = static_cast<TWSequencedItem*>(mCells.removeAt(static_cast<std::size_t>(last) + 1));
        removed += gone->GetDuration();
        items.push_back(gone->GetItemRef());
    }
    if (removed.numerator() != 0) {
        LMFraction instance;
        for (int i = first; i <= last; ++i)
            instance += GetSequencedItem(i)->GetDuration();
        if (instance.numerator() != 0) {
            const LMFraction stretch = (instance + removed) / instance;
            for (int i = first; i <= last; ++i)
                GetSequencedItem(i)->SetDuration(GetSequencedItem(i)->GetDuration() * stretch);
        } else {
            const LMFraction each = removed / LMFraction(last - first + 1);
            for (int i = first; i <= last; ++i)
                GetSequencedItem(i)->SetDuration(each);
        }
    }
    ForgetUnused(items);
    ImpactChanges();
    return true;
}

LMFraction TWRhythmicSequence::GetItemOffset(int index) const
{
    LMFraction offset;
    const int n = std::min(index, static_cast<int>(mCells.entries()));
    for (int i = 0; i < n; ++i)
        offset += GetSequencedItem(i)->GetDuration();
    return offset;
}

int TWRhythmicSequence::GetItemAtOffset(const LMFraction& offset, LMFraction& rest) const
{
    if (offset < LMFraction(0))
        return -1;
    LMFraction start;
    const int n = static_cast<int>(mCells.entries());
    for (int i = 0; i < n; ++i) {
        const LMFraction end = start + GetSequencedItem(i)->GetDuration();
        if (offset < end) {
            rest = offset - start;
            return i;
        }
        start = end;
    }
    return -1;
}

void TWRhythmicSequence::Resequence()
{
    const int n = static_cast<int>(mCells.entries());
    LMFraction offset;
    int first = 0, last = -1;
    LMFraction instance;
    for (int i = 0; i < n; ++i) {
        if (i > last) {
            InstanceAt(i, first, last);
            instance = LMFraction();
            for (int j = first; j <= last; ++j)
                instance += GetSequencedItem(j)->GetDuration();
        }
        TWSequencedItem* cell = GetSequencedItem(i);
        cell->SetOwner(this);
        cell->SetAncestor(offset, instance);
        offset += cell->GetDuration();
    }
}

void TWRhythmicSequence::ImpactChanges()
{
    Resequence();
    for (RWCollectable* p : mCells)
        if (TWRhythmicItem* item = static_cast<TWSequencedItem*>(p)->GetItem())
            item->AddClient(this);
}

bool TWRhythmicSequence::StillUsed(const RWCollectable* item) const
{
    for (RWCollectable* p : mCells)
        if (static_cast<TWSequencedItem*>(p)->GetItemRef() == item)
            return true;
    return false;
}

void TWRhythmicSequence::ForgetUnused(const std::vector<RWCollectable*>& items)
{
    for (RWCollectable* p : items)
        if (auto* item = dynamic_cast<TWRhythmicItem*>(p))
            if (!StillUsed(p))
                item->RemoveClient(this);
}

RWCollectable* TWRhythmicSequence::Symbol(int kind, const RWCString& text)
{
    if (text.isNull())
        return nullptr;
    if (TWFactory* factory = GetFactory())
        return factory->GetSymbolManager().AddSymbol(kind, text);
    return mOwned.Adopt(new RWCollectableString(text));
}

void TWRhythmicSequence::AddStyle(const RWCString& text)
{
    if (RWCollectable* style = Symbol(3, text))
        mStyles.insert(style);
}

void TWRhythmicSequence::RegisterSymbol(int kind, RWCollectable* p) const
{
    TWFactory* factory = TWFactory::GetReadingFactory();
    auto* text = AsString(p);
    if (factory && text)
        factory->GetSymbolManager().AddSymbolRef(kind, text);
}

void TWRhythmicSequence::saveGuts(RWvostream& s) const
{
    TWRhythmicItem::saveGuts(s);
    mBeats.recursiveSaveOn(s);
    mCells.recursiveSaveOn(s);
    mCellCount.recursiveSaveOn(s);
    mWrapAt.recursiveSaveOn(s);
    mSecondFraction.recursiveSaveOn(s);
    s << mComposer << mCycle << mGharana << mReporter;
    s << static_cast<const RWCollectable*>(nullptr);
    mTempo.recursiveSaveOn(s);
    mThirdSet.recursiveSaveOn(s);
    s << mTempoFrom << mTempoTo;
    mFourthList.recursiveSaveOn(s);
    s << mDisplayValue;
    mStyles.recursiveSaveOn(s);
    mThirdFraction.recursiveSaveOn(s);
    mUnderlying.recursiveSaveOn(s);
    mFourthFraction.recursiveSaveOn(s);
    const TWFactory* factory = GetFactory();
    if ((factory && factory->isTrackFactory()) || mReadWithTrackLink)
        s << mTrackLink;
}

void TWRhythmicSequence::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    TWRhythmicItem::restoreGuts(s);
    ReadMember(s, mBeats);
    ReadMember(s, mCells);
    ReadMember(s, mCellCount);
    ReadMember(s, mWrapAt);
    ReadMember(s, mSecondFraction);
    mComposer = ReadRef(s);
    mCycle = ReadRef(s);
    mGharana = ReadRef(s);
    mReporter = ReadRef(s);
    RegisterSymbol(1, mComposer);
    RegisterSymbol(4, mCycle);
    RegisterSymbol(0, mGharana);
    RegisterSymbol(2, mReporter);
    RWCollectable* legacyStyle = ReadRef(s);
    ReadMember(s, mTempo);
    ReadMember(s, mThirdSet);
    if (rwReadingVersionAtLeast("QN300")) {
        Read(s, mTempoFrom);
        Read(s, mTempoTo);
        ReadMember(s, mFourthList);
    }
    if (rwReadingVersionAtLeast("QN310"))
        Read(s, mDisplayValue);
    if (!rwReadingVersionAtLeast("QN311")) {
        mStyles.clear();
        if (legacyStyle)
            mStyles.insert(legacyStyle);
    } else {
        ReadMember(s, mStyles);
        ReadMember(s, mThirdFraction);
        ReadMember(s, mUnderlying);
        ReadMember(s, mFourthFraction);
    }
    mStyles.forEach([this](RWCollectable* style) { RegisterSymbol(3, style); });
    if (rwReadingVersionAtLeast("QN313")) {
        mTrackLink = ReadRef(s);
        mReadWithTrackLink = true;
    }
    // Only cells make a sequence: anything else a damaged file puts in the
    // list is dropped.
    std::vector<RWCollectable*> cells;
    mCells.forEach([&](RWCollectable* p) {
        if (dynamic_cast<TWSequencedItem*>(p))
            cells.push_back(p);
    });
    mCells.clear();
    for (RWCollectable* p : cells)
        mCells.insert(p);
    ImpactChanges();
}
