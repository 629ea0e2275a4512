#include "GridViewTestSupport.h"

#include "ProgramTest.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// A filled grid as a user sees it: every column type, a totals line, row numbers and check
// boxes, one selected and one current row; drawn with the fonts, not a fixed measurer.
struct SheetGrid
{
    SheetGrid()
    {
        window.resize(760, 560);
        grid = new VeziRado(&window);
        grid->setDesktopLookProvider([] { return GridTheme::DesktopLook{false, {}}; });
        grid->resize(740, 540);
        grid->ReadProperties({});
        window.show();
        grid->setCaption(QStringLiteral("Books on loan"));
        grid->setShowRowNumbers(true);
        grid->setRowCheckBoxes(true);
        grid->AddColumn(QStringLiteral("Title"), 2600);
        grid->AddColumn(QStringLiteral("Copies"), 900, 6, ColumnType::Number,
                        QStringLiteral("#,##0"));
        grid->AddColumn(QStringLiteral("Due"), 1300, 4, ColumnType::Date,
                        QStringLiteral("dd-mmm-yy"));
        grid->AddColumn(QStringLiteral("Issued"), 800, 5, ColumnType::CheckBox);
        grid->AddColumn(QStringLiteral("Read"), 1300, 5, ColumnType::ProgressBar);
        grid->AddColumn(QStringLiteral("Shelf"), 900, 4, ColumnType::CustomSort);
        grid->AddColumn(QStringLiteral("Action"), 1000, 5, ColumnType::Button);
        for (int i = 0; i < 30; ++i) {
            grid->AddRow(QStringLiteral("Title %1 & sequel\t%2\t2026-%3-%4\t%5\t\tS-%6\tRenew")
                             .arg(i + 1)
                             .arg((i * 37) % 12 + 1)
                             .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                             .arg(i % 27 + 1, 2, 10, QLatin1Char('0'))
                             .arg(i % 3 == 0 ? 1 : 0)
                             .arg(100 + i));
            grid->setCellProgressValue(i, 4, (i * 13) % 101);
            grid->setCellChecked(i, 3, i % 3 == 0);
        }
        grid->setRowChecked(2, true);
        grid->setTotalsLineShow(true);
        grid->setTotalsLineCaption(1, QStringLiteral("Total"));
        grid->setFocusRectMode(Grid::FocusRectMode::Row);
        grid->setRedraw(true);
        grid->setRowSelected(4, true);
        grid->setRow(4);
        grid->Sort(0, 2);
    }
    QWidget window;
    VeziRado *grid = nullptr;
};

} // namespace

TEST(GridScreenshots, EverySchemeAndHeaderStyle)
{
    const QDir folder(testOutputFolder());
    for (int scheme = 0; scheme <= 4; ++scheme) {
        SheetGrid sheet;
        sheet.grid->setThemeStyle(Grid::ThemeStyle::Gradient);
        sheet.grid->setThemeColor(Grid::ThemeColor(scheme));
        sheet.grid->Refresh();
        const QImage image = sheet.grid->surfaceImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(folder.filePath(QStringLiteral("grid-scheme-%1.png").arg(scheme))));
    }
    for (int style = 0; style <= 7; ++style) {
        SheetGrid sheet;
        sheet.grid->setThemeColor(Grid::ThemeColor::Blue);
        sheet.grid->setThemeStyle(Grid::ThemeStyle(style));
        sheet.grid->Refresh();
        const QImage image = sheet.grid->surfaceImage();
        EXPECT_TRUE(image.save(folder.filePath(QStringLiteral("grid-style-%1.png").arg(style))));
    }
}
