#pragma once
#include <cstdint>

// Conversions between the song's time units: ticks (480 per beat), quarter
// beats (120 ticks, the unit of loop bounds), beats, samples at the device
// rate, and pixels of the arrangement view (beat width pixels per beat).
namespace NVTimeUnits
{
    constexpr int ticksPerBeat = 480;
    constexpr int ticksPerQuarterBeat = 120;

    // x * 480 / beat width, in single precision, truncated.
    int64_t ticksFromPixels(int x, int beatWidth);
    // ticks * beat width / 480 in integers.
    int64_t pixelsFromTicks(int64_t ticks, int beatWidth);
    // Width of a quarter beat in pixels.
    float signatureWidth(int beatWidth);
    // Play cursor in pixels: beat width * beats, truncated, never negative.
    int playCursorX(int beatWidth, double positionInBeats);
    // End of the song in pixels.
    int playCursorMax(int minimumBeats, int beatWidth);
    // ticks * sample rate / (tempo * 480 / 60), truncated to 32 bits.
    int32_t samplesFromTicks(int64_t ticks, double sampleRate, double tempo);
    // 480 * (tempo / 60) * samples / sample rate, to the nearest integer; 0 without a rate.
    int64_t ticksFromSamples(uint64_t samples, double sampleRate, double tempo);
    // 480 * beats to the nearest integer.
    int64_t ticksFromBeats(double beats);
}
