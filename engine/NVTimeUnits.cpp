#include "engine/NVTimeUnits.h"

#include <algorithm>
#include <cmath>

namespace NVTimeUnits
{
int64_t ticksFromPixels(int x, int beatWidth)
{
    if (beatWidth <= 0)
        return 0;
    return (int64_t) ((float) x * (float) ticksPerBeat / (float) beatWidth);
}

int64_t pixelsFromTicks(int64_t ticks, int beatWidth)
{
    return ticks * beatWidth / ticksPerBeat;
}

float signatureWidth(int beatWidth)
{
    return (float) beatWidth * 0.25f;
}

int playCursorX(int beatWidth, double positionInBeats)
{
    return std::max(0, (int) (beatWidth * positionInBeats));
}

int playCursorMax(int minimumBeats, int beatWidth)
{
    return minimumBeats * beatWidth;
}

int32_t samplesFromTicks(int64_t ticks, double sampleRate, double tempo)
{
    const double ticksPerSecond = tempo * ticksPerBeat / 60.0;
    if (ticksPerSecond <= 0.0)
        return 0;
    return (int32_t) (int64_t) ((double) ticks * sampleRate / ticksPerSecond);
}

int64_t ticksFromSamples(uint64_t samples, double sampleRate, double tempo)
{
    if (sampleRate <= 0.0)
        return 0;
    return (int64_t) std::llround(ticksPerBeat * (tempo / 60.0) * (double) samples / sampleRate);
}

int64_t ticksFromBeats(double beats)
{
    return (int64_t) std::llround(ticksPerBeat * beats);
}
}
