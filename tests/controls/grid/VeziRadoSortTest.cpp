#include "GridTestSupport.h"

#include "controls/grid/GridDates.h"

#include <gtest/gtest.h>

using namespace GridTest;

namespace {

VeziRadoModel gridOf(ColumnType type, const QStringList &texts)
{
    VeziRadoModel grid;
    grid.AddColumn("Key", 500, 4, type);
    grid.AddColumn("Record");
    for (int i = 0; i < texts.size(); ++i)
        grid.AddRow(texts[i] + u'\t' + QString::number(i));
    return grid;
}

QStringList records(const VeziRadoModel &grid)
{
    return columnTexts(grid, 1);
}

} // namespace

TEST(VeziRadoSort, TextIgnoresLetterCaseAndKeepsRecordOrderForTies)
{
    VeziRadoModel grid = gridOf(ColumnType::Text, {"b", "A", "a", "C", "a"});
    grid.Sort(0);
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"A", "a", "a", "b", "C"}));
    EXPECT_EQ(records(grid), (QStringList{"1", "2", "4", "0", "3"}));
    grid.Sort();
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"C", "b", "A", "a", "a"}));
    EXPECT_EQ(records(grid), (QStringList{"3", "0", "1", "2", "4"}));
    EXPECT_EQ(grid.column(0).SortState, SortDirection::Descending);
    grid.Sort();
    EXPECT_EQ(records(grid), (QStringList{"0", "1", "2", "3", "4"}));
    EXPECT_EQ(grid.PrimarySortCol(), -1);
    grid.Sort(0);
    EXPECT_EQ(grid.column(0).SortState, SortDirection::Ascending);
}

TEST(VeziRadoSort, TextFollowsTheReadersAlphabet)
{
    VeziRadoModel grid = gridOf(ColumnType::Text, {"Zola", "\u00C9mile", "apfel", "\u00C4pfel",
                                                   "Adam", "\u00E9mile", "Emile", "\u00C4PFEL"});
    grid.Sort(0);
    // Accents sort beside their letter; texts that differ only in case keep their record order.
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"Adam", "apfel", "\u00C4pfel", "\u00C4PFEL",
                                                 "Emile", "\u00C9mile", "\u00E9mile", "Zola"}));
    grid.Sort(0, int(SortDirection::Descending));
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"Zola", "\u00C9mile", "\u00E9mile", "Emile",
                                                 "\u00C4pfel", "\u00C4PFEL", "apfel", "Adam"}));
}

TEST(VeziRadoSort, NumbersDatesAndChecks)
{
    VeziRadoModel numbers = gridOf(ColumnType::Number, {"10", "9", "x", "-2", "1,000"});
    numbers.Sort(0);
    EXPECT_EQ(columnTexts(numbers, 0), (QStringList{"-2", "x", "9", "10", "1,000"}));

    VeziRadoModel dates =
        gridOf(ColumnType::Date, {"05-Mar-24", "never", "2023-12-31", "01/01/1999", "04-Mar-24"});
    dates.Sort(0);
    EXPECT_EQ(columnTexts(dates, 0),
              (QStringList{"never", "01/01/1999", "2023-12-31", "04-Mar-24", "05-Mar-24"}));
    dates.Sort(0, int(SortDirection::Descending));
    EXPECT_EQ(columnTexts(dates, 0),
              (QStringList{"05-Mar-24", "04-Mar-24", "2023-12-31", "01/01/1999", "never"}));

    VeziRadoModel checks = gridOf(ColumnType::CheckBox, {"0", "1", "0", "True"});
    checks.Sort(0);
    EXPECT_EQ(records(checks), (QStringList{"1", "3", "0", "2"}));
    checks.Sort(0, 1);
    EXPECT_EQ(records(checks), (QStringList{"0", "2", "1", "3"}));
}

TEST(VeziRadoSort, CustomSortAsksTheHostWithCopies)
{
    VeziRadoModel grid = gridOf(ColumnType::CustomSort, {"ccc", "a", "bb"});
    std::vector<bool> ascendingSeen;
    grid.events().CustomSort = [&](bool &Ascending, int &Col, QString &Value1, QString &Value2,
                                   bool &Swap) {
        EXPECT_EQ(Col, 0);
        ascendingSeen.push_back(Ascending);
        Swap = Value1.size() > Value2.size(); // longest first
        Value1 = "changed";
    };
    grid.Sort(0);
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"ccc", "bb", "a"}));
    EXPECT_FALSE(ascendingSeen.empty());
    EXPECT_FALSE(ascendingSeen.front()); // the event says "Ascending" for the descending state
    grid.Sort(0, 1);
    EXPECT_TRUE(ascendingSeen.back());

    VeziRadoModel silent = gridOf(ColumnType::CustomSort, {"b", "a"});
    silent.Sort(0);
    EXPECT_EQ(records(silent), (QStringList{"0", "1"}));
}

