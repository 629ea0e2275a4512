#pragma once

#include <QString>

// Lays out a program folder from the package folder of the source tree: the application databases
// made from the SQL files, the company template, the report templates and pictures, and Data/.
namespace ProgramFolderLayout {

// Databases that hold users' records are only made when missing; the company template and the
// package database, which hold none, are made again when their SQL is newer.
void layOut(const QString &packageFolder, const QString &programFolder);

// The splash picture the package database carries (PNG bytes).
QByteArray drawSplashPicture();

} // namespace ProgramFolderLayout
