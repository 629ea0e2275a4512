#include "ui/QtDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QPrintDialog>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

namespace Dialogs {

namespace {

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// A window manager draws the title in its own, often bold and larger, font beside its buttons; a
// box no wider than Qt makes it cuts a title such as "Don't Create Company" short.
void keepTitleWhole(QMessageBox &box)
{
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 160;
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid || box.windowTitle().isEmpty())
        return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

Answer fromQt(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

// A message box never taller than its screen: a text that would make it so (a long path, many
// lines) is cut to what fits and shown whole, scrolling, under the box's details.
class FittingMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        if (fitted_)
            return;
        fitted_ = true;
        const QRect screen = this->screen()->availableGeometry();
        // Room for the window frame and for the details once they are opened.
        const int room = screen.height() - 60 - 160;
        if (height() <= screen.height() - 60)
            return;
        const QString whole = text();
        QString shown = whole;
        while (height() > room && shown.size() > 80) {
            shown.truncate(std::max<qsizetype>(80, shown.size() * room / height() - 20));
            setText(shown + QStringLiteral(" …"));
        }
        setDetailedText(whole);
        move(screen.left() + (screen.width() - width()) / 2, screen.top() + 20);
    }

private:
    bool fitted_ = false;
};

// xdg-open starts and ends well also where no program is set for the file's type and nothing
// opens: xdg-mime is asked first. A browser named for everything opens what is left.
bool desktopHasProgramFor(const QUrl &url)
{
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty() || !qEnvironmentVariableIsEmpty("BROWSER"))
        return true;
    const QString type = url.isLocalFile()
                             ? QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name()
                             : QStringLiteral("x-scheme-handler/") + url.scheme();
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!process.waitForFinished(5000))
        return true;
    return !process.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

Answer QtService::message(const Message &message)
{
    // Boxes speak in CR or CR LF line ends; Qt wants LF.
    QString text = message.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QPointer<QWidget> owner = QApplication::activeWindow();
    FittingMessageBox box(toQt(message.icon), message.title, text, toQt(message.buttons), owner);
    keepTitleWhole(box);
    const Answer answer = fromQt(box.exec());
    // Give the keyboard back to the window that asked, also where no window manager does it:
    // its Enter chain and access keys need it active.
    if (owner)
        owner->activateWindow();
    return answer;
}

QString QtService::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtService::openFile(const QString &title, const QString &filter, const QString &folder)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter);
}

QString QtService::saveFile(const QString &title, const QString &filter, const QString &suggested)
{
    QFileDialog dialog(QApplication::activeWindow(), title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (const int star = filter.indexOf(QLatin1String("*.")); star >= 0)
        dialog.setDefaultSuffix(filter.mid(star + 2).section(QLatin1Char(')'), 0, 0)
                                    .section(QLatin1Char(' '), 0, 0));
    dialog.selectFile(suggested);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtService::browseFolder(const QString &title, const QString &initialFolder)
{
    // A start that is no folder ("My Computer") leaves the dialog on its own default.
    const QString start = QFileInfo(initialFolder).isDir() ? initialFolder : QDir::homePath();
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, start);
}

bool QtService::openWithDesktop(const QString &pathOrLink)
{
    const QUrl url = QFileInfo::exists(pathOrLink) ? QUrl::fromLocalFile(pathOrLink)
                                                   : QUrl::fromUserInput(pathOrLink);
    // Where the desktop has xdg-open, it is started as Qt would start it, but only once a program
    // is known to take the file: Qt reports success as soon as xdg-open has started.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    return desktopHasProgramFor(url) &&
           QProcess::startDetached(opener,
                                   {url.isLocalFile() ? url.toLocalFile() : url.toString()});
}

bool QtService::startProgram(const QString &program, const QStringList &arguments,
                             const QString &workingFolder)
{
    return QProcess::startDetached(program, arguments, workingFolder);
}

bool QtService::printSetup(QPrinter *printer, QWidget *parent)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace Dialogs
