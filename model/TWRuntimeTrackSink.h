#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What a composition track fills when its events are regenerated: the
// run-time track of the song. The engine implements it and points the
// composition track at its run-time track (TWInstrumentTrack::SetRuntimeTrack)
// before it asks for the events; the model never sees the engine's types.
class TWRuntimeTrackSink
{
public:
    virtual ~TWRuntimeTrackSink() = default;
    // A channel message at `tick` (480 per beat).
    virtual void AddMIDIEvent(long long tick, int status, int data1, int data2) = 0;
    // Any other message (controllers, meta events, ...) given as its bytes,
    // stamped with `tick`.
    virtual void AddMIDIMessage(long long tick, const std::uint8_t* data, std::size_t size) = 0;
    // An audio clip from sample `start` to sample `end` playing `path`; false
    // when the run-time track takes no audio.
    virtual bool AddAudioLoop(std::uint64_t start, std::uint64_t end, const std::string& path) = 0;
    // The sample rate audio loop positions are computed at: the device's, or
    // 44100 when no device is open.
    virtual int GetClipSampleRate() const { return 44100; }
};
