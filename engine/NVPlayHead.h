#pragma once
#include <juce_audio_basics/juce_audio_basics.h>

// The play position handed to plug-ins: a position in beats that advances with
// the millisecond counter at the current tempo.
class NVPlayHead : public juce::AudioPlayHead
{
public:
    NVPlayHead() = default;

    void start(double bpm);
    void start();
    double getCurrentPosition() const;
    void setNewPosition(double beats);
    void setNewBPM(double bpm);
    // Fills the position record: tempo, 4/4, time 0, ppq position and last bar start
    // both at the current position, everything else zero or false. Returns true.
    bool getCurrentPosition(juce::AudioPlayHead::PositionInfo& info) const;
    juce::Optional<juce::AudioPlayHead::PositionInfo> getPosition() const override;
    double getCurrentSample(double sampleRate) const;
    void addLatency(juce::uint32 ms) { startTime += ms; }

    double getTempo() const { return tempo; }
    double getTicksPerBeat() const { return ticksPerBeat; }
    juce::uint32 getStartTime() const { return startTime; }

private:
    static juce::uint32 now() { return juce::Time::getMillisecondCounter(); }

    juce::uint32 startTime = 0;
    double position = 0.0;
    double tempo = 120.0;
    double ticksPerBeat = 480.0;
};
