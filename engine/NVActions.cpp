#include "engine/NVActions.h"

#include "engine/NVManager.h"
#include "engine/NVTracks.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWRhythmicCycle.h"

namespace
{
    RWCString toModel(const juce::String& s) { return RWCString(s.toRawUTF8()); }
    juce::String toText(const RWCString& s) { return juce::String::fromUTF8(s.data(), (int) s.length()); }
}

void NVArrangementAction::storeModified() { storedModified = engine.isSongModified(); }
void NVArrangementAction::restoreModified() { engine.setSongModified(storedModified); }

TWRhythmicSequence* NVArrangementAction::itemOf(int loopNumber) const
{
    auto* song = engine.getCurrentSong();
    auto* l = song != nullptr ? song->GetLoop(track, loopNumber) : nullptr;
    return l != nullptr ? l->sequence : nullptr;
}

// Move ------------------------------------------------------------------------------------------

bool MoveLoopAction::moveTo(int x)
{
    auto* song = engine.getCurrentSong();
    item = itemOf(loop);
    if (item == nullptr)
        return false;
    const int instance = song->getLoopInstance(track, loop);
    engine.getSelection().loopWasRemoved(track, loop);
    GetCompositionsMgr()->MoveTrackItem(track, item, instance, x);
    engine.refreshTrackLoops(track);
    loop = song->findLoop(track, item, (int) (x * 4 / juce::jmax(1, engine.getBeatWidth())));
    engine.getSelection().loopWasInserted(track, loop, true);
    return loop >= 0;
}

bool MoveLoopAction::perform()
{
    storeModified();
    auto* l = engine.getCurrentSong() != nullptr ? engine.getCurrentSong()->GetLoop(track, loop) : nullptr;
    if (l == nullptr)
        return false;
    oldX = (int) (l->start * engine.getSignatureWidth());
    const bool done = moveTo(newX);
    engine.setSongModified(true);
    return done;
}

bool MoveLoopAction::undo()
{
    const bool done = moveTo(oldX);
    restoreModified();
    return done;
}

// Resize ----------------------------------------------------------------------------------------

bool ResizeLoopAction::resizeTo(int width)
{
    auto* song = engine.getCurrentSong();
    auto* item = itemOf(loop);
    if (item == nullptr)
        return false;
    GetCompositionsMgr()->SetTrackItemDuration(track, item, song->getLoopInstance(track, loop), width);
    engine.refreshTrackLoops(track);
    return true;
}

bool ResizeLoopAction::perform()
{
    storeModified();
    auto* l = engine.getCurrentSong() != nullptr ? engine.getCurrentSong()->GetLoop(track, loop) : nullptr;
    if (l == nullptr)
        return false;
    oldWidth = (int) ((l->end - l->start) * engine.getSignatureWidth());
    const bool done = resizeTo(newWidth);
    engine.setSongModified(true);
    return done;
}

bool ResizeLoopAction::undo()
{
    const bool done = resizeTo(oldWidth);
    restoreModified();
    return done;
}

// Add -------------------------------------------------------------------------------------------

bool AddLoopAction::perform()
{
    storeModified();
    auto* song = engine.getCurrentSong();
    auto* cycle = song != nullptr ? GetCompositionsMgr()->AddTrackItem(track, start, length) : nullptr;
    if (cycle == nullptr)
        return false;
    item = cycle;
    item->SetUnderlyingName(toModel(fileName));
    engine.refreshTrackLoops(track);
    loop = song->findLoop(track, item, start);
    GetCompositionsMgr()->RenameTrackItem(track, item, 1, toModel(loopName));
    song->setLoopName(track, loop, loopName);
    engine.getSelection().loopWasInserted(track, loop, false);
    engine.setSongModified(true);
    return loop >= 0;
}

bool AddLoopAction::undo()
{
    auto* current = itemOf(loop);
    if (current != nullptr)
        GetCompositionsMgr()->RemoveTrackItem(track, current, engine.getCurrentSong()->getLoopInstance(track, loop));
    item = nullptr;
    engine.getSelection().loopWasRemoved(track, loop);
    loop = -1;
    engine.refreshTrackLoops(track);
    restoreModified();
    return current != nullptr;
}

