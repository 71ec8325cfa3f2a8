#include "ModelTestSupport.h"

#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWRhythmicCycle.h"

namespace
{
// A main sequence of 8 silent cells of 1/8 in which loop L has an instance
// of three cells (2..4, cell indices 0, 1, 2) and one of one cell (6).
class CellsTest : public UserFolderTest
{
protected:
    void SetUp() override
    {
        UserFolderTest::SetUp();
        TWFactory* factory = mInstrument.AddFactory();
        TWRootFolder* root = factory->AddRootFolder();
        mSilence = dynamic_cast<TWRhythmicItem*>(factory->GetContainer().GetDefaultStroke());
        mMain = factory->CreateRhythmicCycle("Main", "", root, 1, 8, 8, 8);
        mLoop = factory->CreateRhythmicCycle("L", "", root, 1, 1, 1, 1);
        for (int i = 2; i <= 4; ++i)
            Place(i, static_cast<unsigned short>(i - 2));
        Place(6, 0);
    }
    void Place(int index, unsigned short cellIndex)
    {
        mMain->RemoveItem(index);
        mMain->AddItem(mMain->NewCell(mLoop, cellIndex, LMFraction(1, 8)), index);
    }
    TWSequencedItem* Cell(int i) const { return mMain->GetSequencedItem(i); }
    int Instances(const TWRhythmicItem* item) const
    {
        int count = 0, first = 0, last = 0;
        while (mMain->GetInstanceBoundaries(item, count + 1, first, last))
            ++count;
        return count;
    }

    TWGMInstrument mInstrument{ "Tabla" };
    TWRhythmicItem* mSilence = nullptr;
    TWRhythmicCycle* mMain = nullptr;
    TWRhythmicCycle* mLoop = nullptr;
};

TEST_F(CellsTest, ANewCycleIsMadeOfSilentCells)
{
    TWRhythmicCycle* cycle = mInstrument.GetFactory()->CreateRhythmicCycle("New", "", mInstrument.GetFactory()->GetRootFolder(), 1, 4, 8, 2);
    ASSERT_EQ(cycle->GetCellCount(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cycle->GetSequencedItem(i)->GetItem(), mSilence);
        EXPECT_EQ(cycle->GetSequencedItem(i)->GetDuration(), LMFraction(1, 4));
        EXPECT_EQ(cycle->GetSequencedItem(i)->GetOwner(), cycle);
    }
    EXPECT_EQ(cycle->GetTotalDuration(), LMFraction(1));
    EXPECT_EQ(cycle->GetCellCountFraction(), LMFraction(4));
    EXPECT_EQ(cycle->GetNumberOfBeats(), LMFraction(8));
    EXPECT_EQ(cycle->GetWrapAt(), LMFraction(2));
    EXPECT_EQ(cycle->GetClipArea(), LMFraction(-1));
    EXPECT_EQ(cycle->GetTempo(), LMFraction(120));
    EXPECT_NE(mSilence->GetClients().index(cycle), RW_NPOS);
}

TEST_F(CellsTest, InstancesAreRunsOfConsecutiveCellIndices)
{
    struct Case { int cell; int first; int last; };
    const Case cases[] = { { 3, 2, 4 }, { 2, 2, 4 }, { 4, 2, 4 }, { 6, 6, 6 }, { 0, 0, 0 }, { 5, 5, 5 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        int first = -1, last = -1;
        ASSERT_TRUE(mMain->GetBoundSequences(Cell(c.cell), first, last));
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(last, c.last);
    }
    TWSequencedItem stranger;
    int first = 0, last = 0;
    EXPECT_FALSE(mMain->GetBoundSequences(&stranger, first, last));

    ASSERT_TRUE(mMain->GetInstanceBoundaries(mLoop, 2, first, last));
    EXPECT_EQ(first, 6);
    EXPECT_EQ(last, 6);
    EXPECT_EQ(Instances(mLoop), 2);
    EXPECT_FALSE(mMain->GetInstanceBoundaries(mLoop, 0, first, last));
    EXPECT_FALSE(mMain->GetInstanceBoundaries(nullptr, 1, first, last));
    // Every silent cell is an instance of its own.
    EXPECT_EQ(Instances(mSilence), 4);
    EXPECT_NE(mLoop->GetClients().index(mMain), RW_NPOS);
}

TEST_F(CellsTest, OffsetsAndCellsAtOffsets)
{
    EXPECT_EQ(mMain->GetItemOffset(0), LMFraction(0));
    EXPECT_EQ(mMain->GetItemOffset(3), LMFraction(3, 8));
    EXPECT_EQ(mMain->GetItemOffset(99), LMFraction(1));
    LMFraction rest;
    EXPECT_EQ(mMain->GetItemAtOffset(LMFraction(5, 16), rest), 2);
    EXPECT_EQ(rest, LMFraction(1, 16));
    EXPECT_EQ(mMain->GetItemAtOffset(LMFraction(3, 8), rest), 3);
    EXPECT_EQ(rest, LMFraction(0));
    EXPECT_EQ(mMain->GetItemAtOffset(LMFraction(1), rest), -1);
    EXPECT_EQ(mMain->GetItemAtOffset(LMFraction(-1, 8), rest), -1);
    EXPECT_EQ(Cell(4)->GetAncestorOffset(), LMFraction(4, 8));
    EXPECT_EQ(Cell(4)->GetAncestorDuration(), LMFraction(3, 8));
}

TEST_F(CellsTest, SplittingAOneCellInstanceMakesEqualInstances)
{
    ASSERT_TRUE(mMain->SplitItem(Cell(6), 3));
    ASSERT_EQ(mMain->GetCellCount(), 10u);
    for (int i = 6; i <= 8; ++i) {
        EXPECT_EQ(Cell(i)->GetItem(), mLoop);
        EXPECT_EQ(Cell(i)->GetDuration(), LMFraction(1, 24));
        EXPECT_EQ(Cell(i)->GetCellIndex(), 0);
    }
    EXPECT_EQ(Instances(mLoop), 4);
    EXPECT_EQ(mMain->GetTotalDuration(), LMFraction(1));
    EXPECT_FALSE(mMain->SplitItem(Cell(6), 0));
}

TEST_F(CellsTest, SplittingAnInstanceCopiesAllItsCells)
{
    ASSERT_TRUE(mMain->SplitItem(Cell(3), 2));
    ASSERT_EQ(mMain->GetCellCount(), 11u);
    const unsigned short indices[] = { 0, 1, 2, 0, 1, 2 };
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Cell(2 + i)->GetItem(), mLoop);
        EXPECT_EQ(Cell(2 + i)->GetCellIndex(), indices[i]);
        EXPECT_EQ(Cell(2 + i)->GetDuration(), LMFraction(1, 16));
    }
    EXPECT_EQ(Instances(mLoop), 3);
    EXPECT_EQ(mMain->GetTotalDuration(), LMFraction(1));
}

