#include "model/TWSwarManager.h"

#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

TWSwarManager::TWSwarManager() : mPreviousNotes(TWSwar::kNoteCount)
{
    CreateAllNotes();
}

void TWSwarManager::CreateAllNotes()
{
    if (!mNotes.empty())
        return;
    for (short octave = -5; octave <= 5; ++octave)
        for (short position = 1; position <= 12; ++position)
            mNotes.push_back(std::make_unique<TWSwar>(octave, position));
}

TWSwar* TWSwarManager::GetNote(unsigned long index) const
{
    return index < mNotes.size() ? mNotes[index].get() : nullptr;
}

TWSwar* TWSwarManager::ReplaceByCurrentNote(const TWSwar* note)
{
    if (!note)
        return nullptr;
    unsigned long i = note->GetIndex();
    if (i >= TWSwar::kNoteCount)
        return nullptr;
    if (!rwReadingVersionAtLeast("QN300"))
        i += 36;
    TWSwar* canonical = GetNote(i);
    if (!canonical)
        return nullptr;
    // The note read belongs to its file; the table keeps a copy of it.
    if (note != canonical && !mPreviousNotes[i])
        mPreviousNotes[i] = std::make_unique<TWSwar>(*note);
    return canonical;
}

const TWSwar* TWSwarManager::GetPreviousNote(unsigned long index) const
{
    return index < mPreviousNotes.size() ? mPreviousNotes[index].get() : nullptr;
}

TWSwarManager* GetSwarManager()
{
    static TWSwarManager g_SwarManager;
    return &g_SwarManager;
}

RWCollectable* TWShareNote(RWvistream& s, RWCollectable* p)
{
    const auto* note = dynamic_cast<const TWSwar*>(p);
    if (!note)
        return p;
    TWSwar* canonical = GetSwarManager()->ReplaceByCurrentNote(note);
    if (!canonical)
        TWStream::Fail(s);
    return canonical;
}
