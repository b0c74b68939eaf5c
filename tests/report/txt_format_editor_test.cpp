#include "report/txt_format_editor.h"

#include <gtest/gtest.h>

#include "test_dir.h"

namespace orb {
namespace {

using List = TxtFormatEditor::List;

std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

TEST(TxtFormatEditor, OpensWithEveryColumnAvailableWhenNoneIsChosen) {
    TxtFormatEditor ed;
    EXPECT_EQ(ed.available(), Range(0, 21));
    EXPECT_TRUE(ed.chosen().empty());
    EXPECT_EQ(ed.availableSel(), -1);
    EXPECT_EQ(ed.chosenSel(), -1);
    EXPECT_TRUE(ed.spaceSeparator());
    EXPECT_TRUE(ed.writeCaptions());
    EXPECT_EQ(ed.AvailableCaptions().front(), "序号");
    EXPECT_EQ(ed.AvailableCaptions().back(), "Mz");
}

TEST(TxtFormatEditor, LoadSplitsTheColumnsBetweenTheLists) {
    TxtExportFormat f;
    f.columns[0] = 13, f.columns[1] = 2, f.columns[2] = 0, f.count = 3;
    f.separator = 0;
    f.writeCaptions = 0;
    TxtFormatEditor ed;
    ed.Load(f);
    EXPECT_EQ(ed.chosen(), (std::vector<int>{13, 2, 0}));
    EXPECT_EQ(ed.ChosenCaptions(), (std::vector<std::string_view>{"真方位", "测深", "序号"}));
    EXPECT_EQ(ed.available().size(), 19u);
    EXPECT_EQ(ed.available().front(), 1);
    EXPECT_FALSE(ed.spaceSeparator());
    EXPECT_FALSE(ed.writeCaptions());
}

TEST(TxtFormatEditor, AddMovesTheSelectedRowAndKeepsTheRowNumberSelected) {
    TxtFormatEditor ed;
    ed.ClickAvailable(3);
    ed.Add();
    EXPECT_EQ(ed.chosen(), (std::vector<int>{3}));
    EXPECT_EQ(ed.availableSel(), 3);  // now the row that followed: column 4
    EXPECT_EQ(ed.available()[3], 4);
    EXPECT_EQ(ed.focus(), List::Available);
    ed.Add();
    ed.Add();
    EXPECT_EQ(ed.chosen(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(ed.format().count, 3);

    // Adding the last row leaves the selection past the end: Add then does nothing.
    ed.ClickAvailable(static_cast<int>(ed.available().size()) - 1);
    ed.Add();
    EXPECT_EQ(ed.chosen().back(), 21);
    ed.Add();
    EXPECT_EQ(ed.chosen().size(), 4u);
}

TEST(TxtFormatEditor, ClickingOneListClearsTheOtherSelection) {
    TxtFormatEditor ed;
    ed.DoubleClickAvailable(0);
    ed.ClickAvailable(2);
    ed.ClickChosen(0);
    EXPECT_EQ(ed.availableSel(), -1);
    ed.Add();  // nothing: no available row selected
    EXPECT_EQ(ed.chosen().size(), 1u);
    ed.ClickAvailable(1);
    EXPECT_EQ(ed.chosenSel(), -1);
    ed.Delete();  // nothing: no chosen row selected
    EXPECT_EQ(ed.chosen().size(), 1u);
    ed.ClickAvailable(-1);
    EXPECT_EQ(ed.availableSel(), -1);
    ed.ClickAvailable(99);
    EXPECT_EQ(ed.availableSel(), -1);
}

TEST(TxtFormatEditor, DeleteReinsertsInColumnOrderAndSelectsTheFollowingRow) {
    TxtFormatEditor ed;
    for (int row : {14, 5, 0}) ed.DoubleClickAvailable(row);  // columns 14, 5, 0
    EXPECT_EQ(ed.chosen(), (std::vector<int>{14, 5, 0}));
    ed.ClickChosen(0);
    ed.Delete();
    EXPECT_EQ(ed.chosen(), (std::vector<int>{5, 0}));
    EXPECT_EQ(ed.chosenSel(), 0);
    EXPECT_EQ(ed.focus(), List::Chosen);
    EXPECT_EQ(ed.available(),
              (std::vector<int>{1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    EXPECT_EQ(ed.format().columns[2], -1);
    ed.DoubleClickChosen(1);
    EXPECT_EQ(ed.chosen(), (std::vector<int>{5}));
    EXPECT_EQ(ed.available().front(), 0);
}

TEST(TxtFormatEditor, MovesSwapNeighboursAndStopAtTheEnds) {
    TxtFormatEditor ed;
    for (int i = 0; i < 3; ++i) ed.DoubleClickAvailable(0);  // columns 0, 1, 2
    ed.ClickChosen(0);
    ed.MoveUp();
    EXPECT_EQ(ed.chosen(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ed.focus(), List::Chosen);
    ed.MoveDown();
    EXPECT_EQ(ed.chosen(), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(ed.chosenSel(), 1);
    ed.MoveDown();
    EXPECT_EQ(ed.chosen(), (std::vector<int>{1, 2, 0}));
    ed.MoveDown();  // last row: nothing
    EXPECT_EQ(ed.chosen(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(ed.chosenSel(), 2);
    ed.MoveUp();
    EXPECT_EQ(ed.chosen(), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(ed.chosenSel(), 1);
}

TEST(TxtFormatEditor, MovingAfterDeletingTheLastRowCorruptsNothing) {
    TxtFormatEditor ed;
    for (int i = 0; i < 3; ++i) ed.DoubleClickAvailable(0);
    ed.ClickChosen(2);
    ed.Delete();  // the selection now points past the last row
    EXPECT_EQ(ed.chosenSel(), 2);
    ed.MoveUp();
    ed.MoveDown();
    EXPECT_EQ(ed.chosen(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(ed.format().IsValid());
}

TEST(TxtFormatEditor, AcceptWritesTheSeparatorAndCaptionChoice) {
    test::TempDir dir;
    TxtFormatEditor ed;
    ed.DoubleClickAvailable(3);
    ed.SetSpaceSeparator(false);
    ed.SetWriteCaptions(false);
    EXPECT_TRUE(ed.Accept(dir / "ExpFmt.ini").ok());
    const TxtExportFormat back = LoadTxtExportFormat(dir / "ExpFmt.ini");
    EXPECT_EQ(back.separator, 0);
    EXPECT_EQ(back.writeCaptions, 0);
    EXPECT_EQ(back.Chosen(), (std::vector<int>{3}));
    ed.SetSpaceSeparator(true);
    EXPECT_TRUE(ed.spaceSeparator());
    EXPECT_EQ(ed.format().separator, 1);
    test::WriteAll(dir / "file", "");
    EXPECT_FALSE(ed.Accept(dir / "file/ExpFmt.ini").ok());
}

}  // namespace
}  // namespace orb
