#include "core/Module.h"

#include "core/AppError.h"

#include <QCoreApplication>
#include <QDir>

namespace Module {

Database &open(const DatabaseHandle &handle)
{
    if (!handle)
        throw AppError(91, QStringLiteral("Object variable or With block variable not set"));
    return *handle;
}

namespace {
QString &folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString &folder)
{
    folderOverride() = folder;
}

QString programPath(const QString &relative)
{
    return QDir(programFolder()).filePath(relative);
}

QString companyDatabasePath(const QString &dataFolder)
{
    // Blanks are trimmed at the two ends of the whole path only.
    return (dataFolder + QLatin1Char('/') + QLatin1String(CompanyDatabaseName)).trimmed();
}

QString resolveDataRoot(const QString &stored)
{
    const QString root = stored.trimmed();
    if (root.isEmpty() || root == QLatin1String("Data"))
        return programPath(QStringLiteral("Data"));
    if (QDir::isRelativePath(root))
        return programPath(root);
    return root;
}

QString dataRoot()
{
    QString stored;
    if (CommonDb)
        for (Recordset rs = CommonDb->query(QStringLiteral("SELECT * FROM Path")); !rs.eof();
             rs.moveNext())
            stored = rs.text(QStringLiteral("Defaultpath")); // the last row wins
    return resolveDataRoot(stored);
}

void reset()
{
    CommonDb.reset();
    PackageDb.reset();
    StickerDb.reset();
    WhatsAppDb.reset();
    CompanyDb.reset();
    CompanyDataPath.clear();
    CurrentCompanyName.clear();
    CurrentCompanyCity.clear();
    CurrentCompanyEmail.clear();
    CurrentUserName.clear();
    CurrentUserPosition.clear();
    LoginPosition.clear();
    SelectedRecordID = 0;
}

} // namespace Module
