#include "sound/NVBuiltinVoice.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int lineSize = 8192;           // holds a period of 24 Hz at 192 kHz
constexpr float silenceLevel = 1.0e-4f;
constexpr float stealSeconds = 0.003f;
} // namespace

NVBuiltinVoice::NVBuiltinVoice() : line ((size_t) lineSize, 0.0f)
{
    nvdsp::SineTable::warmUp();
}

void NVBuiltinVoice::setSampleRate (float newRate)
{
    sampleRate = newRate > 0 ? newRate : 44100.0f;
    kill();
}

void NVBuiltinVoice::kill()
{
    stage = Stage::idle;
    level = 0;
    patch = nullptr;
    pending.patch = nullptr;
}

void NVBuiltinVoice::steal (const NVNoteStart& note, uint32_t newOrder)
{
    if (stage == Stage::idle || level <= silenceLevel)
    {
        start (note, newOrder);
        return;
    }
    pending = note;
    pendingOrder = newOrder;
    order = newOrder;
    fadeStep = level / std::max (1.0f, stealSeconds * sampleRate);
    stage = Stage::stealFade;
}

void NVBuiltinVoice::noteOff()
{
    if (stage == Stage::idle || stage == Stage::stealFade || stage == Stage::release)
        return;
    stage = Stage::release;
}

void NVBuiltinVoice::fastRelease (float seconds)
{
    if (stage == Stage::idle || stage == Stage::stealFade)
        return;
    releaseMult = std::min (releaseMult, nvdsp::decayFactor (seconds, sampleRate));
    stage = Stage::release;
}

void NVBuiltinVoice::start (const NVNoteStart& note, uint32_t newOrder)
{
    patch = note.patch;
    if (patch == nullptr)
    {
        kill();
        return;
    }
    current = note;
    order = newOrder;
    tuneRatio = std::exp2 (note.shape.tuneSemis / 12.0f);
    const auto& p = *patch;
    const float vel = std::clamp (note.velocity, 0.0f, 1.0f);
    velocityGain = p.gain * (0.12f + 0.88f * vel * std::sqrt (vel));
    bright = note.shape.brightScale * (0.55f + 0.6f * vel);

    const float angle = (std::clamp (p.pan, -1.0f, 1.0f) + 1.0f) * 0.25f * nvdsp::pi;
    panLeft = std::cos (angle) * 1.41421356f;
    panRight = std::sin (angle) * 1.41421356f;

    stage = Stage::attack;
    level = 0;
    attackStep = 1.0f / std::max (1.0f, std::max (p.attack, 0.001f) * sampleRate);
    const bool sustained = p.model == NVSynthModel::analog || p.model == NVSynthModel::fm;
    sustainLevel = sustained ? p.sustain : 1.0f;
    decayMult = nvdsp::decayFactor (std::max (p.decay, 0.001f), sampleRate);
    releaseMult = nvdsp::decayFactor (std::max (p.release, 0.005f), sampleRate);
    samplesPlayed = 0;
    noise.seed ((uint32_t) (note.note * 7919 + (int) newOrder * 104729 + 1));

    noiseAmp = p.noiseGain;
    noiseMult = nvdsp::decayFactor (p.noiseDecay * note.shape.decayScale, sampleRate);
    noiseFilter.clear();
    noiseFilter.set (p.noiseHz * std::sqrt (note.shape.brightScale), p.noiseQ, sampleRate);
    grainEnv = 0;
    grainCountdown = 0;
    grainMult = nvdsp::decayFactor (p.rattleDecay, sampleRate);
    clickAmp = p.clickGain;
    clickMult = nvdsp::decayFactor (0.004f, sampleRate);

    switch (p.model)
    {
        case NVSynthModel::modal:  setUpModal(); break;
        case NVSynthModel::pluck:  setUpPluck(); break;
        case NVSynthModel::analog: setUpAnalog(); break;
        case NVSynthModel::fm:     setUpFm(); break;
    }
}

