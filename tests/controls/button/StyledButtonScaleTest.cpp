#include "controls/button/StyledButton.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const char *const ChildMark = "LD_BUTTON_SCALE_CHILD";

// Whether some 2 x 2 block of the picture holds more than one colour: a picture drawn at one
// pixel per button pixel and scaled up has none.
bool hasDetailFinerThanAButtonPixel(const QImage &image)
{
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb corner = image.pixel(x, y);
            if (image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
                image.pixel(x + 1, y + 1) != corner)
                return true;
        }
    return false;
}

} // namespace

// Runs inside a process of its own, started by the test below with a scale factor of 2.
TEST(StyledButtonScaleTest, DrawsAtTheScreensPixelRatioInside)
{
    if (!qEnvironmentVariableIsSet(ChildMark))
        GTEST_SKIP() << "runs in the process the next test starts";
    QWidget window;
    window.resize(200, 80);
    StyledButton button(&window);
    button.setGeometry(10, 10, 140, 40);
    button.setCaption(QStringLiteral("&Save Record"));
    window.show();
    ASSERT_EQ(button.devicePixelRatioF(), 2.0);
    const QImage shot = button.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(280, 80));
    EXPECT_TRUE(hasDetailFinerThanAButtonPixel(shot));
}

TEST(StyledButtonScaleTest, DrawsAtTheScreensPixelRatio)
{
    if (qEnvironmentVariableIsSet(ChildMark))
        GTEST_SKIP() << "the child runs the test above";
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    environment.insert(QLatin1String(ChildMark), QStringLiteral("1"));
    for (const char *name : {"GTEST_TOTAL_SHARDS", "GTEST_SHARD_INDEX", "GTEST_FILTER",
                             "GTEST_OUTPUT", "XML_OUTPUT_FILE"})
        environment.remove(QLatin1String(name));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=StyledButtonScaleTest.DrawsAtTheScreensPixelRatioInside")});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}
