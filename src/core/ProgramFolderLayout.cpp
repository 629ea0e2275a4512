#include "core/ProgramFolderLayout.h"

#include "core/Database.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QImage>

namespace ProgramFolderLayout {

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw AppError(53, QStringLiteral("File not found: %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

void makeDatabase(const QString &sqlPath, const QString &target, bool rebuildWhenNewer,
                  const std::function<void(Database &)> &fill = {})
{
    const QFileInfo existing(target);
    if (existing.exists()) {
        if (!rebuildWhenNewer || existing.lastModified() >= QFileInfo(sqlPath).lastModified())
            return;
        QFile::remove(target);
    }
    QDir().mkpath(existing.absolutePath());
    // Build beside the target and rename, so a failed build never leaves half a database.
    const QString building = target + QStringLiteral(".building");
    QFile::remove(building);
    {
        auto db = Database::create(building);
        db->executeScript(readText(sqlPath));
        if (fill)
            fill(*db);
    }
    if (!QFile::rename(building, target))
        throw AppError(75, QStringLiteral("Cannot write %1").arg(target));
}

void copyFiles(const QString &from, const QString &to)
{
    if (!QFileInfo(from).isDir())
        return;
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        const QFileInfo targetInfo(target);
        if (targetInfo.exists() && targetInfo.lastModified() >= QFileInfo(source).lastModified())
            continue;
        QDir().mkpath(targetInfo.absolutePath());
        QFile::remove(target);
        QFile::copy(source, target);
    }
}

} // namespace

QByteArray drawSplashPicture()
{
    QImage image(651, 407, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 407);
    sky.setColorAt(0, QColor(22, 62, 112));
    sky.setColorAt(1, QColor(10, 28, 56));
    p.fillRect(image.rect(), sky);

    // A shelf of books.
    const QColor spines[] = {QColor(196, 72, 56), QColor(232, 176, 64), QColor(74, 144, 98),
                             QColor(92, 132, 196), QColor(168, 98, 160), QColor(224, 120, 72)};
    int x = 56;
    for (int i = 0; i < 11; ++i) {
        const int w = 16 + (i * 7) % 9;
        const int h = 120 + (i * 37) % 60;
        p.fillRect(x, 300 - h, w, h, spines[i % 6]);
        p.fillRect(x + 3, 300 - h + 14, w - 6, 4, QColor(255, 255, 255, 120));
        p.fillRect(x + 3, 300 - 26, w - 6, 4, QColor(255, 255, 255, 120));
        x += w + 3;
    }
    p.fillRect(40, 300, x - 40 + 16, 10, QColor(120, 84, 52));

    p.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"), 30, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(330, 110, 300, 60), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("LibraryDesk"));
    QFont line(QStringLiteral("DejaVu Sans"), 12);
    p.setFont(line);
    p.setPen(QColor(200, 220, 240));
    p.drawText(QRect(330, 170, 300, 30), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Books, cards and circulation"));
    p.drawText(QRect(300, 360, 330, 30), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Loading..."));
    p.end();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void layOut(const QString &packageFolder, const QString &programFolder)
{
    const QDir package(packageFolder);
    const QDir program(programFolder);
    QDir().mkpath(programFolder);
    makeDatabase(package.filePath(QStringLiteral("sql/companies12.sql")),
                 program.filePath(QStringLiteral("Companies12.mdb")), false);
    makeDatabase(package.filePath(QStringLiteral("sql/package.sql")),
                 program.filePath(QStringLiteral("Package.mdb")), true, [](Database &db) {
                     db.execute(QStringLiteral("UPDATE Develop SET SplashPicture = ?"), {drawSplashPicture()});
                 });
    makeDatabase(package.filePath(QStringLiteral("sql/dbcake.sql")),
                 program.filePath(QStringLiteral("BarDb/dbCake.mdb")), false);
    makeDatabase(package.filePath(QStringLiteral("sql/company.sql")),
                 program.filePath(QStringLiteral("DB/Vevezidora12_Backup.mdb")), true);
    program.mkpath(QStringLiteral("Data"));
    copyFiles(package.filePath(QStringLiteral("files")), programFolder);
}

} // namespace ProgramFolderLayout
