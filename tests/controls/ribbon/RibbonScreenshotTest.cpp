#include "RibbonTestSupport.h"

#include "core/Colour.h"

#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <gtest/gtest.h>

// Renders the main window's menu in every theme for a look by eye.
TEST(RibbonScreenshot, LibraryMenuInEveryTheme)
{
    const QString folder = QStringLiteral(LD_TEST_OUTPUT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    const char *names[] = {"black", "blue", "silver"};
    for (int theme = 0; theme < 3; ++theme) {
        QMainWindow window;
        auto *ribbon = new RibbonMenu(&window);
        ribbon->setTheme(theme);
        ribbon->setImageList(RibbonTest::twelveIcons(&window));
        window.setMenuWidget(ribbon);
        auto *area = new QMdiArea(&window);
        area->setBackground(Colour::toQColor(ribbon->BackColor()));
        window.setCentralWidget(area);
        window.resize(1100, 260);
        ribbon->Refresh();
        RibbonTest::fillLibraryMenu(*ribbon);
        ribbon->Refresh();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

        // One button lit and one category lit, to see the hover looks as well.
        RibbonTest::moveTo(*ribbon, RibbonTest::centreOf(*ribbon, RibbonPart::ButMouse, 5));
        const QImage shot = window.grab().toImage();
        const QString file = folder + QStringLiteral("/ribbon-%1.png").arg(names[theme]);
        EXPECT_TRUE(shot.save(file)) << file.toStdString();
        const QImage detail = shot.copy(0, 0, 440, 130).scaled(880, 260);
        EXPECT_TRUE(
            detail.save(folder + QStringLiteral("/ribbon-%1-detail.png").arg(names[theme])));
        const QString backdrop =
            folder + QStringLiteral("/ribbon-backdrop-%1.png").arg(names[theme]);
        EXPECT_TRUE(ribbon->LoadBackground().save(backdrop));
    }
}