// Delete ----------------------------------------------------------------------------------------

bool DeleteLoopAction::perform()
{
    storeModified();
    auto* song = engine.getCurrentSong();
    auto* l = song != nullptr ? song->GetLoop(track, loop) : nullptr;
    if (l == nullptr || l->sequence == nullptr)
        return false;
    start = l->start;
    length = l->end - l->start;
    loopName = l->name;
    fileName = toText(l->sequence->GetUnderlyingName());
    wasSelected = engine.getSelection().loopWasRemoved(track, loop);
    GetCompositionsMgr()->RemoveTrackItem(track, l->sequence, song->getLoopInstance(track, loop));
    engine.refreshTrackLoops(track);
    engine.setSongModified(true);
    return true;
}

bool DeleteLoopAction::undo()
{
    auto* song = engine.getCurrentSong();
    auto* cycle = song != nullptr ? GetCompositionsMgr()->AddTrackItem(track, start, length) : nullptr;
    if (cycle != nullptr)
    {
        cycle->SetUnderlyingName(toModel(fileName));
        engine.getSelection().loopWasInserted(track, loop, wasSelected);
        engine.refreshTrackLoops(track);
        const int found = song->findLoop(track, cycle, start);
        GetCompositionsMgr()->RenameTrackItem(track, cycle, 1, toModel(loopName));
        song->setLoopName(track, found, loopName);
    }
    start = length = 0;
    fileName.clear();
    loopName.clear();
    wasSelected = false;
    restoreModified();
    return cycle != nullptr;
}

// Replace the file ------------------------------------------------------------------------------

bool ReplaceUnderlyingAction::replace(const juce::String& from, const juce::String& to)
{
    auto* song = engine.getCurrentSong();
    auto* item = itemOf(loop);
    if (item == nullptr)
        return false;
    item->SetUnderlyingName(toModel(to));
    if (updateAll)
    {
        auto* t = song->getTrack(track);
        for (int i = 0; i < t->getNumLoops(); ++i)
        {
            auto* other = t->getLoop(i)->sequence;
            if (other != nullptr && other != item && toText(other->GetUnderlyingName()).equalsIgnoreCase(from))
                other->SetUnderlyingName(toModel(to));
        }
    }
    return true;
}

bool ReplaceUnderlyingAction::perform()
{
    storeModified();
    auto* item = itemOf(loop);
    if (item == nullptr)
        return false;
    oldName = toText(item->GetUnderlyingName());
    replace(oldName, newName);
    engine.setSongModified(true);
    return true;
}

bool ReplaceUnderlyingAction::undo()
{
    auto* item = itemOf(loop);
    if (item != nullptr)
    {
        newName = toText(item->GetUnderlyingName());
        replace(newName, oldName);
    }
    restoreModified();
    return item != nullptr;
}

// Rename ----------------------------------------------------------------------------------------

bool RenameLoopAction::rename(const juce::String& name)
{
    auto* song = engine.getCurrentSong();
    auto* item = itemOf(loop);
    if (item == nullptr)
        return false;
    GetCompositionsMgr()->RenameTrackItem(track, item, song->getLoopInstance(track, loop), toModel(name));
    song->setLoopName(track, loop, name);
    return true;
}

bool RenameLoopAction::perform()
{
    storeModified();
    auto* l = engine.getCurrentSong() != nullptr ? engine.getCurrentSong()->GetLoop(track, loop) : nullptr;
    if (l == nullptr)
        return false;
    oldName = l->name;
    rename(newName);
    engine.setSongModified(true);
    return true;
}

bool RenameLoopAction::undo()
{
    const bool done = rename(oldName);
    restoreModified();
    return done;
}

// Append a track --------------------------------------------------------------------------------

bool AppendTrackAction::perform()
{
    storeModified();
    track = engine.getTracks().appendTrack(instrumentName);
    return track >= 0;
}

bool AppendTrackAction::undo()
{
    const bool done = engine.getTracks().removeTrack(track);
    restoreModified();
    return done;
}