TEST(VeziRadoSort, SecondaryColumnOrdersRunsOfExactlyEqualText)
{
    VeziRadoModel grid;
    grid.AddColumn("Group");
    grid.AddColumn("Qty", 500, 4, ColumnType::Number);
    for (const char *row : {"abc\t3", "abc\t1", "ABC\t2", "x\t9", "x\t8"})
        grid.AddRow(row);
    grid.Sort(0, -1, 1);
    EXPECT_EQ(grid.SecondarySortCol(), 1);
    EXPECT_EQ(grid.column(1).SortState, SortDirection::Ascending);
    EXPECT_EQ(columnTexts(grid, 1), (QStringList{"1", "3", "2", "8", "9"}));

    grid.Sort(-1, 1, -1, 1);
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"x", "x", "abc", "abc", "ABC"}));
    EXPECT_EQ(columnTexts(grid, 1), (QStringList{"9", "8", "3", "1", "2"}));
    EXPECT_EQ(grid.column(1).SortState, SortDirection::Descending);

    grid.Sort(1, -1, 1);
    EXPECT_EQ(grid.SecondarySortCol(), -1);
}

TEST(VeziRadoSort, CurrentRowTravelsWithItsRecord)
{
    VeziRadoModel grid = gridOf(ColumnType::Text, {"c", "a", "b"});
    std::vector<std::string> log;
    recordEvents(grid, log);
    grid.Sort(0);
    EXPECT_EQ(grid.Row(), -1);
    EXPECT_EQ(log, (std::vector<std::string>{"SortComplete"}));

    grid.setRow(2); // "c"
    grid.Sort(0);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.CellText(-1, 0), "c");
    EXPECT_TRUE(grid.RowSelected(0));
    EXPECT_EQ(grid.SelectedCount(), 1);
}

TEST(VeziRadoSort, RefusedEditAndBadColumns)
{
    struct RefusingView : GridView
    {
        bool updateCell() override { return false; }
    } refusing;
    VeziRadoModel grid = gridOf(ColumnType::Text, {"b", "a"});
    EXPECT_EQ(errorNumberOf([&] { grid.Sort(); }), 9);
    EXPECT_EQ(errorNumberOf([&] { grid.Sort(5); }), 9);
    EXPECT_EQ(errorNumberOf([&] { grid.Sort(0, -1, 7); }), 9);
    EXPECT_EQ(records(grid), (QStringList{"0", "1"}));

    grid.setView(&refusing);
    bool completed = false;
    grid.events().SortComplete = [&] { completed = true; };
    grid.Sort(0);
    EXPECT_FALSE(completed);
    EXPECT_EQ(records(grid), (QStringList{"0", "1"}));
}

TEST(VeziRadoSort, LargeRunsOfEqualKeysSortQuickly)
{
    VeziRadoModel grid;
    grid.AddColumn("Tick", 500, 4, ColumnType::CheckBox);
    grid.AddColumn("Due", 500, 4, ColumnType::Date);
    for (int i = 0; i < 100000; ++i)
        grid.AddRow(i % 2 ? "1\t05-Mar-24" : "0\t05-Mar-24");
    grid.Sort(0);
    EXPECT_TRUE(grid.CellChecked(49999, 0));
    EXPECT_FALSE(grid.CellChecked(50000, 0));
    EXPECT_EQ(grid.recordAt(0), 1);
    grid.Sort(1);
    EXPECT_EQ(grid.recordAt(0), 0);
}

TEST(VeziRadoSort, TextIgnoresLetterCaseWhateverTheHostsLocale)
{
    // A host that sets no locale of its own runs under the system's, which may be plain C.
    const QLocale kept;
    QLocale::setDefault(QLocale::c());
    VeziRadoModel grid =
        gridOf(ColumnType::Text, {"b", "A", "E", "a", "Zola", "e", "apple", "B", "zoo"});
    grid.Sort(0);
    const QStringList ascending = columnTexts(grid, 0);
    grid.Sort(0, int(SortDirection::Descending));
    const QStringList descending = columnTexts(grid, 0);
    QLocale::setDefault(kept);
    EXPECT_EQ(ascending, (QStringList{"A", "a", "apple", "b", "B", "E", "e", "Zola", "zoo"}));
    EXPECT_EQ(descending, (QStringList{"zoo", "Zola", "E", "e", "b", "B", "apple", "A", "a"}));
}

