#include "core/report/ReportFiles.h"

#include "core/AppError.h"
#include "core/Module.h"

#include <QDir>

namespace ReportFiles {

namespace {
std::function<QDateTime()> &clock()
{
    static std::function<QDateTime()> current;
    return current;
}
} // namespace

void setClock(std::function<QDateTime()> clock_)
{
    clock() = std::move(clock_);
}

QDateTime now()
{
    return clock() ? clock()() : QDateTime::currentDateTime();
}

QString pdfFolder()
{
    const QString folder = Module::programPath(QStringLiteral("PDFs"));
    if (!QDir().mkpath(folder))
        throw AppError(76, QStringLiteral("Path not found: %1").arg(folder));
    return folder;
}

QString pdfPath(const QString &suffix)
{
    return QDir(pdfFolder())
        .filePath(now().toString(QStringLiteral("ddMMHHmmss")) + suffix + QStringLiteral(".pdf"));
}

} // namespace ReportFiles
