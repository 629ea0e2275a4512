#include "controls/grid/view/VeziRado.h"

#include "core/AppError.h"
#include "core/Dialogs.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString ErrorTitle = QStringLiteral("VeziRado.Export");

// The name becomes a file on the desktop and nothing else: no folder part, no way up, nothing
// that one of the file systems a user may export to refuses in a name.
bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name.contains(QStringLiteral("..")))
        return false;
    const QStringView forbidden = u"\\/:*?\"<>|";
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || forbidden.contains(c))
            return false;
    }
    return true;
}

[[noreturn]] void fileError(const QFileDevice &file, const QString &path)
{
    if (file.error() == QFileDevice::ResourceError)
        throw AppError(61, QStringLiteral("Disk full: %1").arg(path));
    throw AppError(75, QStringLiteral("Path/File access error: %1").arg(path));
}

// The whole file or, on any failure, the earlier file as it was: QSaveFile writes beside the
// target and replaces it only when complete.
void writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fileError(file, path);
    if (file.write(bytes) != bytes.size())
        fileError(file, path);
    if (!file.commit())
        fileError(file, path);
}

} // namespace

void VeziRado::ExportGrid(const QString &strGridName, bool vbVisibleColsOnly,
                          bool vbVisibleRowsOnly, bool vbBooleanAsText)
{
    if (Rows() == 0) {
        Dialogs::message(QStringLiteral("No grid rows to export."), Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information);
        return;
    }
    if (!isPlainFileName(strGridName)) {
        Dialogs::message(QStringLiteral("The grid cannot be exported under the name \"%1\": the "
                                        "name must be a file name alone, without a folder, "
                                        "\"..\" or any of the characters \\ / : * ? \" < > |.")
                             .arg(strGridName),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return;
    }
    const QString folder =
        exportFolder_.value_or(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    if (folder.isEmpty()) {
        Dialogs::message(QStringLiteral("Unknown error"));
        return;
    }

    const QString fileName = strGridName + QStringLiteral(".csv");
    const QString path = QDir(folder).filePath(fileName);
    try {
        // The desktop folder is not there on every machine.
        if (!QDir().mkpath(folder))
            throw AppError(76, QStringLiteral("Path not found: %1").arg(folder));
        CsvOptions options;
        options.caption = Caption();
        options.visibleColsOnly = vbVisibleColsOnly;
        options.visibleRowsOnly = vbVisibleRowsOnly;
        options.booleanAsText = vbBooleanAsText;
        writeFile(path, model_.BuildCsv(options).toUtf8());

        const Dialogs::Answer answer = Dialogs::message(
            QStringLiteral("File %1 was saved to your desktop.\r\nDo you want to open it?")
                .arg(fileName),
            Dialogs::Buttons::YesNo, Dialogs::Icon::Question);
        if (answer == Dialogs::Answer::Yes)
            Dialogs::openSavedFile(path);
    } catch (const AppError &error) {
        Dialogs::message(
            QStringLiteral("Error# %1\r\n%2").arg(error.number()).arg(error.description()),
            Dialogs::Buttons::Ok, Dialogs::Icon::Critical, ErrorTitle);
    }
}