void NVBuiltinVoice::setUpModal()
{
    const auto& p = *patch;
    const float tune = std::exp2 (current.shape.tuneSemis / 12.0f);
    // Low notes of pitched instruments ring longer than high ones.
    const float pitchDecay = p.pitched ? std::clamp (std::sqrt (261.63f / current.hz), 0.4f, 2.5f) : 1.0f;
    numModes = 0;
    for (int layer = 0; layer < 2; ++layer)
    {
        const auto& set = p.modes[layer];
        const float base = (p.pitched ? current.hz * set.hz : set.hz) * tune;
        glideDepth[layer] = std::exp2 (set.glideSemis / 12.0f) - 1.0f;
        glideEnv[layer] = 1.0f;
        glideMult[layer] = std::exp (-1.0f / (std::max (set.glideTime, 0.001f) * sampleRate));
        for (int m = 0; m < set.count && numModes < maxModes; ++m)
        {
            const float hz = base * set.ratio[m];
            if (hz <= 0 || hz >= sampleRate * 0.45f)
                continue;
            // Higher modes fade faster on soft strokes; a brighter program keeps them.
            const float rank = (float) m / (float) NVModeSet::maxModes;
            const float tilt = std::pow (std::min (bright, 1.4f), rank * 3.0f);
            modePhase[numModes] = 0.0f;
            modeInc[numModes] = hz / sampleRate;
            modeAmp[numModes] = set.gain[m] * tilt;
            modeMult[numModes] = nvdsp::decayFactor (set.decay[m] * current.shape.decayScale * pitchDecay, sampleRate);
            modeLayer[numModes] = layer;
            ++numModes;
        }
    }
}

void NVBuiltinVoice::setUpPluck()
{
    const auto& p = *patch;
    const float hz = current.hz * std::exp2 (current.shape.tuneSemis / 12.0f);
    delay = std::clamp (sampleRate / hz, 4.0f, (float) lineSize / 2 - 4);
    const float ring = p.ringTime * current.shape.decayScale * std::sqrt (261.63f / hz);
    loopGain = std::pow (10.0f, -3.0f / (std::max (ring, 0.05f) * hz));
    // Short (high) strings lose less per pass, or their top notes would die in the attack.
    loopDamp = std::clamp (0.5f - 0.45f * p.brightness * bright, 0.02f, 0.5f) * std::clamp (1500.0f / hz, 0.15f, 1.0f);
    loopPrev = 0;
    jawariLevel = 0;
    pluckPeak = 1;

    // Excite the string: noise, darker for soft notes, with the comb of the plucking point.
    const int period = (int) std::ceil (delay);
    const int toClear = std::min (lineSize, 3 * period + 8);
    std::fill (line.begin(), line.begin() + toClear, 0.0f);
    nvdsp::OnePole tone;
    tone.setCutoff (hz * (1.5f + 24.0f * p.brightness * bright * bright), sampleRate);
    for (int i = 0; i < period; ++i)
        line[(size_t) i] = tone.process (noise.next());
    const int pick = std::max (1, (int) (p.pickPos * (float) period));
    float mean = 0;
    for (int i = period - 1; i >= pick; --i)
        line[(size_t) i] -= line[(size_t) (i - pick)];
    for (int i = 0; i < period; ++i)
        mean += line[(size_t) i];
    mean /= (float) period;
    // Every pluck starts with the same energy, whatever the noise was.
    float energy = 1.0e-12f;
    for (int i = 0; i < period; ++i)
    {
        line[(size_t) i] -= mean;
        energy += line[(size_t) i] * line[(size_t) i];
    }
    const float scale = 0.3f / std::sqrt (energy / (float) period);
    for (int i = 0; i < period; ++i)
        line[(size_t) i] = std::clamp (line[(size_t) i] * scale, -1.0f, 1.0f);
    writePos = period;
}

