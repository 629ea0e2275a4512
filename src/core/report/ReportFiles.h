#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// Where report exports go: the program's PDFs folder, files named by the moment of export.
namespace ReportFiles {

// The PDFs folder below the program folder, made when missing (an AppError when it cannot be).
QString pdfFolder();
// "ddMMHHmmss" of now, then the suffix, then ".pdf", in the PDFs folder. The year is not part of
// the name: an export in the same second of the same day and month overwrites the earlier file.
QString pdfPath(const QString &suffix = QString());

// The clock the names follow (tests set their own; an empty function restores the real one).
void setClock(std::function<QDateTime()> clock);
QDateTime now();

} // namespace ReportFiles
