#include "shell/frmSplash.h"

#include "core/Database.h"
#include "core/Module.h"
#include "core/Units.h"
#include "shell/ShellPictures.h"
#include "ui/WindowRegistry.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {
int &handOverOverride()
{
    static int milliseconds = 0;
    return milliseconds;
}
} // namespace

void frmSplash::setHandOverInterval(int milliseconds)
{
    handOverOverride() = milliseconds;
}

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint), picture_(ShellPictures::defaultSplash()),
      Timer1(new QTimer(this))
{
    setWindowIcon(ShellPictures::programIcon());
    setFixedSize(Units::twipsToPixels(9765), Units::twipsToPixels(6105));
    setAutoFillBackground(true);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(handOverOverride() > 0 ? handOverOverride() : 3500);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer1->start();

    // Without a picture of its own the splash shows its default one and hands over all the same.
    try {
        TestLoadPicture();
    } catch (const AppError &) {
    }
}

void frmSplash::TestLoadPicture()
{
    if (!Module::PackageDb)
        return;
    Recordset rs = Module::PackageDb->query(QStringLiteral("SELECT * FROM Develop"));
    if (!rs.eof())
        LoadPictureFromDB(rs, QStringLiteral("SplashPicture"));
}

bool frmSplash::LoadPictureFromDB(Recordset &adoRS, const QString &sFieldName)
{
    // Straight from the bytes: no temporary file to write, load and delete.
    QPixmap loaded;
    if (!loaded.loadFromData(adoRS.field(sFieldName).toByteArray()))
        return false;
    picture_ = loaded;
    update();
    return true;
}

void frmSplash::paintEvent(QPaintEvent *)
{
    // Drawn at its own size from the top-left corner: a larger picture is cut at the edges.
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void frmSplash::Timer1_Timer()
{
    // The picker comes up before the splash goes, so the program never has no window at all.
    WindowRegistry::show(QStringLiteral("frmCompanyList"));
    close();
}