void NVBuiltinVoice::setUpAnalog()
{
    const auto& p = *patch;
    const int voices = std::clamp (p.unison, 1, maxUnison);
    for (int u = 0; u < voices; ++u)
    {
        const float spread = voices == 1 ? 0.0f : ((float) u / (float) (voices - 1) * 2.0f - 1.0f);
        oscDetune[u] = std::exp2 (spread * p.detuneCents / 1200.0f);
        oscPhase[u] = nvdsp::wrap (0.37f * (float) u); // spread so unison voices do not start in phase
    }
    filter.clear();
    for (auto& f : formants)
        f.clear();
    for (int i = 0; i < 3; ++i)
        if (p.formant[i] > 0)
            formants[i].set (p.formant[i], 6.0f, sampleRate);
    breathFilter.clear();
    breathFilter.set (current.hz * 2.0f, 1.5f, sampleRate);
    filterEnv = 1.0f;
    filterEnvMult = nvdsp::decayFactor (p.filterDecay, sampleRate);
    vibPhase = 0;
    tremPhase = 0;
}

void NVBuiltinVoice::setUpFm()
{
    const auto& p = *patch;
    carrierPhase = 0;
    modPhase = 0;
    fmEnv = 1.0f;
    fmEnvMult = nvdsp::decayFactor (p.fmIndexDecay * current.shape.decayScale, sampleRate);
    vibPhase = 0;
    tremPhase = 0;
}

float NVBuiltinVoice::nextEnvelope() noexcept
{
    switch (stage)
    {
        case Stage::attack:
            level += attackStep;
            if (level >= 1.0f)
            {
                level = 1.0f;
                stage = sustainLevel < 1.0f ? Stage::decay : Stage::sustain;
            }
            break;
        case Stage::decay:
            level = sustainLevel + (level - sustainLevel) * decayMult;
            if (level - sustainLevel < 1.0e-3f)
                stage = Stage::sustain;
            break;
        case Stage::sustain:
            break;
        case Stage::release:
            level *= releaseMult;
            if (level < silenceLevel)
                stage = Stage::idle;
            break;
        case Stage::stealFade:
            level -= fadeStep;
            if (level <= 0.0f)
            {
                level = 0.0f;
                stage = Stage::idle;
            }
            break;
        case Stage::idle:
            level = 0.0f;
            break;
    }
    return level;
}

float NVBuiltinVoice::vibratoFactor() noexcept
{
    const auto& p = *patch;
    if (p.vibDepth <= 0 || p.vibRate <= 0)
        return 1.0f;
    const float t = (float) samplesPlayed / sampleRate;
    const float fadeIn = std::clamp ((t - p.vibDelay) / 0.4f, 0.0f, 1.0f);
    vibPhase = nvdsp::wrap (vibPhase + p.vibRate / sampleRate);
    const float semis = p.vibDepth * current.shape.vibratoScale * fadeIn * nvdsp::SineTable::at (vibPhase);
    return 1.0f + 0.05776f * semis;
}

float NVBuiltinVoice::noiseSample() noexcept
{
    const auto& p = *patch;
    float out = 0;
    if (noiseAmp > silenceLevel)
    {
        float n = noise.next();
        if (p.rattleRate > 0)
        {
            if (--grainCountdown <= 0)
            {
                grainEnv = 0.4f + 0.6f * noise.unit();
                grainCountdown = (int) (sampleRate / p.rattleRate * (0.4f + 1.2f * noise.unit()));
            }
            grainEnv *= grainMult;
            n *= grainEnv;
        }
        noiseFilter.process (n);
        out += noiseFilter.band * noiseAmp;
        noiseAmp *= noiseMult;
    }
    if (clickAmp > silenceLevel)
    {
        out += noise.next() * clickAmp;
        clickAmp *= clickMult;
    }
    return out;
}

float NVBuiltinVoice::modalSample (float bendRatio) noexcept
{
    float glide[2];
    for (int l = 0; l < 2; ++l)
    {
        glide[l] = bendRatio * (1.0f + glideDepth[l] * glideEnv[l]);
        glideEnv[l] *= glideMult[l];
    }
    float out = 0;
    for (int m = 0; m < numModes; ++m)
    {
        out += modeAmp[m] * nvdsp::SineTable::at (modePhase[m]);
        float ph = modePhase[m] + modeInc[m] * glide[modeLayer[m]];
        modePhase[m] = ph - (float) (int) ph;
        modeAmp[m] *= modeMult[m];
    }
    return out;
}

