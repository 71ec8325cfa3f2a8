#include "tests/support/NVDemoSong.h"

#include "engine/NVAudioTrack.h"
#include "engine/NVMidiTrack.h"
#include "sound/NVBuiltinEngineFormat.h"
#include "tests/support/NVTestEnvironment.h"

#include <cmath>

namespace
{
    float tone(int channel, int i) { return 0.2f * std::sin(0.05f * (float) i + (float) channel); }
}

NVDemoSong::NVDemoSong(const juce::File& folder, double sampleRate, int blockSize)
    : song(std::make_unique<NVSong>(0.9f, "", 0.0f, 120, 4))
{
    kit.drumKit = true;
    const auto soundtrack = folder.getChildFile("soundtrack.wav");
    const auto take = folder.getChildFile("take.aif");
    valid = NVTest::writeAudioFile(soundtrack, 2, 600000, sampleRate, tone)
            && NVTest::writeAudioFile(take, 1, 200000, sampleRate, tone);

    auto* track0 = new NVAudioTrack(0);
    song->appendTrack(track0);
    track0->addAudioFile(0, 600000, soundtrack.getFullPathName());
    auto* voice = new NVAudioTrack(1);
    song->appendTrack(voice);
    voice->addAudioFile(1000, 201000, take.getFullPathName());
    voice->addAudioFile(300000, 500000, take.getFullPathName());

    for (const char* name : { "Tabla", "Dholak", "Sitar", "Harmonium" })
    {
        auto* track = new NVMidiTrack();
        song->appendTrack(track);
        const bool isKit = NVBuiltinEngineFormat::isPercussionEngine(name);
        track->setInstrument(isKit ? &kit : &keys);
        track->setPitchShift(isKit ? 2 : -1);
        track->setPlugin(NVBuiltinEngineFormat::createEngine(name, name).release(), sampleRate, blockSize);
        for (int beat = 0; beat < 64; ++beat)
        {
            const int note = isKit ? 36 + beat % 12 : 48 + beat % 24;
            track->addMessage(beat * 480, 0x90, note, 90);
            auto cc = juce::MidiMessage::controllerEvent(1, 11, 100);
            cc.setTimeStamp(beat * 480 + 100);
            track->addMessage(cc);
            track->addMessage(beat * 480 + 240, 0x80, note, 0);
        }
    }
    song->prepareToPlay(sampleRate, blockSize);
}
