#include "model/TWTrackEvents.h"

#include "model/TWComposition.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWLoopFiles.h"
#include "model/TWMIDIFileReader.h"
#include "model/TWRhythmicSequence.h"
#include "model/TWRuntimeTrackSink.h"
#include "model/TWSequencedItem.h"
#include "model/TWSettings.h"

#include <cmath>
#include <filesystem>

namespace
{
    TWMIDIFileReader* gReader = nullptr;

    bool isMIDIPath(const std::string& path)
    {
        const auto dot = path.find_last_of('.');
        if (dot == std::string::npos)
            return false;
        std::string ext = path.substr(dot);
        for (auto& c : ext)
            c = (char) std::tolower((unsigned char) c);
        return ext == ".mid";
    }

    // A clip area v selects (v div 1000)/100 .. (v mod 1000)/100 of the file.
    bool clipAreaOf(const TWRhythmicSequence& sequence, LMFraction& start, LMFraction& end)
    {
        const auto& area = sequence.GetClipArea();
        if (area == LMFraction(-1))
            return false;
        const long long v = (long long) area.numerator() / (long long) area.denominator();
        start = LMFraction(v / 1000, 100);
        end = LMFraction(v % 1000, 100);
        return true;
    }

    bool fileExists(const std::string& path)
    {
        std::error_code error;
        return !path.empty() && std::filesystem::is_regular_file(path, error);
    }
}

void TWSetMIDIFileReader(TWMIDIFileReader* reader) { gReader = reader; }
TWMIDIFileReader* TWGetMIDIFileReader() { return gReader; }

TWTrackEvents::TWTrackEvents(TWInstrumentTrack& track) : mTrack(track)
{
    mHeader = GetSettings()->GetMIDIHeaderLength();
    if (auto* composition = track.GetComposition())
    {
        const auto& tempo = composition->GetTempo();
        if (tempo.denominator() != 0)
            mTempo = (int) ((long long) tempo.numerator() / (long long) tempo.denominator());
    }
    if (auto* sink = track.GetRuntimeTrack())
        mSampleRate = sink->GetClipSampleRate();
}

LMFraction TWTrackEvents::TickOf(const LMFraction& position) const
{
    return LMFraction(mHeader) + LMFraction(480) * mCellCount * position;
}

bool TWTrackEvents::Refresh()
{
    auto* main = mTrack.GetMainSequence();
    if (main == nullptr)
        return false;
    mCellCount = main->GetCellCountFraction();
    LMFraction factor = 1;
    if (auto* composition = mTrack.GetComposition())
        if (composition->GetBeatsFactor() != LMFraction(0))
            factor = composition->GetBeatsFactor();
    AddMIDIEvents(*main, 0, factor);
    return true;
}

void TWTrackEvents::AddMIDIEvents(const TWRhythmicSequence& sequence, const LMFraction&, const LMFraction& factor)
{
    LMFraction p = 0;
    const int cells = (int) sequence.GetCellCount();
    for (int i = 0; i < cells; ++i)
    {
        const auto* cell = sequence.GetSequencedItem(i);
        if (cell == nullptr)
            continue;
        const auto* item = cell->GetItem();
        const auto duration = cell->GetDuration() / factor;
        const auto* loop = item != nullptr && item->isSequence() ? static_cast<const TWRhythmicSequence*>(item) : nullptr;
        LMFraction clipStart, clipEnd;
        if (loop == nullptr || !clipAreaOf(*loop, clipStart, clipEnd))
        {
            // Strokes of older content add no events of their own here; the
            // silent stroke that fills every new song adds none either.
            if (item != nullptr && !item->GetUnderlyingPath().empty())
                AddEventsWithinRange(*item, duration, 0, 1, p, true);
            p += duration;
            continue;
        }

        // With a clip area: the instance runs on over the following cells that continue it.
        const LMFraction s = p;
        p += duration;
        while (i + 1 < cells)
        {
            const auto* next = sequence.GetSequencedItem(i + 1);
            if (next == nullptr || next->GetCellIndex() == 0)
                break;
            p += next->GetDuration() / factor;
            ++i;
        }
        const LMFraction span = p - s;
        auto* link = loop->GetTrackLink();
        AddEventsWithinRange(*loop, span, clipStart, clipEnd, s, link == nullptr);
        if (link != nullptr && link != loop)
        {
            auto* linked = dynamic_cast<TWRhythmicSequence*>(link);
            const LMFraction used = clipEnd - clipStart;
            const LMFraction rest = span * (LMFraction(1) - used);
            if (linked != nullptr && rest > LMFraction(0))
            {
                LMFraction linkStart = 0, linkEnd = 1;
                clipAreaOf(*linked, linkStart, linkEnd);
                AddEventsWithinRange(*linked, rest, linkStart, linkEnd, s + span * used, true);
            }
        }
    }
}

