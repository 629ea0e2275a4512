#include "ShellTestSupport.h"

#include "shell/frmSplash.h"
#include "ui/StartApplication.h"

#include <QBuffer>
#include <QImage>

class frmSplashTest : public ShellTest
{
protected:
    void TearDown() override
    {
        frmSplash::setHandOverInterval(0);
        ShellTest::TearDown();
    }
};

TEST_F(frmSplashTest, ShowsThePackagePictureThenHandsOverToThePicker)
{
    QImage jpeg(700, 300, QImage::Format_RGB32);
    jpeg.fill(QColor(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    jpeg.save(&buffer, "JPG");
    Module::PackageDb->execute("UPDATE Develop SET SplashPicture = ?", {bytes});

    frmSplash::setHandOverInterval(30);
    ASSERT_TRUE(StartApplication());
    auto *splash = WindowRegistry::find<frmSplash>("frmSplash");
    ASSERT_TRUE(splash);
    EXPECT_EQ(splash->size(), QSize(651, 407));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash->picture().size(), QSize(700, 300));
    // Larger than the window: cut at the right edge; below it the window's own colour.
    const QImage shown = splash->grab().toImage();
    EXPECT_GT(qRed(shown.pixel(640, 100)), 150);
    EXPECT_FALSE(main->isVisible());

    EXPECT_TRUE(waitFor([] { return WindowRegistry::find("frmCompanyList") != nullptr; }));
    settle();
    EXPECT_FALSE(WindowRegistry::find("frmSplash"));
    EXPECT_TRUE(WindowRegistry::find("frmCompanyList"));
    EXPECT_TRUE(main->isVisible());
}

TEST_F(frmSplashTest, WithoutAPictureTheDefaultShows)
{
    for (const char *change :
         {"UPDATE Develop SET SplashPicture = x'00ff'", "DELETE FROM Develop"}) {
        Module::PackageDb->execute(change);
        auto *splash = WindowRegistry::show<frmSplash>("frmSplash");
        EXPECT_EQ(splash->picture().size(), QSize(650, 413));
        WindowRegistry::close("frmSplash");
        settle();
    }
    // The shipped picture, for a look.
    Module::PackageDb.reset();
    openApplicationDatabases();
    auto *splash = WindowRegistry::show<frmSplash>("frmSplash");
    saveScreenshot(splash, "frmSplash.png");
}