float NVBuiltinVoice::pluckSample (float bendRatio) noexcept
{
    const auto& p = *patch;
    // The buzzing bridge shortens the string while it swings wide.
    const float period = std::min (delay / std::max (bendRatio, 0.01f), (float) lineSize - 4.0f);
    float d = period - loopDamp;
    if (p.jawari > 0)
    {
        jawariLevel += 0.02f * (std::abs (loopPrev) - jawariLevel);
        d -= p.jawari * std::min (std::abs (loopPrev), 1.0f) * period * 0.04f;
    }
    d = std::max (d, 2.0f);
    float readPos = (float) writePos - d;
    if (readPos < 0)
        readPos += (float) lineSize;
    const int i0 = (int) readPos;
    const float frac = readPos - (float) i0;
    const float a = line[(size_t) (i0 & (lineSize - 1))];
    const float b = line[(size_t) ((i0 + 1) & (lineSize - 1))];
    const float y = a + frac * (b - a);
    const float filtered = ((1.0f - loopDamp) * y + loopDamp * loopPrev) * loopGain;
    loopPrev = filtered;
    line[(size_t) writePos] = filtered;
    writePos = (writePos + 1) & (lineSize - 1);
    float out = y;
    if (p.drive > 0)
    {
        const float x = out * (1.0f + 4.0f * p.drive);
        out = x / (1.0f + std::abs (x)) * (1.0f + 0.5f * p.drive) / (1.0f + 2.0f * p.drive);
    }
    return out;
}

float NVBuiltinVoice::analogSample (float bendRatio, int sampleIndex) noexcept
{
    const auto& p = *patch;
    const float hz = current.hz * tuneRatio * bendRatio * vibratoFactor();
    if ((sampleIndex & 31) == 0)
    {
        const float fc = hz * p.cutoff * bright * (1.0f + p.cutoffEnv * filterEnv);
        filter.set (fc, p.resonance, sampleRate);
        filterEnv *= std::pow (filterEnvMult, 32.0f);
    }
    const int voices = std::clamp (p.unison, 1, maxUnison);
    float osc = 0;
    for (int u = 0; u < voices; ++u)
    {
        const float inc = std::min (hz * oscDetune[u] / sampleRate, 0.45f);
        const float t = oscPhase[u];
        float s = 0;
        if (p.saw > 0)
            s += p.saw * (2.0f * t - 1.0f - nvdsp::polyBlep (t, inc));
        if (p.square > 0)
        {
            float sq = t < p.pulseWidth ? 1.0f : -1.0f;
            sq += nvdsp::polyBlep (t, inc);
            sq -= nvdsp::polyBlep (nvdsp::wrap (t + 1.0f - p.pulseWidth), inc);
            sq -= 2.0f * p.pulseWidth - 1.0f; // a pulse that is not square carries a DC offset
            s += p.square * sq;
        }
        if (p.sine > 0)
            s += p.sine * nvdsp::SineTable::at (t);
        if (p.triangle > 0)
            s += p.triangle * (4.0f * std::abs (t - 0.5f) - 1.0f);
        osc += s;
        const float next = t + inc;
        oscPhase[u] = next - (float) (int) next;
    }
    osc /= (float) voices;

    float out;
    if (p.formant[0] > 0)
    {
        out = 0;
        const float weights[3] = { 1.0f, 0.6f, 0.35f };
        for (int i = 0; i < 3; ++i)
        {
            if (p.formant[i] <= 0)
                continue;
            formants[i].process (osc);
            out += formants[i].band * weights[i];
        }
        out *= 1.6f;
    }
    else
    {
        filter.process (osc);
        out = filter.low;
    }
    if (p.breath > 0)
    {
        breathFilter.process (noise.next());
        out += breathFilter.band * p.breath * (0.5f + 1.5f * filterEnv);
    }
    return out;
}

