#include "engine/NVMidiTrack.h"

#include "sound/NVInstrument.h"

juce::String NVMidiTrack::getPluginState()
{
    const juce::ScopedLock sl(lock);
    if (plugin == nullptr)
        return {};
    juce::MemoryBlock block;
    plugin->getStateInformation(block);
    return block.toBase64Encoding();
}

bool NVMidiTrack::setPluginState(const juce::String& base64)
{
    juce::MemoryBlock block;
    if (!block.fromBase64Encoding(base64))
        return false;
    const juce::ScopedLock sl(lock);
    if (plugin == nullptr)
        return false;
    plugin->setStateInformation(block.getData(), (int) block.getSize());
    return true;
}

void NVMidiTrack::buildBlockMidi(juce::int64 fromTick, juce::int64 toTick, int numSamples)
{
    auto& out = midiScratch;
    out.clear();
    out.addEvent(juce::MidiMessage::controllerEvent(1, 10, (int) (127.0f * pan)), 0);
    // A pitch-bend range of 8 semitones, then the parameter selection closed.
    out.addEvent(juce::MidiMessage::controllerEvent(1, 101, 0), 0);
    out.addEvent(juce::MidiMessage::controllerEvent(1, 100, 0), 0);
    out.addEvent(juce::MidiMessage::controllerEvent(1, 6, 8), 0);
    out.addEvent(juce::MidiMessage::controllerEvent(1, 101, 127), 0);
    out.addEvent(juce::MidiMessage::controllerEvent(1, 100, 127), 0);

    const bool drumKit = instrument != nullptr && instrument->drumKit;
    if (drumKit)
        out.addEvent(juce::MidiMessage::pitchWheel(1, juce::jlimit(0, 16383, pitchShift * 16383 / 16 + 8191)), 0);

    const auto span = toTick - fromTick;
    for (auto it = eventIndex.lower_bound(fromTick * 100); it != eventIndex.end() && it->first < toTick * 100; ++it)
    {
        auto* holder = events.getEventPointer(it->second);
        if (holder == nullptr)
            continue;
        const auto& message = holder->message;
        const auto tick = (juce::int64) message.getTimeStamp();
        const int offset = (int) ((juce::int64) numSamples * (tick - fromTick) / span);
        if (message.isNoteOnOrOff())
        {
            if (pitchShift != 0 && !drumKit)
            {
                const int note = message.getNoteNumber() + pitchShift;
                if (!juce::isPositiveAndBelow(note, 128))
                    continue;
                auto shifted = message;
                shifted.setNoteNumber(note);
                out.addEvent(shifted, offset);
            }
            else
            {
                out.addEvent(message, offset);
            }
        }
        else if (message.isPitchWheel())
        {
            if (!(pitchShift != 0 && drumKit))
                out.addEvent(message, offset);
        }
        else if (message.isControllerOfType(7) || message.isControllerOfType(11))
        {
            lastVolume = (float) message.getControllerValue();
        }
    }

    const int volumeValue = juce::jmin(127, (int) (80.0f * volume * lastVolume / 127.0f) + 60);
    out.addEvent(juce::MidiMessage::controllerEvent(1, 7, volumeValue), 0);
}

void NVMidiTrack::processSlice(juce::int64 fromTick, juce::int64 toTick,
                               juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    if (mute || eventIndex.empty() || toTick <= fromTick)
        return;

    buildBlockMidi(fromTick, toTick, buffer.getNumSamples());
    {
        const juce::ScopedLock sl(lock);
        if (plugin == nullptr)
            return;
        plugin->processBlock(buffer, midiScratch);
    }
    processEffects(buffer);
    level = juce::jmin(42, (int) (buffer.getMagnitude(0, buffer.getNumSamples()) * 42.0f));
}
