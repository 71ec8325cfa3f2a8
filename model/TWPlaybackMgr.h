#pragma once

#include "model/TWMIDIPatch.h"
#include "persist/RWOrdered.h"

#include <string>

class RWCollectable;

// The instrument table: the 42 built-in instruments and the user's entries
// of "Instruments.dat" (which override a built-in entry with the same key or
// add an instrument). Also answers the playback calls of the composition
// model with fixed results: the run-time engine does the playing.
class TWPlaybackMgr
{
public:
    static constexpr const char* kVersionTag = "QN313";
    static constexpr const char* kFileName = "Instruments.dat";

    // The built-in table, then "Instruments.dat" of the user data folder.
    TWPlaybackMgr();
    // Does not write the file: the engine calls SavePatches() at exit.
    ~TWPlaybackMgr();
    TWPlaybackMgr(const TWPlaybackMgr&) = delete;
    TWPlaybackMgr& operator=(const TWPlaybackMgr&) = delete;

    // The main list, in table order with the user's entries in place: one
    // TWMIDIPatch per instrument of the engine's list.
    const RWOrdered& GetMainList() const { return mMainList; }
    const RWOrdered& GetUserList() const { return mUserList; }
    std::size_t GetPatchCount() const { return mMainList.entries(); }
    TWMIDIPatch* GetPatch(std::size_t index) const;

    void CreateDefaultPatches();
    TWMIDIPatch* AddMIDIPatch(const char* name, short bank, short subBank, short slot, short program,
                              const char* folder, bool drumKit, short reservedShort, int reservedInt,
                              const char* engineName, const char* photo, const char* extension);

    // Reads "Instruments.dat" of the user data folder (or `path`) and applies
    // its entries. False when the file is missing, newer than this program or
    // damaged; the entries read before damage are applied.
    bool LoadPatches();
    bool LoadPatchesFrom(const std::string& path);
    // Writes the tag and the user list to "Instruments.dat" (or `path`),
    // replacing the file. A file that was there but could not be read is
    // kept (false): the user's entries would be lost otherwise.
    bool SavePatches() const;
    bool SavePatchesTo(const std::string& path) const;
    static std::string GetPatchesPath();

    TWMIDIPatch* GetMIDIPatch(short bank, short subBank, short slot) const;
    // Exact name, else the first name containing `name` (case-sensitive).
    TWMIDIPatch* GetDefaultPatch(const RWCString& name) const;
    // Inserts a copy before the first entry whose name compares greater.
    TWMIDIPatch* InsertCustomPatchInList(const TWMIDIPatch& patch);
    // Adds a user entry (kept in the user list, applied to the main list).
    void AddUserPatch(const TWMIDIPatch& patch);
    void ClearMIDIPatches();

    // Fixed answers of the playback calls.
    bool StopCurrentComposition() { return true; }
    bool PreparePlayback() { return true; }
    bool StartPlaybackSession() { return true; }
    bool AllNotesOff() { return true; }
    bool PlayComposition() { return true; }
    bool StopComposition() { return true; }
    bool isPlaying() const { return false; }
    bool isTrackPlaying(int) const { return false; }
    int SaveMIDIParms() { return 0; }
    void PausePlayback() {}
    void ResumePlayback() {}
    void RewindPlayback() {}
    void SyncToCursor() {}
    // Asks the composition to refresh its MIDI tracks; false without one.
    // The composition registers how through SetMIDIRefresher.
    bool GenerateMIDIFile(RWCollectable* composition, const std::string& path, bool flag);
    using MIDIRefresher = bool (*)(RWCollectable* composition);
    static void SetMIDIRefresher(MIDIRefresher refresher);

private:
    void ApplyUserPatch(const TWMIDIPatch& patch);

    RWOrdered mMainList; // owns its patches
    RWOrdered mUserList; // owns its patches
    bool mKeepUnreadFile = false;
};

TWPlaybackMgr* GetPlaybackMgr();
