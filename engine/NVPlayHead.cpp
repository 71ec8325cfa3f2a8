#include "engine/NVPlayHead.h"

void NVPlayHead::start(double bpm)
{
    startTime = now();
    tempo = bpm;
}

void NVPlayHead::start()
{
    startTime = now();
}

double NVPlayHead::getCurrentPosition() const
{
    const auto elapsed = (double) (juce::int32) (now() - startTime);
    return elapsed * tempo / 60000.0 + position;
}

void NVPlayHead::setNewPosition(double beats)
{
    position = beats;
    startTime = now();
}

void NVPlayHead::setNewBPM(double bpm)
{
    position = getCurrentPosition();
    tempo = bpm;
    startTime = now();
}

bool NVPlayHead::getCurrentPosition(juce::AudioPlayHead::PositionInfo& info) const
{
    info = {};
    const double beats = getCurrentPosition();
    info.setBpm(tempo);
    info.setTimeSignature(juce::AudioPlayHead::TimeSignature { 4, 4 });
    info.setTimeInSeconds(0.0);
    info.setTimeInSamples(0);
    info.setPpqPosition(beats);
    info.setPpqPositionOfLastBarStart(beats);
    info.setIsPlaying(false);
    info.setIsRecording(false);
    info.setIsLooping(false);
    return true;
}

juce::Optional<juce::AudioPlayHead::PositionInfo> NVPlayHead::getPosition() const
{
    juce::AudioPlayHead::PositionInfo info;
    getCurrentPosition(info);
    return info;
}

double NVPlayHead::getCurrentSample(double sampleRate) const
{
    return sampleRate * (double) (juce::int32) (now() - startTime) / 1000.0;
}
