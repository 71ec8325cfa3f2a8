#pragma once
#include <juce_data_structures/juce_data_structures.h>

class NVManager;
class TWRhythmicSequence;

// The undoable arrangement edits. Each changes composition 0 first, then
// refills the run-time loops of its track from it. Each remembers the
// song-modified flag as it was when performed: `perform` sets the flag,
// `undo` puts the remembered value back. Loops are found again by their
// number when undone or redone, so an action stays valid when the loop's
// library item was replaced by a later edit that was itself undone.
class NVArrangementAction : public juce::UndoableAction
{
protected:
    NVArrangementAction(NVManager& engine, int track, int loop) : engine(engine), track(track), loop(loop) {}

    void storeModified();
    void restoreModified();
    TWRhythmicSequence* itemOf(int loopNumber) const;

    NVManager& engine;
    int track;
    int loop;
    bool storedModified = false;
};

class MoveLoopAction : public NVArrangementAction
{
public:
    MoveLoopAction(NVManager& engine, int track, int loop, int newX) : NVArrangementAction(engine, track, loop), newX(newX) {}
    bool perform() override;
    bool undo() override;
    int getLoop() const { return loop; }

private:
    bool moveTo(int x);

    int newX;
    int oldX = 0;
    TWRhythmicSequence* item = nullptr;
};

class ResizeLoopAction : public NVArrangementAction
{
public:
    ResizeLoopAction(NVManager& engine, int track, int loop, int newWidth)
        : NVArrangementAction(engine, track, loop), newWidth(newWidth) {}
    bool perform() override;
    bool undo() override;

private:
    bool resizeTo(int width);

    int newWidth;
    int oldWidth = 0;
};

class AddLoopAction : public NVArrangementAction
{
public:
    // `start` and `length` in quarter beats.
    AddLoopAction(NVManager& engine, int track, int start, int length, const juce::String& fileName,
                  const juce::String& loopName)
        : NVArrangementAction(engine, track, -1), start(start), length(length), fileName(fileName), loopName(loopName) {}
    bool perform() override;
    bool undo() override;
    // The loop's number once performed; -1 before and after an undo.
    int getLoop() const { return loop; }

private:
    int start;
    int length;
    juce::String fileName;
    juce::String loopName;
    TWRhythmicSequence* item = nullptr;
};

class DeleteLoopAction : public NVArrangementAction
{
public:
    DeleteLoopAction(NVManager& engine, int track, int loop) : NVArrangementAction(engine, track, loop) {}
    bool perform() override;
    bool undo() override;

private:
    int start = 0;
    int length = 0;
    juce::String fileName;
    juce::String loopName;
    bool wasSelected = false;
};

class ReplaceUnderlyingAction : public NVArrangementAction
{
public:
    ReplaceUnderlyingAction(NVManager& engine, int track, int loop, const juce::String& newName, bool updateAll)
        : NVArrangementAction(engine, track, loop), newName(newName), updateAll(updateAll) {}
    bool perform() override;
    bool undo() override;

private:
    // Gives the loop `to`; with "update all", also every item of the track named `from`.
    bool replace(const juce::String& from, const juce::String& to);

    juce::String newName;
    juce::String oldName;
    bool updateAll;
};

class RenameLoopAction : public NVArrangementAction
{
public:
    RenameLoopAction(NVManager& engine, int track, int loop, const juce::String& newName)
        : NVArrangementAction(engine, track, loop), newName(newName) {}
    bool perform() override;
    bool undo() override;

private:
    bool rename(const juce::String& name);

    juce::String newName;
    juce::String oldName;
};

class AppendTrackAction : public NVArrangementAction
{
public:
    AppendTrackAction(NVManager& engine, const juce::String& instrumentName)
        : NVArrangementAction(engine, -1, -1), instrumentName(instrumentName) {}
    bool perform() override;
    bool undo() override;
    int getTrack() const { return track; }

private:
    juce::String instrumentName;
};