TEST_F(CellsTest, MergingStretchesTheInstanceOverTheFollowingCells)
{
    // Instance 2..4 takes cell 5 as well: 3/8 stretched to 4/8.
    ASSERT_TRUE(mMain->MergeItems(Cell(2), 4));
    ASSERT_EQ(mMain->GetCellCount(), 7u);
    for (int i = 2; i <= 4; ++i)
        EXPECT_EQ(Cell(i)->GetDuration(), LMFraction(1, 6));
    EXPECT_EQ(Cell(5)->GetItem(), mLoop);
    EXPECT_EQ(mMain->GetTotalDuration(), LMFraction(1));

    // A count within the instance changes nothing.
    ASSERT_TRUE(mMain->MergeItems(Cell(3), 2));
    EXPECT_EQ(mMain->GetCellCount(), 7u);

    // Swallowing the second instance of L: the silent cell 0 takes all.
    ASSERT_TRUE(mMain->MergeItems(Cell(0), 100));
    ASSERT_EQ(mMain->GetCellCount(), 1u);
    EXPECT_EQ(Cell(0)->GetDuration(), LMFraction(1));
    EXPECT_EQ(mLoop->GetClients().index(mMain), RW_NPOS);
    EXPECT_FALSE(mMain->MergeItems(Cell(0), 0));
}

TEST_F(CellsTest, MergingAfterSplittingRestoresTheInstance)
{
    ASSERT_TRUE(mMain->SplitItem(Cell(6), 4));
    ASSERT_TRUE(mMain->MergeItems(Cell(6), 4));
    EXPECT_EQ(mMain->GetCellCount(), 8u);
    EXPECT_EQ(Cell(6)->GetDuration(), LMFraction(1, 8));
    EXPECT_EQ(mMain->GetTotalDuration(), LMFraction(1));
}

TEST_F(CellsTest, InsertedAndRemovedCells)
{
    mMain->InsertItems(8, 2);
    ASSERT_EQ(mMain->GetCellCount(), 10u);
    EXPECT_EQ(Cell(9)->GetItem(), mSilence);
    EXPECT_EQ(Cell(9)->GetDuration(), LMFraction(1, 8));
    TWSequencedItem* removed = mMain->RemoveItem(6);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->GetItem(), mLoop);
    EXPECT_EQ(mMain->RemoveItem(99), nullptr);
    EXPECT_EQ(mMain->RemoveItem(-1), nullptr);
    EXPECT_EQ(Instances(mLoop), 1);
}

TEST_F(CellsTest, ACloneHasItsOwnCells)
{
    std::unique_ptr<TWRhythmicItem> clone(mMain->Clone());
    auto* copy = dynamic_cast<TWRhythmicCycle*>(clone.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetCellCount(), 8u);
    EXPECT_NE(copy->GetSequencedItem(3), Cell(3));
    EXPECT_EQ(copy->GetSequencedItem(3)->GetItem(), mLoop);
    EXPECT_EQ(copy->GetSequencedItem(3)->GetOwner(), copy);
    mLoop->RemoveClient(copy);
    mSilence->RemoveClient(copy);
}
} // namespace
