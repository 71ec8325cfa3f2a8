#include "model/TWTrackArrangement.h"

#include "model/TWFactory.h"
#include "model/TWRhythmicSequence.h"

#include <algorithm>

namespace
{
// The most cells a main sequence may grow to: 65536 beats of quarter beats,
// hours of music at any tempo.
constexpr long long kMaxCells = 1LL << 18;
} // namespace

long long TWTrackArrangement::Floor(const LMFraction& f)
{
    const long long n = f.numerator();
    const long long d = f.denominator();
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

long long TWTrackArrangement::Ceil(const LMFraction& f)
{
    return -Floor(LMFraction(0) - f);
}

TWTrackArrangement::TWTrackArrangement(TWRhythmicSequence* sequence, const LMFraction& trackFactor)
    : mSequence(sequence), mFactor(trackFactor)
{
    if (TWFactory* factory = sequence ? sequence->GetFactory() : nullptr)
        mSilence = dynamic_cast<TWRhythmicItem*>(factory->GetDefaultStroke(sequence->GetFolder()));
}

bool TWTrackArrangement::IsUsable() const
{
    return mSequence && mSequence->GetCellCountFraction() > LMFraction(0) && mFactor > LMFraction(0);
}

LMFraction TWTrackArrangement::UnitShare() const
{
    return LMFraction(1) / (mSequence->GetCellCountFraction() * mFactor);
}

LMFraction TWTrackArrangement::ToUnits(const LMFraction& share) const
{
    return share * mSequence->GetCellCountFraction() * mFactor;
}

LMFraction TWTrackArrangement::GetLengthInUnits() const
{
    return IsUsable() ? ToUnits(mSequence->GetTotalDuration()) : LMFraction();
}

bool TWTrackArrangement::IsSilent(int index) const
{
    const TWSequencedItem* cell = mSequence->GetSequencedItem(index);
    const TWRhythmicItem* item = cell ? cell->GetItem() : nullptr;
    return !item || !item->isSequence();
}

std::vector<LMFraction> TWTrackArrangement::Offsets() const
{
    const int n = static_cast<int>(mSequence->GetCellCount());
    std::vector<LMFraction> offsets;
    offsets.reserve(static_cast<std::size_t>(n) + 1);
    LMFraction share;
    offsets.push_back(LMFraction());
    for (int i = 0; i < n; ++i) {
        share += mSequence->GetSequencedItem(i)->GetDuration();
        offsets.push_back(ToUnits(share));
    }
    return offsets;
}

std::vector<TWTrackArrangement::Instance> TWTrackArrangement::GetInstances() const
{
    std::vector<Instance> instances;
    if (!IsUsable())
        return instances;
    const int n = static_cast<int>(mSequence->GetCellCount());
    LMFraction share;
    for (int i = 0; i < n;) {
        const TWSequencedItem* cell = mSequence->GetSequencedItem(i);
        TWRhythmicItem* item = cell->GetItem();
        if (!item || !item->isSequence()) {
            share += cell->GetDuration();
            ++i;
            continue;
        }
        Instance instance;
        instance.item = item;
        instance.first = i;
        instance.start = ToUnits(share);
        LMFraction duration = cell->GetDuration();
        int last = i;
        while (last + 1 < n) {
            const TWSequencedItem* cur = mSequence->GetSequencedItem(last);
            const TWSequencedItem* next = mSequence->GetSequencedItem(last + 1);
            if (next->GetItemRef() != cur->GetItemRef() || next->GetCellIndex() != cur->GetCellIndex() + 1)
                break;
            duration += next->GetDuration();
            ++last;
        }
        instance.last = last;
        instance.length = ToUnits(duration);
        instances.push_back(instance);
        share += duration;
        i = last + 1;
    }
    return instances;
}

bool TWTrackArrangement::FindInstance(const TWRhythmicItem* item, int k, Instance& instance) const
{
    if (!item || k <= 0)
        return false;
    int found = 0;
    for (const Instance& candidate : GetInstances())
        if (candidate.item == item && ++found == k) {
            instance = candidate;
            return true;
        }
    return false;
}

int TWTrackArrangement::GetLastLoopEndInBeats() const
{
    const std::vector<Instance> instances = GetInstances();
    if (instances.empty())
        return 0;
    const Instance& last = instances.back();
    const long long beats = Ceil((last.start + last.length) / mFactor);
    return beats < 0 ? 0 : static_cast<int>(std::min<long long>(beats, 1LL << 30));
}

LMFraction TWTrackArrangement::FindPlace(const LMFraction& position, const LMFraction& length) const
{
    const std::vector<LMFraction> offsets = Offsets();
    const int n = static_cast<int>(offsets.size()) - 1;
    const LMFraction& total = offsets.back();
    if (position >= total)
        return position;
    // The end of the silent run each silent cell belongs to.
    std::vector<LMFraction> runEnd(static_cast<std::size_t>(n));
    for (int i = n - 1; i >= 0; --i)
        if (IsSilent(i))
            runEnd[i] = (i + 1 < n && IsSilent(i + 1)) ? runEnd[i + 1] : offsets[i + 1];
    for (int i = 0; i < n; ++i)
        if (IsSilent(i) && offsets[i] >= position
            && (runEnd[i] - offsets[i] >= length || runEnd[i] == total))
            return offsets[i];
    return total;
}

bool TWTrackArrangement::IsFree(const LMFraction& start, const LMFraction& length, const Instance* ignored) const
{
    if (!IsUsable())
        return false;
    const std::vector<LMFraction> offsets = Offsets();
    const int n = static_cast<int>(offsets.size()) - 1;
    const LMFraction end = start + length;
    for (int i = 0; i < n; ++i) {
        if (offsets[i] >= end)
            break;
        if (offsets[i + 1] <= start || IsSilent(i))
            continue;
        if (ignored && i >= ignored->first && i <= ignored->last)
            continue;
        return false;
    }
    return true;
}

std::vector<TWSequencedItem*> TWTrackArrangement::SilentCells(const LMFraction& units,
                                                              const LMFraction& unitShare) const
{
    std::vector<TWSequencedItem*> cells;
    if (units <= LMFraction(0))
        return cells;
    const long long whole = Floor(units);
    if (whole > kMaxCells) {
        // Far beyond any real song: one silent cell keeps the time.
        cells.push_back(mSequence->NewCell(mSilence, 0, units * unitShare));
        return cells;
    }
    for (long long i = 0; i < whole; ++i)
        cells.push_back(mSequence->NewCell(mSilence, 0, unitShare));
    const LMFraction rest = units - LMFraction(whole);
    if (rest > LMFraction(0))
        cells.push_back(mSequence->NewCell(mSilence, 0, rest * unitShare));
    return cells;
}

int TWTrackArrangement::BoundaryAt(const LMFraction& units)
{
    const std::vector<LMFraction> offsets = Offsets();
    const int n = static_cast<int>(offsets.size()) - 1;
    for (int i = 0; i <= n; ++i) {
        if (offsets[i] == units)
            return i;
        if (i < n && offsets[i] < units && units < offsets[i + 1]) {
            if (!IsSilent(i))
                return -1;
            TWSequencedItem* cell = mSequence->GetSequencedItem(i);
            const LMFraction first = (units - offsets[i]) * UnitShare();
            std::vector<TWSequencedItem*> parts{
                mSequence->NewCell(cell->GetItem(), 0, first),
                mSequence->NewCell(cell->GetItem(), 0, cell->GetDuration() - first) };
            mSequence->ReplaceItems(i, i, parts);
            return i + 1;
        }
    }
    return -1;
}

bool TWTrackArrangement::Place(TWRhythmicItem* item, const LMFraction& start, const LMFraction& length)
{
    if (!IsUsable() || !item || length <= LMFraction(0) || start < LMFraction(0) || !IsFree(start, length))
        return false;
    if (!LengthenTo(start + length))
        return false;
    const LMFraction end = start + length;
    if (BoundaryAt(end) < 0)
        return false;
    const int first = BoundaryAt(start);
    const int last = BoundaryAt(end) - 1;
    if (first < 0 || last < first)
        return false;
    for (int i = first; i <= last; ++i)
        if (!IsSilent(i))
            return false;
    mSequence->ReplaceItems(first, last, { mSequence->NewCell(item, 0, length * UnitShare()) });
    return true;
}

void TWTrackArrangement::MakeSilent(const Instance& instance)
{
    if (!IsUsable() || instance.first < 0 || instance.last < instance.first)
        return;
    mSequence->ReplaceItems(instance.first, instance.last, SilentCells(instance.length, UnitShare()));
}

LMFraction TWTrackArrangement::SilenceAfter(const LMFraction& start, bool& reachesEnd) const
{
    reachesEnd = false;
    if (!IsUsable())
        return LMFraction();
    const std::vector<LMFraction> offsets = Offsets();
    const int n = static_cast<int>(offsets.size()) - 1;
    for (int i = 0; i < n; ++i) {
        if (offsets[i + 1] <= start)
            continue;
        if (!IsSilent(i))
            return offsets[i] > start ? offsets[i] - start : LMFraction();
    }
    reachesEnd = true;
    return offsets.back() > start ? offsets.back() - start : LMFraction();
}

bool TWTrackArrangement::LengthenTo(const LMFraction& units)
{
    if (!IsUsable())
        return false;
    const LMFraction current = GetLengthInUnits();
    if (units <= current)
        return true;
    const LMFraction n = mSequence->GetCellCountFraction();
    const LMFraction currentBeats = current / mFactor;
    const LMFraction neededBeats(Ceil(units / mFactor));
    if (currentBeats <= LMFraction(0))
        return false;
    const LMFraction added = (neededBeats - currentBeats) * mFactor;
    if (Floor(added) + static_cast<long long>(mSequence->GetCellCount()) > kMaxCells)
        return false;
    const LMFraction ratio = currentBeats / neededBeats;
    const int count = static_cast<int>(mSequence->GetCellCount());
    for (int i = 0; i < count; ++i) {
        TWSequencedItem* cell = mSequence->GetSequencedItem(i);
        cell->SetDuration(cell->GetDuration() * ratio);
    }
    mSequence->SetCellCountFraction(n / ratio);
    mSequence->SetNumberOfBeats(mSequence->GetNumberOfBeats() / ratio);
    mSequence->ReplaceItems(count, count - 1, SilentCells(added, UnitShare()));
    return true;
}
