#include "sound/NVBuiltinEngine.h"

#include "sound/NVBuiltinEngineFormat.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr juce::int32 stateMagic = 0x4e564245; // "NVBE"
constexpr juce::int32 stateVersion = 1;
constexpr double defaultSampleRate = 44100.0;
constexpr int defaultBlockSize = 512;
} // namespace

NVBuiltinEngine::NVBuiltinEngine (const juce::String& name, const juce::String& file,
                                  int numVoices, std::vector<NVProgramShape> programShapes)
    : juce::AudioPluginInstance (BusesProperties()
                                     .withInput ("Input", juce::AudioChannelSet::mono(), true)
                                     .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      engineName (name),
      fileOrIdentifier (file),
      programs (std::move (programShapes)),
      voices ((size_t) std::max (1, numVoices)),
      mixLeft ((size_t) chunkSize, 0.0f),
      mixRight ((size_t) chunkSize, 0.0f)
{
    if (programs.empty())
        programs.push_back (NVProgramShape {});
    setRateAndBufferSizeDetails (defaultSampleRate, defaultBlockSize);
    for (auto& v : voices)
        v.setSampleRate ((float) defaultSampleRate);
    gainSmoothing = 1.0f - std::exp (-1.0f / (0.005f * (float) defaultSampleRate));
    updateTargetGains();
    gainLeft = targetLeft;
    gainRight = targetRight;
}

NVBuiltinEngine::~NVBuiltinEngine() = default;

void NVBuiltinEngine::fillInPluginDescription (juce::PluginDescription& d) const
{
    NVBuiltinEngineFormat::describeEngine (engineName, fileOrIdentifier, d);
}

bool NVBuiltinEngine::isBusesLayoutSupported (const BusesLayout& layout) const
{
    if (layout.getMainOutputChannelSet() != juce::AudioChannelSet::stereo())
        return false;
    const auto in = layout.getMainInputChannelSet();
    return in.isDisabled() || in == juce::AudioChannelSet::mono();
}

void NVBuiltinEngine::prepareToPlay (double sampleRate, int maximumBlockSize)
{
    const double rate = sampleRate > 0 ? sampleRate : defaultSampleRate;
    setRateAndBufferSizeDetails (rate, maximumBlockSize > 0 ? maximumBlockSize : defaultBlockSize);
    for (auto& v : voices)
        v.setSampleRate ((float) rate);
    gainSmoothing = 1.0f - std::exp (-1.0f / (0.005f * (float) rate));
    prepareEffects (rate);
    reset();
}

void NVBuiltinEngine::reset()
{
    for (auto& v : voices)
        v.kill();
    resetEffects();
    sustainPedal = false;
    std::fill (std::begin (heldBySustain), std::end (heldBySustain), false);
    gainLeft = targetLeft;
    gainRight = targetRight;
}

int NVBuiltinEngine::getNumActiveVoices() const noexcept
{
    return (int) std::count_if (voices.begin(), voices.end(), [] (const auto& v) { return v.isActive(); });
}

//==============================================================================
void NVBuiltinEngine::setCurrentProgram (int index)
{
    if (index >= 0 && index < (int) programs.size())
        currentProgram = index;
}

const juce::String NVBuiltinEngine::getProgramName (int index)
{
    if (index >= 0 && index < (int) programs.size())
        return programs[(size_t) index].name;
    return {};
}

void NVBuiltinEngine::getStateInformation (juce::MemoryBlock& destData)
{
    destData.reset();
    juce::MemoryOutputStream out (destData, false);
    out.writeInt (stateMagic);
    out.writeInt (stateVersion);
    out.writeString (engineName);
    out.writeInt (currentProgram);
    out.writeInt (volumeCc);
    out.writeInt (panCc);
    out.writeFloat (bendRange);
}

void NVBuiltinEngine::setStateInformation (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes < 8)
        return;
    juce::MemoryInputStream in (data, (size_t) sizeInBytes, false);
    if (in.readInt() != stateMagic || in.readInt() != stateVersion)
        return;
    const auto name = in.readString();
    if (in.getNumBytesRemaining() != 4 * 4)
        return;
    const int program = in.readInt();
    const int volume = in.readInt();
    const int pan = in.readInt();
    const float range = in.readFloat();
    // Anything short, foreign or out of range leaves the engine as it was.
    if (in.getPosition() != (juce::int64) sizeInBytes || name != engineName
        || program < 0 || program >= (int) programs.size()
        || volume < 0 || volume > 127 || pan < 0 || pan > 127
        || ! std::isfinite (range) || range < 0 || range > 96)
        return;
    currentProgram = program;
    volumeCc = volume;
    panCc = pan;
    bendRange = range;
    updateTargetGains();
}

//==============================================================================
void NVBuiltinEngine::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    juce::ScopedNoDenormals noDenormals;
    const int numSamples = buffer.getNumSamples();
    buffer.clear();

    int position = 0;
    for (const auto meta : midi)
    {
        const int eventPos = std::clamp (meta.samplePosition, 0, numSamples);
        if (eventPos > position)
        {
            renderRange (buffer, position, eventPos - position);
            position = eventPos;
        }
        if (meta.numBytes <= 3) // channel messages only; system-exclusive data is not for us
            handleMessage (meta.getMessage());
    }
    if (position < numSamples)
        renderRange (buffer, position, numSamples - position);
}

