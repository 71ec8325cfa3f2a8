#pragma once

#include "ModelTestSupport.h"

#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWSettings.h"

#include <functional>
#include <string>
#include <vector>

class TWRhythmicCycle;

// Writing model files by hand: an object ":" id "{" guts "}", a string and a
// fraction each as a new object.
void Obj(RWvostream& s, unsigned short id, const std::function<void()>& guts);
void Str(RWvostream& s, const char* text);
void Frac(RWvostream& s, int value);

// A fresh user folder with the preferences' folders under it and a new song
// in slot 0.
class CompositionTest : public UserFolderTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    TWCompositionsMgr& Mgr() { return *GetCompositionsMgr(); }
    TWComposition& Song() { return *Mgr().GetComposition(0); }
    // The song as the New command makes it: two "Audio" tracks, a loop of
    // 16 quarter beats on track 0 and one of 4 on track 1.
    void MakeSoundtrackSong();
    // A loop added as the engine adds one: placed, given its file and name.
    TWRhythmicCycle* AddLoop(int track, int start, int length, const char* name, const char* file = "");
    // (start, end) of each loop of the track, in quarter beats.
    std::vector<std::pair<int, int>> Spans(int track);
    std::string SongPath(const std::string& name) const { return mHome + "/" + name; }
};
