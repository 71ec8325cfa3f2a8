#include "model/TWFactory.h"

#include "model/LUFilePath.h"
#include "model/TWFolder.h"
#include "model/TWLoopFiles.h"
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

namespace
{
// How deep items that use other items are brought along.
constexpr int kMaxMoveDepth = 16;
} // namespace

RWCString TWFactory::ProvideUniqueName(const RWCString& name, const TWFolder* folder) const
{
    const RWCString path = folder ? folder->GetFolderPath() : RWCString();
    auto isFree = [&](const RWCString& candidate) {
        return !GetItem(path + candidate) && !GetFolder(path + candidate + RWCString("\\"));
    };
    if (isFree(name))
        return name;
    RWCString candidate = RWCString("Copy of ") + name;
    for (unsigned long n = 1; !isFree(candidate); ++n)
        candidate = RWCString("Copy(" + std::to_string(n) + ") of ") + name;
    return candidate;
}

TWFolder* TWFactory::AddNewComponentFolder()
{
    TWRootFolder* root = GetRootFolder();
    if (!root)
        return nullptr;
    const RWCString rootPath = root->GetFolderPath();
    for (unsigned long n = 1;; ++n) {
        const RWCString name("Comp#" + std::to_string(n));
        if (!GetFolder(rootPath + name + RWCString("\\")))
            return CreateSubFolder(name, root);
    }
}

TWRhythmicItem* TWFactory::MoveItem(TWRhythmicItem* item, TWFolder* target, const RWCString& name)
{
    return MoveItemAt(item, target, name, 0);
}

TWRhythmicItem* TWFactory::MoveItemAt(TWRhythmicItem* item, TWFolder* target, const RWCString& name, int depth)
{
    if (!item || !target || target->GetFactory() != this)
        return nullptr;
    const RWCString wanted = name.isNull() ? item->GetName() : name;
    const bool sameLibrary = item->GetFactory() == this;
    if (TWRhythmicItem* existing = GetItem(target->GetFolderPath() + wanted))
        return sameLibrary ? nullptr : existing;
    const RWCString unique = ProvideUniqueName(wanted, target);
    if (!sameLibrary)
        return CopyIn(item, target, unique, depth);
    TWFolder* folder = item->GetFolder();
    mContainer.GetItems().remove(item);
    if (folder)
        folder->GetItems().remove(item);
    item->SetFolder(target);
    item->SetName(unique);
    mContainer.GetItems().insert(item);
    target->GetItems().insert(item);
    return item;
}

TWRhythmicItem* TWFactory::CopyIn(TWRhythmicItem* item, TWFolder* target, const RWCString& name, int depth)
{
    TWRhythmicItem* copy = item->Clone();
    if (!copy)
        return nullptr;
    TWFactory* source = item->GetFactory();
    copy->SetFolder(target);
    copy->SetName(name);
    AddItem(copy);
    auto* sequence = dynamic_cast<TWRhythmicSequence*>(copy);
    if (!sequence)
        return copy;
    const auto* original = static_cast<const TWRhythmicSequence*>(item);
    // The texts join this library's symbols.
    auto text = [](const RWCollectableString* p) { return p ? RWCString(*p) : RWCString(); };
    sequence->SetGharana(text(original->GetGharana()));
    sequence->SetComposer(text(original->GetComposer()));
    sequence->SetReporter(text(original->GetReporter()));
    sequence->SetCycle(text(original->GetCycle()));
    sequence->ClearStyles();
    original->GetStyles().forEach([&](RWCollectable* p) {
        if (auto* style = dynamic_cast<RWCollectableString*>(p))
            sequence->AddStyle(*style);
    });
    sequence->SetTrackLink(original->GetTrackLink() == item ? copy : nullptr);
    // The items the cells use come along; the silent stroke becomes this
    // library's.
    RWCollectable* sourceSilence = source ? source->GetDefaultStroke(item->GetFolder()) : nullptr;
    RWCollectable* silence = GetDefaultStroke(target);
    const int count = static_cast<int>(sequence->GetCellCount());
    for (int i = 0; i < count; ++i) {
        TWSequencedItem* cell = sequence->GetSequencedItem(i);
        TWRhythmicItem* used = cell->GetItem();
        if (!used || !source || used->GetFactory() != source)
            continue;
        TWRhythmicItem* replacement = nullptr;
        if (used == sourceSilence)
            replacement = dynamic_cast<TWRhythmicItem*>(silence);
        else if (depth < kMaxMoveDepth)
            replacement = MoveItemAt(used, target, used->GetName(), depth + 1);
        if (replacement) {
            used->RemoveClient(sequence);
            cell->SetItem(replacement);
        }
    }
    sequence->ImpactChanges();
    if (source && !source->isTrackFactory() && !sequence->GetUnderlyingName().isNull()) {
        const std::string copied = TWLoopFiles::dragBinaryFileCopy(item->GetUnderlyingPath());
        if (!copied.empty())
            sequence->SetUnderlyingName(copied);
    }
    return copy;
}

TWRhythmicItem* TWFactory::DuplicateItem(TWRhythmicItem* item)
{
    if (!item || item->GetFactory() != this)
        return nullptr;
    TWRhythmicItem* copy = item->Clone();
    if (!copy)
        return nullptr;
    copy->SetName(ProvideUniqueName(item->GetName(), item->GetFolder()));
    AddItem(copy);
    return copy;
}

bool TWFactory::RenameItem(TWRhythmicItem* item, const RWCString& name)
{
    if (!item || item->GetFactory() != this || name.isNull())
        return false;
    if (item->GetName() == name)
        return true;
    TWFolder* folder = item->GetFolder();
    if (!folder || GetItem(folder->GetFolderPath() + name))
        return false;
    mContainer.GetItems().remove(item);
    folder->GetItems().remove(item);
    item->SetName(name);
    mContainer.GetItems().insert(item);
    folder->GetItems().insert(item);
    return true;
}

TWFactory* TWFactory::MinimalClone(TWInstrument* instrument) const
{
    auto* clone = new TWFactory(instrument);
    clone->mContainer.SetRhythmic(mContainer.isRhythmic());
    clone->mContainer.SetName(mContainer.GetName());
    auto* root = clone->Adopt(new TWRootFolder(clone));
    TWRootFolder* sourceRoot = GetRootFolder();
    if (sourceRoot && !mContainer.isRhythmic())
        root->SetRootName(sourceRoot->GetRootName());
    clone->mContainer.GetFolders().insert(root);
    clone->mContainer.GetRoots().insert(root);
    auto* stroke = dynamic_cast<TWRhythmicItem*>(GetDefaultStroke(sourceRoot));
    if (TWRhythmicItem* copied = clone->MoveItem(stroke, root, "")) {
        if (clone->mContainer.isRhythmic())
            clone->mContainer.SetDefaultStroke(copied);
        else
            root->SetDefaultStroke(copied);
    }
    if (sourceRoot)
        for (RWCollectable* p : sourceRoot->GetItems().items())
            if (auto* item = dynamic_cast<TWRhythmicItem*>(p))
                clone->MoveItem(item, root, "");
    return clone;
}
