#include "model/TWFactory.h"

#include "model/LUFilePath.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWMelodicStroke.h"
#include "model/TWRhythmicCycle.h"

namespace
{
thread_local TWFactory* g_ReadingFactory = nullptr;
constexpr int kMaxFolderDepth = 256;
} // namespace

TWFactory::TWFactory(TWInstrument* instrument) : mInstrument(instrument)
{
    mContainer.SetFactory(this);
    if (instrument) {
        mContainer.SetName(instrument->GetName());
        mContainer.SetRhythmic(instrument->isRhythmic());
    }
}

bool TWFactory::isTrackFactory() const
{
    return mInstrument && mInstrument->GetTrackOwner();
}

TWFolder* TWFactory::GetFolder(const RWCString& path) const
{
    const TWFolderKey key(path);
    return dynamic_cast<TWFolder*>(mContainer.GetFolders().find(&key));
}

TWRhythmicItem* TWFactory::GetItem(const RWCString& path) const
{
    const TWItemKey key(path);
    return dynamic_cast<TWRhythmicItem*>(mContainer.GetItems().find(&key));
}

TWRootFolder* TWFactory::GetRootFolder() const
{
    for (RWCollectable* p : mContainer.GetRoots().items())
        if (auto* root = dynamic_cast<TWRootFolder*>(p))
            return root;
    return nullptr;
}

TWRootFolder* TWFactory::GetRootFolder(const RWCString& path) const
{
    if (mContainer.isRhythmic())
        return GetRootFolder();
    const RWCString rootName = LUFilePath(path).GetRootOnly();
    for (RWCollectable* p : mContainer.GetRoots().items())
        if (auto* root = dynamic_cast<TWRootFolder*>(p))
            if (root->GetRootName() == rootName)
                return root;
    return nullptr;
}

RWCollectable* TWFactory::GetDefaultStroke(const TWFolder* folder) const
{
    if (mContainer.isRhythmic())
        return mContainer.GetDefaultStroke();
    const TWFolder* f = folder;
    for (int depth = 0; f && !f->isRoot() && depth < kMaxFolderDepth; ++depth) {
        const auto* sub = dynamic_cast<const TWSubFolder*>(f);
        f = sub ? sub->GetParent() : nullptr;
    }
    const auto* root = dynamic_cast<const TWRootFolder*>(f);
    if (!root && !folder)
        root = GetRootFolder();
    return root ? root->GetDefaultStroke() : nullptr;
}

TWRootFolder* TWFactory::AddRootFolder()
{
    auto* root = Adopt(new TWRootFolder(this));
    mContainer.GetFolders().insert(root);
    mContainer.GetRoots().insert(root);
    TWMelodicStroke* silence = CreateMelodicStroke("S", "Silence", root);
    silence->SetDisplayTexts("-", "D");
    if (mContainer.isRhythmic())
        mContainer.SetDefaultStroke(silence);
    else
        root->SetDefaultStroke(silence);
    return root;
}

TWSubFolder* TWFactory::CreateSubFolder(const RWCString& name, TWFolder* parent)
{
    auto* sub = Adopt(new TWSubFolder(this, name, parent));
    if (auto* held = dynamic_cast<TWSubFolder*>(mContainer.GetFolders().find(sub)))
        return held;
    mContainer.GetFolders().insert(sub);
    if (parent)
        parent->GetSubFolders().insert(sub);
    return sub;
}

TWFolder* TWFactory::CreateSubFolder(const RWCString& path)
{
    TWFolder* folder = GetRootFolder(path);
    if (!folder)
        return nullptr;
    const LUFilePath filePath(path);
    const RWCString root = filePath.GetRootOnly();
    std::string partial = root.isNull() ? std::string() : root.str() + ":";
    const std::string rest = filePath.GetPathWithoutRoot().str();
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string::npos)
            end = rest.size();
        const std::string component = rest.substr(start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        partial += component + "\\";
        TWFolder* next = GetFolder(partial);
        folder = next ? next : CreateSubFolder(component.c_str(), folder);
    }
    return folder;
}

TWRhythmicCycle* TWFactory::CreateRhythmicCycle(const RWCString& name, const RWCString& alias, TWFolder* folder,
                                                const LMFraction& fraction, int count, const LMFraction& beats,
                                                const LMFraction& wrap)
{
    auto* cycle = Adopt(new TWRhythmicCycle(name, alias, folder, fraction, count, beats, wrap));
    AddItem(cycle);
    return cycle;
}

TWRhythmicPattern* TWFactory::CreateRhythmicPattern(const RWCString& name, const RWCString& alias, TWFolder* folder,
                                                    int count, const LMFraction& beats, const LMFraction& wrap)
{
    auto* pattern = Adopt(new TWRhythmicPattern(name, alias, folder, count, beats, wrap));
    AddItem(pattern);
    return pattern;
}

TWMelodicStroke* TWFactory::CreateMelodicStroke(const RWCString& name, const RWCString& alias, TWFolder* folder)
{
    auto* stroke = Adopt(new TWMelodicStroke(name, alias, folder));
    AddItem(stroke);
    return stroke;
}

void TWFactory::AddItem(TWRhythmicItem* item)
{
    if (!item)
        return;
    Adopt(item);
    mContainer.GetItems().insert(item);
    if (TWFolder* folder = item->GetFolder())
        folder->GetItems().insert(item);
}

TWFactory* TWFactory::GetReadingFactory()
{
    return g_ReadingFactory;
}

TWFactory::ReadingScope::ReadingScope(TWFactory* factory) : mPrevious(g_ReadingFactory)
{
    g_ReadingFactory = factory;
}

TWFactory::ReadingScope::~ReadingScope()
{
    g_ReadingFactory = mPrevious;
}
