#include "engine/NVTrack.h"

NVTrack::NVTrack(int trackIndex) : index(trackIndex) {}

NVTrack::~NVTrack()
{
    loops.clear();
    events.clear();
    eventIndex.clear();
    effects.clear();
    if (ownsPlugin())
    {
        const juce::ScopedLock sl(lock);
        if (plugin != nullptr)
        {
            plugin->suspendProcessing(true);
            plugin->reset();
            delete plugin;
            plugin = nullptr;
        }
    }
}

void NVTrack::clearEvents()
{
    events.clear();
    eventIndex.clear();
}

void NVTrack::processSlice(juce::int64, juce::int64, juce::AudioBuffer<float>&, juce::MidiBuffer&) {}

void NVTrack::allNotesOff(juce::AudioBuffer<float>&) {}

int NVTrack::addLoop(TWRhythmicSequence* item, const juce::String& name, int start, int end)
{
    loops.push_back(std::make_unique<NVLoop>(item, name, start, end));
    return (int) loops.size();
}

NVLoop* NVTrack::getLoop(int i) const
{
    return juce::isPositiveAndBelow(i, (int) loops.size()) ? loops[(size_t) i].get() : nullptr;
}

NVLoop* NVTrack::getLoopAt(int quarterBeat) const
{
    for (auto& loop : loops)
        if (loop->contains(quarterBeat))
            return loop.get();
    return nullptr;
}

int NVTrack::getNextFreeSignature(int from, int length) const
{
    int answer = from;
    for (auto& loop : loops)
    {
        if (loop->start <= from)
        {
            // A loop already covering `from` pushes the answer past its end, so the
            // place found never lies inside another loop.
            answer = juce::jmax(answer, loop->end);
            continue;
        }
        if (loop->start - answer >= length)
            return answer;
        answer = juce::jmax(answer, loop->end);
    }
    return answer;
}

void NVTrack::indexEvent(juce::int64 tick, int position)
{
    juce::int64 key = tick * 100;
    while (eventIndex.count(key) != 0)
        ++key;
    eventIndex[key] = position;
}

int NVTrack::addMessage(const juce::MidiMessage& message)
{
    const int count = events.getNumEvents();
    const bool inOrder = count == 0 || events.getEventTime(count - 1) <= message.getTimeStamp();
    events.addEvent(message);
    if (inOrder)
        indexEvent((juce::int64) message.getTimeStamp(), count);
    else
        resequenceMap(); // an earlier event shifted the later positions
    return events.getNumEvents();
}

int NVTrack::addMessage(juce::int64 tick, int status, int note, int velocity)
{
    const bool noteOff = velocity == 0 || (status >= 0x80 && status <= 0x8F);
    auto message = noteOff ? juce::MidiMessage::noteOff(1, note, (juce::uint8) 0)
                           : juce::MidiMessage::noteOn(1, note, (juce::uint8) juce::jlimit(1, 127, velocity));
    message.setTimeStamp((double) tick);
    return addMessage(message);
}

void NVTrack::resequenceMap()
{
    eventIndex.clear();
    for (int i = 0; i < events.getNumEvents(); ++i)
        indexEvent((juce::int64) events.getEventTime(i), i);
}

void NVTrack::setPlugin(juce::AudioPluginInstance* instance, double sampleRate, int blockSize)
{
    juce::AudioPluginInstance* previous = nullptr;
    {
        const juce::ScopedLock sl(lock);
        previous = plugin;
        plugin = instance;
        if (plugin != nullptr && sampleRate > 0.0)
            plugin->prepareToPlay(sampleRate, blockSize);
    }
    if (ownsPlugin() && previous != instance)
        delete previous;
}

namespace
{
    int channelsNeeded(const juce::AudioProcessor& processor)
    {
        return juce::jmax(processor.getTotalNumInputChannels(), processor.getTotalNumOutputChannels());
    }
}

void NVTrack::prepareToPlay(double sampleRate, int blockSize)
{
    preparedBlockSize = juce::jmax(1, blockSize);
    int channels = 2;
    {
        const juce::ScopedLock sl(lock);
        if (plugin != nullptr)
        {
            plugin->prepareToPlay(sampleRate, blockSize);
            channels = juce::jmax(channels, channelsNeeded(*plugin));
        }
    }
    scratch.setSize(channels, preparedBlockSize, false, true, true);
    midiScratch.ensureSize(4096);
    effectMidi.ensureSize(256);
    effectScratch.clear();
    for (auto* effect : effects)
    {
        effect->prepareToPlay(sampleRate, blockSize);
        effectScratch.add(new juce::AudioBuffer<float>(channelsNeeded(*effect), preparedBlockSize));
    }
}

void NVTrack::addEffect(juce::AudioPluginInstance* instance)
{
    if (instance == nullptr)
        return;
    effects.add(instance);
    effectScratch.add(new juce::AudioBuffer<float>(channelsNeeded(*instance), preparedBlockSize));
}

void NVTrack::removeEffect(int i)
{
    effects.remove(i);
    effectScratch.remove(i);
}

juce::AudioBuffer<float>& NVTrack::getScratch(int channels, int numSamples)
{
    int outputs = channels;
    if (channels < 0)
    {
        outputs = plugin != nullptr ? plugin->getTotalNumOutputChannels() : 0;
        channels = plugin != nullptr ? channelsNeeded(*plugin) : 0;
    }
    scratch.setSize(channels, numSamples, false, false, true);
    scratch.clear();
    scratchOutputs = outputs;
    return scratch;
}

void NVTrack::processEffects(juce::AudioBuffer<float>& buffer)
{
    const int n = buffer.getNumSamples();
    for (int i = 0; i < effects.size(); ++i)
    {
        auto* effect = effects.getUnchecked(i);
        effectMidi.clear();
        const int channels = channelsNeeded(*effect);
        if (effect->getTotalNumOutputChannels() == buffer.getNumChannels() && channels == buffer.getNumChannels())
        {
            effect->processBlock(buffer, effectMidi);
            continue;
        }
        auto* own = effectScratch[i];
        if (own == nullptr)
            continue;
        own->setSize(channels, n, false, false, true);
        own->clear();
        const int shared = juce::jmin(effect->getTotalNumOutputChannels(), buffer.getNumChannels(), channels);
        for (int c = 0; c < shared; ++c)
            own->copyFrom(c, 0, buffer, c, 0, n);
        effect->processBlock(*own, effectMidi);
        for (int c = 0; c < shared; ++c)
            buffer.copyFrom(c, 0, *own, c, 0, n);
    }
}

void NVTrack::AddMIDIEvent(long long tick, int status, int data1, int data2)
{
    if (status >= 0x80 && status <= 0x9F)
    {
        addMessage((juce::int64) tick, status, data1, data2);
        return;
    }
    auto message = juce::MidiMessage(status, data1 & 0x7F, data2 & 0x7F, (double) tick);
    addMessage(message);
}

void NVTrack::AddMIDIMessage(long long tick, const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size == 0)
        return;
    addMessage(juce::MidiMessage(data, (int) size, (double) tick));
}

bool NVTrack::AddAudioLoop(std::uint64_t, std::uint64_t, const std::string&)
{
    return false;
}