TEST(VeziRadoSort, TextUnderTheCLocaleFollowsTheCodePointsOfTheFoldedText)
{
    const QLocale kept;
    QLocale::setDefault(QLocale::c());
    // The Kelvin sign folds to k; a full-width A lies below U+FFFF, the emoji past it.
    VeziRadoModel grid = gridOf(
        ColumnType::Text, {"zoo", QString::fromUtf8("\u00C9mile"), QString::fromUtf8("\u212A"),
                           QString::fromUcs4(U"\U0001F600 smile"), "k", "Emile",
                           QString::fromUtf8("\uFF21"), "K2", "zo", "\u00E9MILE"});
    grid.Sort(0);
    const QStringList ascending = records(grid);
    grid.Sort(0, int(SortDirection::Descending));
    const QStringList descending = records(grid);
    QLocale::setDefault(kept);
    EXPECT_EQ(ascending, (QStringList{"5", "2", "4", "7", "8", "0", "1", "9", "6", "3"}));
    EXPECT_EQ(descending, (QStringList{"3", "6", "1", "9", "0", "8", "7", "2", "4", "5"}));
}

TEST(VeziRadoSort, DateSortReadsTheClockOnceAndPlacesTwoDigitYearsAroundIt)
{
    int reads = 0;
    QDate today(2090, 6, 1);
    GridDates::setClockForTest([&] {
        ++reads;
        return today;
    });
    QStringList texts;
    for (int i = 0; i < 200; ++i)
        texts << QStringLiteral("%1-Mar-%2").arg(i % 28 + 1).arg(i % 89 + 10);
    texts << "01-Jan-09" << "31-Dec-99" << "31-Dec-2099" << "no date";
    VeziRadoModel grid = gridOf(ColumnType::Date, texts);
    const int ascending = int(SortDirection::Ascending);
    grid.Sort(0, ascending);
    const QStringList sorted = columnTexts(grid, 0);
    const int readsBySort = reads;
    today = QDate(2026, 12, 10);
    grid.Sort(0, ascending);
    const QStringList sortedNow = columnTexts(grid, 0);
    // By a column of many short runs, then the dates within each run.
    VeziRadoModel runs;
    runs.AddColumn("Run");
    runs.AddColumn("Due", 500, 4, ColumnType::Date);
    for (int i = 0; i < 300; ++i)
        runs.AddRow(QStringLiteral("%1\t%2").arg(i / 2).arg(i % 2 ? "01-Jan-99" : "01-Jan-01"));
    reads = 0;
    runs.Sort(0, ascending, 1, ascending);
    const int readsByRuns = reads;
    GridDates::setClockForTest({});

    EXPECT_EQ(readsBySort, 1);
    EXPECT_EQ(readsByRuns, 1);
    for (int p = 0; p < 300; p += 2) {
        EXPECT_EQ(runs.CellText(p, 1), "01-Jan-99");
        EXPECT_EQ(runs.CellText(p + 1, 1), "01-Jan-01");
    }
    // In 2090 two digits name 2010 to 2109; in 2026 they name 1946 to 2045.
    EXPECT_EQ(sorted.first(), "no date");
    EXPECT_EQ(sorted.mid(sorted.size() - 3),
              (QStringList{"31-Dec-99", "31-Dec-2099", "01-Jan-09"}));
    EXPECT_EQ(sortedNow.last(), "31-Dec-2099");
    EXPECT_LT(sortedNow.indexOf("31-Dec-99"), sortedNow.indexOf("01-Jan-09"));
    EXPECT_LT(sortedNow.indexOf("01-Jan-09"), sortedNow.indexOf("1-Mar-10"));
}

TEST(VeziRadoSort, EverySortRepaints)
{
    RecordingView view;
    VeziRadoModel grid = gridOf(ColumnType::Text, {"c", "b", "a"});
    grid.setView(&view);
    grid.setRedraw(true);
    // No current row; a current row that keeps its place; one that moves.
    for (const int current : {-1, 1, 0}) {
        if (current >= 0)
            grid.setRow(current);
        view.paints = 0;
        grid.Sort(0, int(current == 0 ? SortDirection::Descending : SortDirection::Ascending));
        EXPECT_EQ(view.paints, 1) << current;
    }
}
