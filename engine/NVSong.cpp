#include "engine/NVSong.h"

#include "engine/NVAudioTrack.h"

const std::array<const char*, NVSong::numInfoFields> NVSong::infoFieldNames {
    "Title", "Comments", "Author", "Copyright", "OriginalComposer", "OriginalLyrics",
    "OriginalInterpret", "OriginalMovie", "OriginalReleaseDate", "OriginalCopyright"
};

NVSong::NVSong(float v, const juce::String& n, float p, int t, int bars)
    : barSize(bars), name(n), volume(v), pitch(p), tempo(t)
{
}

NVSong::~NVSong()
{
    tracks.clear(true);
    lyrics.clear(true);
}

juce::Array<NVTrack*> NVSong::getTracks() const
{
    juce::Array<NVTrack*> copy;
    for (auto* t : tracks)
        copy.add(t);
    return copy;
}

void NVSong::renumberTracks()
{
    for (int i = 0; i < tracks.size(); ++i)
        tracks[i]->setIndex(i);
}

int NVSong::appendTrack(NVTrack* track)
{
    tracks.add(track);
    track->setIndex(tracks.size() - 1);
    return tracks.size() - 1;
}

int NVSong::insertTrack(NVTrack* track, int i)
{
    const int position = juce::jlimit(0, tracks.size(), i);
    tracks.insert(position, track);
    renumberTracks();
    return position;
}

void NVSong::removeTrack(int i)
{
    if (!juce::isPositiveAndBelow(i, tracks.size()))
        return;
    tracks.remove(i, true);
    renumberTracks();
}

NVLoop* NVSong::GetLoop(int track, int loop) const
{
    auto* t = getTrack(track);
    return t != nullptr ? t->getLoop(loop) : nullptr;
}

bool NVSong::setLoopName(int track, int loop, const juce::String& newName)
{
    auto* l = GetLoop(track, loop);
    if (l == nullptr)
        return false;
    l->name = newName;
    return true;
}

int NVSong::getLoopInstance(int track, int loop) const
{
    auto* target = GetLoop(track, loop);
    if (target == nullptr)
        return 0;
    int instance = 0;
    for (int i = 0; i <= loop; ++i)
        if (getTrack(track)->getLoop(i)->sequence == target->sequence)
            ++instance;
    return instance;
}

int NVSong::findLoop(int track, const TWRhythmicSequence* item, int preferredStart) const
{
    auto* t = getTrack(track);
    if (t == nullptr || item == nullptr)
        return -1;
    int found = -1;
    for (int i = 0; i < t->getNumLoops(); ++i)
    {
        if (t->getLoop(i)->sequence != item)
            continue;
        if (t->getLoop(i)->start == preferredStart)
            return i;
        if (found < 0)
            found = i;
    }
    return found;
}

void NVSong::getLoopsInBounds(int track, int from, int to, int& first, int& last) const
{
    first = last = -1;
    auto* t = getTrack(track);
    if (t == nullptr)
        return;
    for (int i = 0; i < t->getNumLoops(); ++i)
    {
        auto* loop = t->getLoop(i);
        if (loop->start >= to)
            break;
        if (loop->end > from)
        {
            if (first < 0)
                first = i;
            last = i;
        }
    }
}

void NVSong::prepareToPlay(double sampleRate, int blockSize)
{
    midi.ensureSize(256);
    for (auto* t : tracks)
        t->prepareToPlay(sampleRate, blockSize);
}

void NVSong::processSlice(juce::int64 from, juce::int64 to, juce::uint64 samplePosition,
                          juce::AudioBuffer<float>& out)
{
    const int n = out.getNumSamples();
    for (auto* track : tracks)
    {
        const bool audio = track->isAudioTrack();
        if (!audio && track->getPlugin() == nullptr)
            continue;
        auto& scratch = track->getScratch(audio ? out.getNumChannels() : -1, n);
        if (audio)
            static_cast<NVAudioTrack*>(track)->setRenderPosition(samplePosition);
        track->processSlice(from, to, scratch, midi);
        const int channels = juce::jmin(track->getScratchOutputChannels(), out.getNumChannels());
        for (int c = 0; c < channels; ++c)
            out.addFrom(c, 0, scratch, c, 0, n);
    }
}

void NVSong::resetSoundEngines()
{
    for (auto* track : tracks)
    {
        const juce::ScopedLock sl(track->getLock());
        if (auto* engine = track->getPlugin())
            engine->reset();
    }
}

bool NVSong::saveInfo(const juce::String& path) const
{
    juce::XmlElement root("SongInfo");
    for (int i = 0; i < numInfoFields; ++i)
        root.createNewChildElement(infoFieldNames[(size_t) i])->addTextElement(info[(size_t) i]);
    const juce::File file(path);
    file.deleteFile();
    juce::XmlElement::TextFormat format;
    format.dtd = {};
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 60;
    return root.writeTo(file, format);
}

bool NVSong::restoreInfo(const juce::String& path)
{
    const juce::File file(path);
    if (!file.existsAsFile())
        return false;
    const auto root = juce::XmlDocument::parse(file);
    if (root == nullptr || !root->hasTagName("SongInfo"))
        return false;
    for (int i = 0; i < numInfoFields; ++i)
    {
        const auto* child = root->getChildByName(infoFieldNames[(size_t) i]);
        info[(size_t) i] = child != nullptr ? child->getAllSubText() : juce::String();
    }
    return true;
}