float NVBuiltinVoice::fmSample (float bendRatio) noexcept
{
    const auto& p = *patch;
    const float hz = current.hz * tuneRatio * bendRatio * vibratoFactor();
    const float index = (p.fmIndexEnd + (p.fmIndex - p.fmIndexEnd) * fmEnv) * std::min (bright, 1.3f);
    fmEnv *= fmEnvMult;
    const float modulator = nvdsp::SineTable::at (modPhase);
    const float out = nvdsp::SineTable::at (nvdsp::wrap (carrierPhase + index * modulator * (1.0f / nvdsp::twoPi)));
    const float ci = std::min (hz / sampleRate, 0.45f);
    carrierPhase = nvdsp::wrap (carrierPhase + ci);
    modPhase = nvdsp::wrap (modPhase + ci * p.fmRatio);
    return out;
}

void NVBuiltinVoice::render (float* left, float* right, int numSamples, float bendRatio) noexcept
{
    if (stage == Stage::idle || patch == nullptr)
        return;
    const auto& p = *patch;
    for (int i = 0; i < numSamples; ++i)
    {
        float s = 0;
        switch (p.model)
        {
            case NVSynthModel::modal:  s = modalSample (bendRatio); break;
            case NVSynthModel::pluck:  s = pluckSample (bendRatio); break;
            case NVSynthModel::analog: s = analogSample (bendRatio, i); break;
            case NVSynthModel::fm:     s = fmSample (bendRatio); break;
        }
        if (p.model != NVSynthModel::analog)
            s += noiseSample();
        if (p.tremDepth > 0)
        {
            tremPhase = nvdsp::wrap (tremPhase + p.tremRate / sampleRate);
            s *= 1.0f - p.tremDepth * (0.5f + 0.5f * nvdsp::SineTable::at (tremPhase));
        }
        const float env = nextEnvelope();
        s *= env * velocityGain;
        left[i] += s * panLeft;
        right[i] += s * panRight;
        ++samplesPlayed;
        pluckPeak = std::max (pluckPeak * 0.9995f, std::abs (s));

        if (stage == Stage::idle)
        {
            if (pending.patch != nullptr)
            {
                const NVNoteStart next = pending;
                pending.patch = nullptr;
                start (next, pendingOrder);
                render (left + i + 1, right + i + 1, numSamples - i - 1, bendRatio);
                return;
            }
            patch = nullptr;
            return;
        }
    }

    // A struck or plucked sound ends by itself once it has died away.
    if ((p.model == NVSynthModel::modal || p.model == NVSynthModel::pluck)
        && stage == Stage::sustain && samplesPlayed > (int) (0.05f * sampleRate))
    {
        float remaining = (noiseAmp + clickAmp) * velocityGain;
        for (int m = 0; m < numModes; ++m)
            remaining += std::abs (modeAmp[m]) * velocityGain;
        if (p.model == NVSynthModel::pluck)
            remaining = pluckPeak;
        if (remaining < silenceLevel * 0.5f)
            kill();
    }
}

float NVBuiltinVoice::measurePeak (const NVVoicePatch& source, float hz, float seconds, float sampleRate)
{
    NVVoicePatch unit = source;
    unit.gain = 1.0f;
    unit.pan = 0.0f;
    NVBuiltinVoice voice;
    voice.setSampleRate (sampleRate);
    NVNoteStart start;
    start.patch = &unit;
    start.hz = hz;
    start.velocity = 1.0f;
    voice.start (start, 1);
    float left[256], right[256];
    float peak = 0;
    for (int done = 0; done < (int) (seconds * sampleRate) && voice.isActive(); done += 256)
    {
        std::fill (std::begin (left), std::end (left), 0.0f);
        std::fill (std::begin (right), std::end (right), 0.0f);
        voice.render (left, right, 256, 1.0f);
        for (int i = 0; i < 256; ++i)
            peak = std::max (peak, std::abs (left[i]));
    }
    return peak;
}
