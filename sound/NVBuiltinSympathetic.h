#pragma once

#include <array>
#include <vector>

/** Sympathetic strings: a few tuned string loops excited by the instrument's
    own sound and ringing along with it (sitar, sarod, santoor, tanpura). */
class NVBuiltinSympathetic
{
public:
    /** Allocates the strings' memory; not for the audio thread. */
    void prepare (double sampleRate);
    void reset() noexcept;
    /** Fades the ringing out over a few milliseconds, then clears the strings. */
    void fadeOut() noexcept;
    /** Adds the strings' ringing, at `level`, to the stereo mix. */
    void process (float* left, float* right, int numSamples, float level) noexcept;

private:
    static constexpr int numStrings = 7;
    struct String
    {
        std::vector<float> line;
        int length = 1, pos = 0;
        float feedback = 0, damp = 0, lowpass = 0, panLeft = 1, panRight = 1;
    };
    std::array<String, numStrings> strings;
    int fadeLength = 200, fadeRemaining = -1;
};
