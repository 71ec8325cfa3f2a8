#include "engine/NVSongArchive.h"

#include "engine/NVAudioFileIO.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>


bool NVSongArchive::isPlainFileName(const juce::String& name)
{
    return name.isNotEmpty() && name != "." && name != ".."
           && !name.containsAnyOf("/\\:") && !name.containsChar(0)
           && name.trim().isNotEmpty();
}

bool NVSongArchive::write(const juce::Array<Entry>& entries, const juce::File& target, juce::String& error) const
{
    if (target.isDirectory())
    {
        error = "a folder is in the way: " + target.getFullPathName();
        return false;
    }
    // Removed unless it takes the target's place.
    juce::TemporaryFile temp(target, juce::TemporaryFile::useHiddenFile);

    juce::ZipFile::Builder builder;
    for (const auto& entry : entries)
        builder.addFile(entry.file, compressionLevel, entry.name);

    {
        std::unique_ptr<juce::OutputStream> stream = openStream ? openStream(temp.getFile())
                                                                : temp.getFile().createOutputStream();
        if (stream == nullptr)
        {
            error = "can't write " + temp.getFile().getFullPathName();
            return false;
        }
        // The builder fails only when a source can't be read; write errors
        // show in the stream's status and in the directory read back below.
        if (!builder.writeToStream(*stream, nullptr))
        {
            error = "can't read a file of the song";
            return false;
        }
        stream->flush();
        if (auto* fileStream = dynamic_cast<juce::FileOutputStream*>(stream.get()))
            if (fileStream->failedToOpen() || fileStream->getStatus().failed())
            {
                error = "can't write " + temp.getFile().getFullPathName() + ": " + fileStream->getStatus().getErrorMessage();
                return false;
            }
    }

    // Read the archive back: every entry must be there with its full size.
    {
        juce::ZipFile check(temp.getFile());
        bool complete = check.getNumEntries() == entries.size();
        for (int i = 0; complete && i < entries.size(); ++i)
        {
            const auto* entry = check.getEntry(i);
            complete = entry != nullptr && entry->filename == entries[i].name
                       && entry->uncompressedSize == entries[i].file.getSize();
        }
        if (!complete)
        {
            error = "the archive was not written in full";
            return false;
        }
    }

    if (!temp.overwriteTargetFileWithTemporary())
    {
        error = "can't replace " + target.getFullPathName();
        return false;
    }
    return true;
}

NVSongArchive::UnpackResult NVSongArchive::unpack(const juce::File& archive, const juce::File& folder)
{
    UnpackResult result;
    if (!archive.existsAsFile())
        return result;
    juce::ZipFile zip(archive);
    result.opened = zip.getNumEntries() > 0;

    struct Job
    {
        int index;
        juce::File file;
        juce::int64 size;
        juce::String error;
    };
    std::vector<Job> jobs;
    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        const auto* entry = zip.getEntry(i);
        if (entry == nullptr)
            continue;
        if (entry->filename.endsWithChar('/'))
            continue; // a folder entry: nothing to write
        if (!isPlainFileName(entry->filename) || entry->isSymbolicLink)
        {
            result.refused.add(entry->filename);
            continue;
        }
        const auto file = folder.getChildFile(entry->filename);
        if (file.getParentDirectory() != folder)
        {
            result.refused.add(entry->filename);
            continue;
        }
        jobs.push_back({ i, file, entry->uncompressedSize, {} });
    }

    // Entries are inflated side by side (each entry stream reads the archive
    // through a stream of its own), the largest first.
    std::sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.size > b.size; });
    std::atomic<size_t> next { 0 };
    auto work = [&]
    {
        for (size_t j = next++; j < jobs.size(); j = next++)
            jobs[j].error = extract(zip, jobs[j].index, jobs[j].file);
    };
    const auto workers = std::min<size_t>(jobs.size(), std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (size_t w = 1; w < workers; ++w)
        threads.emplace_back(work);
    work();
    for (auto& t : threads)
        t.join();

    std::sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) { return a.index < b.index; });
    for (const auto& job : jobs)
    {
        if (job.error.isEmpty())
            ++result.extracted;
        else if (result.error.isEmpty())
            result.error = job.error;
    }
    return result;
}

juce::String NVSongArchive::extract(juce::ZipFile& zip, int index, const juce::File& file)
{
    const auto* entry = zip.getEntry(index);
    std::unique_ptr<juce::InputStream> in(zip.createStreamForEntry(index));
    if (entry == nullptr || in == nullptr)
        return "can't read " + (entry != nullptr ? entry->filename : juce::String(index));
    file.deleteFile();
    juce::FileOutputStream out(file);
    if (!out.openedOk())
        return "can't write " + file.getFullPathName();
    const auto copied = out.writeFromInputStream(*in, -1);
    out.flush();
    if (out.getStatus().failed() || copied != (juce::int64) entry->uncompressedSize)
        return "can't unpack " + entry->filename;
    return {};
}

bool NVSongArchive::compressToOgg(const juce::File& source, const juce::File& ogg, double sampleRate)
{
    juce::AudioBuffer<float> buffer;
    if (!NVAudioFileIO::readLoopFile(source, buffer))
        return false;
    juce::OggVorbisAudioFormat vorbis;
    return NVAudioFileIO::writeWhole(ogg, vorbis, buffer, sampleRate, oggQualityIndex);
}

juce::File NVSongArchive::decodeOgg(const juce::File& ogg, double sampleRate)
{
    juce::AudioBuffer<float> buffer;
    juce::OggVorbisAudioFormat vorbis;
    if (!NVAudioFileIO::readWhole(ogg, vorbis, buffer))
        return {};
    const auto name = ogg.getFileName().dropLastCharacters(4); // less ".ogg"
    if (!isPlainFileName(name))
        return {};
    const auto target = ogg.getSiblingFile(name);
    juce::WavAudioFormat wav;
    juce::AiffAudioFormat aiff;
    juce::AudioFormat& format = name.toLowerCase().endsWith(".wav") ? static_cast<juce::AudioFormat&>(wav)
                                                                     : static_cast<juce::AudioFormat&>(aiff);
    if (!NVAudioFileIO::writeWhole(target, format, buffer, sampleRate))
        return {};
    ogg.deleteFile();
    return target;
}