void NVBuiltinEngine::renderRange (juce::AudioBuffer<float>& buffer, int start, int numSamples) noexcept
{
    const float bendRatio = std::exp2 (bendRange * (float) (bendValue - 8192) / 8192.0f / 12.0f);
    const int channels = buffer.getNumChannels();
    while (numSamples > 0)
    {
        const int n = std::min (numSamples, chunkSize);
        std::fill_n (mixLeft.data(), n, 0.0f);
        std::fill_n (mixRight.data(), n, 0.0f);
        for (auto& v : voices)
            if (v.isActive())
                v.render (mixLeft.data(), mixRight.data(), n, bendRatio);
        renderEffects (mixLeft.data(), mixRight.data(), n);

        float* outL = channels > 0 ? buffer.getWritePointer (0, start) : nullptr;
        float* outR = channels > 1 ? buffer.getWritePointer (1, start) : nullptr;
        for (int i = 0; i < n; ++i)
        {
            gainLeft += gainSmoothing * (targetLeft - gainLeft);
            gainRight += gainSmoothing * (targetRight - gainRight);
            const float l = mixLeft[(size_t) i] * gainLeft;
            const float r = mixRight[(size_t) i] * gainRight;
            if (outR != nullptr)
            {
                outL[i] = l;
                outR[i] = r;
            }
            else if (outL != nullptr)
            {
                outL[i] = 0.5f * (l + r);
            }
        }
        start += n;
        numSamples -= n;
    }
}

void NVBuiltinEngine::updateTargetGains() noexcept
{
    // Volume follows the usual squared law with 100 as unity; pan is constant-power.
    const float v = (float) volumeCc / 100.0f;
    const float volume = v * v;
    const float position = panCc <= 64 ? (float) panCc / 128.0f : 0.5f + (float) (panCc - 64) / 126.0f;
    const float angle = std::clamp (position, 0.0f, 1.0f) * 0.5f * nvdsp::pi;
    targetLeft = volume * std::cos (angle) * 1.41421356f;
    targetRight = volume * std::sin (angle) * 1.41421356f;
    // Glide to new settings while notes sound; with nothing sounding, take them at once.
    if (getNumActiveVoices() == 0)
    {
        gainLeft = targetLeft;
        gainRight = targetRight;
    }
}

//==============================================================================
void NVBuiltinEngine::handleMessage (const juce::MidiMessage& m) noexcept
{
    if (m.isNoteOn())
        noteOn (m.getNoteNumber(), m.getFloatVelocity());
    else if (m.isNoteOff())
        noteOff (m.getNoteNumber());
    else if (m.isController())
        handleController (m.getControllerNumber(), m.getControllerValue());
    else if (m.isPitchWheel())
        bendValue = m.getPitchWheelValue();
    else if (m.isProgramChange())
        setCurrentProgram (m.getProgramChangeNumber());
}

void NVBuiltinEngine::handleController (int number, int value) noexcept
{
    switch (number)
    {
        case 7:   volumeCc = value; updateTargetGains(); break;
        case 10:  panCc = value; updateTargetGains(); break;
        case 101: rpnMsb = value; break;
        case 100: rpnLsb = value; break;
        case 6:
            if (rpnMsb == 0 && rpnLsb == 0)
                bendRange = (float) value;
            break;
        case 38:
            if (rpnMsb == 0 && rpnLsb == 0)
                bendRange = std::floor (bendRange) + (float) value / 100.0f;
            break;
        case 64:
            sustainPedal = value >= 64;
            if (! sustainPedal)
                for (int note = 0; note < 128; ++note)
                    if (std::exchange (heldBySustain[note], false))
                        noteOff (note);
            break;
        case 120:
            for (auto& v : voices)
                v.fastRelease (0.004f);
            silenceEffects();
            break;
        case 121:
            bendValue = 8192;
            sustainPedal = false;
            break;
        case 123:
            sustainPedal = false;
            std::fill (std::begin (heldBySustain), std::end (heldBySustain), false);
            for (auto& v : voices)
                if (! v.ignoresNoteOff())
                    v.noteOff();
            break;
        default: break;
    }
}

void NVBuiltinEngine::noteOn (int note, float velocity) noexcept
{
    NVNoteStart start;
    start.patch = findPatch (note, start.hz);
    if (start.patch == nullptr)
        return;
    start.note = note;
    start.velocity = velocity;
    start.shape = programs[(size_t) currentProgram];
    heldBySustain[note] = false;

    // A closed stroke damps its heads; striking a head again (or the same key) lets the
    // earlier sound fade rather than pile up.
    const int damps = start.patch->damps, heads = start.patch->heads;
    for (auto& v : voices)
    {
        if (! v.isActive() || v.isStealing())
            continue;
        if ((damps & v.getHeads()) != 0)
            v.fastRelease (0.03f);
        else if (v.getNote() == note && ! v.isReleasing())
            v.fastRelease (retriggerFadeSeconds());
        else if ((heads & v.getHeads()) != 0 && ! v.isReleasing())
            v.fastRelease (0.25f);
    }

    NVBuiltinVoice* target = nullptr;
    for (auto& v : voices)
        if (! v.isActive())
        {
            target = &v;
            break;
        }
    if (target != nullptr)
    {
        target->start (start, ++noteCounter);
        return;
    }
    // Steal the oldest releasing voice, or else the oldest voice.
    for (auto& v : voices)
        if (v.isReleasing() && ! v.isStealing() && (target == nullptr || v.getOrder() < target->getOrder()))
            target = &v;
    if (target == nullptr)
        for (auto& v : voices)
            if (target == nullptr || v.getOrder() < target->getOrder())
                target = &v;
    target->steal (start, ++noteCounter);
}

void NVBuiltinEngine::noteOff (int note) noexcept
{
    if (sustainPedal)
    {
        heldBySustain[note] = true;
        return;
    }
    for (auto& v : voices)
        if (v.isActive() && v.getNote() == note && ! v.ignoresNoteOff())
            v.noteOff();
}
