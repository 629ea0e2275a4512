#include "admin/AdminSettings.h"

#include "core/Module.h"

#include <QSettings>

namespace AdminSettings {

namespace {

const QString DrivesGroup = QStringLiteral("BackupDrives");

QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("LibraryDesk"),
                     QStringLiteral("LibraryDesk"));
}

} // namespace

QMap<QChar, QString> driveFolders()
{
    QSettings settings = store();
    settings.beginGroup(DrivesGroup);
    QMap<QChar, QString> folders;
    for (const QString &key : settings.childKeys()) {
        const QString folder = settings.value(key).toString();
        if (key.size() == 1 && !folder.isEmpty())
            folders.insert(key.at(0).toUpper(), folder);
    }
    if (folders.isEmpty())
        folders.insert(QLatin1Char('D'), Module::programFolder());
    return folders;
}

void setDriveFolders(const QMap<QChar, QString> &folders)
{
    QSettings settings = store();
    settings.remove(DrivesGroup);
    settings.beginGroup(DrivesGroup);
    for (auto it = folders.cbegin(); it != folders.cend(); ++it)
        settings.setValue(QString(it.key()), it.value());
}

QString mailSettingsLink()
{
    const QString stored = store().value(QStringLiteral("Mail/SettingsLink")).toString();
    return stored.isEmpty() ? QStringLiteral("https://myaccount.google.com/lesssecureapps")
                            : stored;
}

} // namespace AdminSettings
