#include "engine/NVMidiLoopReader.h"

#include <juce_audio_basics/juce_audio_basics.h>

bool NVMidiLoopReader::ReadFirstTrack(const std::string& path, std::vector<TWMIDIFileEvent>& events)
{
    events.clear();
    juce::FileInputStream in(juce::File(juce::String::fromUTF8(path.c_str())));
    if (!in.openedOk())
        return false;
    juce::MidiFile file;
    if (!file.readFrom(in) || file.getNumTracks() < 1)
        return false;
    const auto* track = file.getTrack(0);
    events.reserve((size_t) track->getNumEvents());
    for (const auto* holder : *track)
    {
        const auto& message = holder->message;
        TWMIDIFileEvent event;
        event.tick = (long long) message.getTimeStamp();
        event.bytes.assign(message.getRawData(), message.getRawData() + message.getRawDataSize());
        events.push_back(std::move(event));
    }
    return true;
}
