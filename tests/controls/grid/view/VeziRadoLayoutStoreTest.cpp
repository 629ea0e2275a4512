#include "GridViewTestSupport.h"

#include "ProgramTest.h"
#include "core/Dialogs.h"

#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace GridViewTest;

namespace {

struct LayoutStore : ::testing::Test
{
    LayoutStore()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
    }
    ~LayoutStore() override
    {
        QLocale::setDefault(QLocale(QLocale::English));
        QStandardPaths::setTestModeEnabled(false);
    }
    // The store as another program would see it.
    static std::unique_ptr<QSettings> store(const QString &grid)
    {
        auto settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                    "LibraryDesk", Dialogs::programTitle());
        settings->beginGroup(grid);
        return settings;
    }
    static void write(const QString &grid, const QList<QPair<QString, QString>> &values)
    {
        auto settings = store(grid);
        for (const auto &[key, value] : values)
            settings->setValue(key, value);
    }
    static void addColumns(VeziRado &grid, int count)
    {
        for (int i = 0; i < count; ++i)
            grid.AddColumn(QString("C%1").arg(i), 500 + 100 * i);
        grid.AddRow("a\tb\tc\td\te");
    }
    static std::vector<int> order(const VeziRado &grid) { return grid.model().ColumnOrder(); }

    QTemporaryDir settingsFolder;
    Host host;
    VeziRado &grid = *host.grid;
};

} // namespace

TEST_F(LayoutStore, ColumnOrderRoundTripsThroughTheStore)
{
    addColumns(grid, 4);
    host.window.show();
    grid.setRedraw(true);
    write("frmBooks.Lv1", {{"Count", "3"}, {"0", "2"}, {"1", "0"}, {"2", "1"}, {"3", "3"}});
    QSignalSpy changed(&grid, &VeziRado::ColumnOrderChanged);
    grid.ColOrderLoad("frmBooks.Lv1");
    EXPECT_EQ(order(grid), (std::vector<int>{2, 0, 1, 3}));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0), (QVariantList{0, 0}));
    EXPECT_TRUE(grid.surfaceImage().save(
        QDir(testOutputFolder()).filePath("grid-column-order-loaded.png")));

    grid.ColOrderSave("frmIssue.Lv1");
    auto saved = store("frmIssue.Lv1");
    EXPECT_EQ(saved->allKeys(), (QStringList{"0", "1", "2", "3", "Count"}));
    EXPECT_EQ(saved->value("Count").toString(), "3");
    QStringList positions;
    for (int i = 0; i < 4; ++i)
        positions << saved->value(QString::number(i)).toString();
    EXPECT_EQ(positions, (QStringList{"2", "0", "1", "3"}));

    // Back to the order of adding, the stored order left as it was.
    grid.ColOrderRestore();
    EXPECT_EQ(order(grid), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(store("frmIssue.Lv1")->value("0").toString(), "2");
    grid.ColOrderLoad("frmIssue.Lv1");
    EXPECT_EQ(order(grid), (std::vector<int>{2, 0, 1, 3}));
}

TEST_F(LayoutStore, OrderLoadIgnoresLayoutsThatDoNotFit)
{
    addColumns(grid, 4);
    QSignalSpy changed(&grid, &VeziRado::ColumnOrderChanged);

    write("FiveColumns", {{"Count", "4"}, {"0", "1"}, {"1", "0"}});
    grid.ColOrderLoad("FiveColumns");
    write("Repeats", {{"Count", "3"}, {"0", "2"}, {"1", "2"}, {"2", "1"}, {"3", "3"}});
    grid.ColOrderLoad("Repeats");
    write("OutOfRange", {{"Count", "3"}, {"0", "7"}, {"1", "0"}, {"2", "1"}, {"3", "2"}});
    grid.ColOrderLoad("OutOfRange");
    write("Negative", {{"Count", "3"}, {"0", "-1"}, {"1", "0"}, {"2", "1"}, {"3", "2"}});
    grid.ColOrderLoad("Negative");
    grid.ColOrderLoad("NeverSaved");
    EXPECT_EQ(order(grid), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(changed.count(), 0);

    // Positions without a key keep their own index; numbers are rounded halves to even.
    write("Partial", {{"Count", "3.4"}, {"0", "1"}, {"1", "0.5"}});
    grid.ColOrderLoad("Partial");
    EXPECT_EQ(order(grid), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(LayoutStore, SingleColumnGrids)
{
    grid.AddColumn("Only");
    QSignalSpy changed(&grid, &VeziRado::ColumnOrderChanged);
    grid.ColOrderRestore();
    EXPECT_EQ(changed.count(), 0);
    // Nothing saved reads as "Count" 0, which fits one column.
    grid.ColOrderLoad("Nothing");
    EXPECT_EQ(order(grid), std::vector<int>{0});
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(LayoutStore, WidthsRoundTripInTheGridsUnits)
{
    addColumns(grid, 3); // 501, 601, 701 twips: AddColumn adds one
    write("Start", {{"W1", "750.5"}});
    grid.ColWidthsLoad("Start");
    EXPECT_EQ(grid.model().column(1).WidthPixels, 50);
    // A comma-decimal locale must not change what the store holds.
    QLocale::setDefault(QLocale(QLocale::German));
    grid.ColWidthsSave("Widths");
    auto saved = store("Widths");
    EXPECT_EQ(saved->value("W0").toString(), "501");
    EXPECT_EQ(saved->value("W1").toString(), "750.5");
    EXPECT_EQ(saved->value("W2").toString(), "701");
    EXPECT_FALSE(saved->contains("Count"));

    Host other;
    VeziRado &copy = *other.grid;
    copy.setScaleUnits(Grid::ScaleUnits::Pixels);
    for (int i = 0; i < 4; ++i)
        copy.AddColumn(QString("D%1").arg(i), 40);
    copy.ColWidthsLoad("Widths");
    EXPECT_EQ(copy.model().column(0).Width, 501);
    EXPECT_EQ(copy.model().column(0).WidthPixels, 501);
    EXPECT_EQ(copy.model().column(1).Width, 750.5f);
    EXPECT_EQ(copy.model().column(1).WidthPixels, 750); // halves to even
    EXPECT_EQ(copy.model().column(3).Width, 41);        // never saved

    // In twips (the default) 15 to a pixel.
    write("Twips", {{"W0", "1500"}, {"W1", "-30"}, {"W2", "garbage"}});
    grid.ColWidthsLoad("Twips");
    EXPECT_EQ(grid.model().column(0).WidthPixels, 100);
    EXPECT_EQ(grid.model().column(1).Width, 750.5f); // a negative width is no width
    EXPECT_EQ(grid.model().column(2).Width, 0);      // text without a number reads as 0

    grid.ColWidthsLoad("NeverSaved");
    EXPECT_EQ(grid.model().column(0).Width, 1500);
    EXPECT_EQ(grid.model().column(1).Width, 750.5f);
}