void TWTrackEvents::AddEventsWithinRange(const TWRhythmicItem& item, const LMFraction& duration,
                                         const LMFraction& from, const LMFraction& to,
                                         const LMFraction& position, bool stretch)
{
    const std::string path = item.GetUnderlyingPath();
    if (path.empty())
        return;
    const std::string playing = TWLoopFiles::getUnderlyingFilePath(path);
    if (!fileExists(playing))
        return;
    if (isMIDIPath(playing))
        AddMIDILoop(playing, duration, from, to, TickOf(position), stretch);
    else
        AddAudioLoop(path, duration, position);
}

void TWTrackEvents::AddMIDILoop(const std::string& path, const LMFraction& duration, const LMFraction& from,
                                const LMFraction& to, const LMFraction& base, bool stretch)
{
    std::vector<TWMIDIFileEvent> events;
    if (gReader == nullptr || !gReader->ReadFirstTrack(path, events) || events.empty())
        return;
    const long long last = events.back().tick;
    if (last < 1)
        return;

    const LMFraction length((long long) last, 1);
    const LMFraction scale = LMFraction(480) * mCellCount * duration;
    const LMFraction divisor = stretch ? (to - from) * length : length;
    if (divisor == LMFraction(0))
        return;
    for (const auto& event : events)
    {
        if (event.bytes.empty())
            continue;
        const LMFraction t((long long) event.tick, 1);
        const LMFraction r = t / length;
        if (r < from || r > to)
            continue;
        const LMFraction local = (t - from * length) / divisor;
        const auto tick = (long long) (scale.toDouble() * local.toDouble() + base.toDouble());

        const std::uint8_t status = event.bytes[0];
        const bool noteOn = (status & 0xF0) == 0x90 && event.bytes.size() >= 3;
        const bool noteOff = (status & 0xF0) == 0x80 && event.bytes.size() >= 3;
        if (noteOn || noteOff)
        {
            const int velocity = noteOn ? event.bytes[2] : 0;
            mTrack.AddMIDIEvent(tick, 0x90, event.bytes[1], velocity);
        }
        else
        {
            mTrack.AddMIDIMessage(tick, event.bytes.data(), event.bytes.size());
        }
    }
}

void TWTrackEvents::AddAudioLoop(const std::string& path, const LMFraction& duration, const LMFraction& position)
{
    const double ticksPerSecond = 480.0 * mTempo / 60.0;
    if (ticksPerSecond <= 0.0)
        return;
    const auto startTick = (long long) TickOf(position).toDouble();
    const auto endTick = (long long) TickOf(position + duration).toDouble();
    const auto startSample = (std::uint64_t) std::max(0.0, (double) mSampleRate * (double) startTick / ticksPerSecond);
    const auto endSample = (std::uint64_t) std::max(0.0, (double) mSampleRate * (double) endTick / ticksPerSecond);
    mTrack.AddAudioLoop(startSample, endSample, path);
}
