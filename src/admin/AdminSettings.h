#pragma once

#include <QChar>
#include <QMap>
#include <QString>

// What the administration windows keep in the program's settings store.
namespace AdminSettings {

// The drive letters and the folders they stand for. With nothing stored, D is the program folder,
// so a fresh installation takes backups.
QMap<QChar, QString> driveFolders();
void setDriveFolders(const QMap<QChar, QString> &folders);

// The mail provider's page where the sender account allows the program to sign in.
QString mailSettingsLink();

} // namespace AdminSettings
