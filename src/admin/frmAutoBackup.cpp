#include "admin/frmAutoBackup.h"

#include "admin/AdminSettings.h"
#include "admin/BackgroundWork.h"
#include "admin/CompanyBackup.h"
#include "admin/frmMail.h"
#include "controls/button/StyledButton.h"
#include "core/Colour.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/WindowRegistry.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QProgressBar>

using FormBuilder::kind;

namespace {

QString stepText(CompanyBackup::Step step)
{
    switch (step) {
    case CompanyBackup::Step::Folders:
        return QStringLiteral("Preparing the backup folders . . .");
    case CompanyBackup::Step::Waiting:
        return QStringLiteral("Waiting for another backup of this company to end . . .");
    case CompanyBackup::Step::PlainCopy:
        return QStringLiteral("Copying and checking the database . . .");
    case CompanyBackup::Step::Archive:
        return QStringLiteral("Writing the archive . . .");
    case CompanyBackup::Step::BackupCopy:
        return QStringLiteral("Copying the archive to the backup folder . . .");
    }
    return QString();
}

} // namespace

frmAutoBackup::frmAutoBackup(QWidget *parent) : QWidget(parent), work_(new BackgroundWork(this))
{
    setWindowTitle(QStringLiteral("AUTO BACKUP"));
    buildControls();
    KeyPreview::install(this, [this](QKeyEvent *event) {
        if (event->key() != Qt::Key_Escape)
            return false;
        leaveProgram(false);
        return true;
    });
    txtPath->setText(CompanyBackup::defaultBackupFolder(Module::programFolder()));
    cmdbackup->setFocus();
}

void frmAutoBackup::buildControls()
{
    FormBuilder::setClientSize(this, 7200, 3450);
    setFixedSize(size());
    FormBuilder::build(this,
                       {
                           {kind<QLabel>(), "lblHeading", "Auto Backup", 240, 150, 5400, 450},
                           {kind<QLabel>(), "lblClose", "X", 6780, 90, 330, 330},
                           {kind<QLabel>(), "lblPath", "Backup Path : ", 240, 900, 1400, 300},
                           {kind<QLineEdit>(), "txtPath", "", 1680, 870, 4740, 330},
                           {kind<StyledButton>(), "cmdPath", "", 6480, 840, 480, 390},
                           {kind<StyledButton>(), "cmdbackup", "", 240, 1500, 2100, 540},
                           {kind<StyledButton>(), "cmdEmailBackup", "", 2460, 1500, 2400, 540},
                           {kind<StyledButton>(), "cmdClose", "", 4980, 1500, 1980, 540},
                           {kind<QProgressBar>(), "prgWorking", "", 240, 2370, 6720, 240},
                           {kind<QLabel>(), "lblWorking", "", 240, 2730, 6720, 300},
                       });
    txtPath = findChild<QLineEdit *>("txtPath");
    cmdPath = findChild<StyledButton *>("cmdPath");
    cmdbackup = findChild<StyledButton *>("cmdbackup");
    cmdEmailBackup = findChild<StyledButton *>("cmdEmailBackup");
    cmdClose = findChild<StyledButton *>("cmdClose");
    lblClose = findChild<QLabel *>("lblClose");
    lblWorking = findChild<QLabel *>("lblWorking");
    prgWorking = findChild<QProgressBar *>("prgWorking");

    FormBuilder::setHeading(findChild<QLabel *>("lblHeading"), 14, 0x8B4513);
    QFont closeFont = lblClose->font();
    closeFont.setBold(true);
    closeFont.setPointSize(12);
    lblClose->setFont(closeFont);
    lblClose->setAlignment(Qt::AlignCenter);
    lblClose->setCursor(Qt::PointingHandCursor);
    lblClose->setToolTip(QStringLiteral("Back to work"));
    lblClose->installEventFilter(this);

    cmdPath->setPicture(ButtonPicture::fromIcon(QIcon(QStringLiteral(":/admin/folder.png"))));
    cmdPath->setToolTip(QStringLiteral("Choose the backup folder"));
    cmdbackup->setCaption(QStringLiteral("&Backup"));
    cmdEmailBackup->setCaption(QStringLiteral("@ &Email Backup"));
    cmdClose->setCaption(QStringLiteral("&Close"));
    prgWorking->setRange(0, 0);
    prgWorking->setTextVisible(false);
    prgWorking->hide();

    connect(cmdbackup, &StyledButton::Click, this, [this] { startBackup(Purpose::Keep); });
    connect(cmdEmailBackup, &StyledButton::Click, this, [this] { startBackup(Purpose::Mail); });
    connect(cmdPath, &StyledButton::Click, this, &frmAutoBackup::cmdPath_Click);
    connect(cmdClose, &StyledButton::Click, this, [this] { leaveProgram(true); });
}

bool frmAutoBackup::working() const
{
    return work_->running();
}

void frmAutoBackup::startBackup(Purpose purpose)
{
    if (work_->running())
        return;
    CompanyBackup::Request request;
    request.programFolder = Module::programFolder();
    request.drives = AdminSettings::driveFolders();
    request.companyName = Module::CurrentCompanyName;
    request.companyDataPath = Module::CompanyDataPath;
    request.keepCopy = purpose == Purpose::Keep;
    request.backupFolder = txtPath->text();
    request.now = QDateTime::currentDateTime();
    // A program on another drive takes no backup, silently.
    const auto plan = CompanyBackup::plan(request);
    if (!plan)
        return;

    setWorking(true);
    BackgroundWork *work = work_;
    work_->start(
        [plan = *plan, work] {
            CompanyBackup::run(plan, [work](CompanyBackup::Step step, int percent) {
                work->post([work, step, percent] {
                    if (auto *window = qobject_cast<frmAutoBackup *>(work->parent()))
                        window->showStep(stepText(step), percent);
                });
            });
        },
        [this, purpose, archive = plan->archive](const BackgroundWork::Outcome &failure) {
            setWorking(false);
            if (failure) {
                Dialogs::message(failure->boxText(), Dialogs::Buttons::Ok,
                                 Dialogs::Icon::Information, QString());
                return;
            }
            if (purpose == Purpose::Keep) {
                backupSaved();
                return;
            }
            if (auto *mail = WindowRegistry::show<frmMail>(QStringLiteral("frmMail")))
                mail->addAttachment(archive);
        });
}

void frmAutoBackup::backupSaved()
{
    try {
        CompanyBackup::recordTime(Module::open(Module::CommonDb), QDateTime::currentDateTime());
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
        return;
    }
    Dialogs::message(QStringLiteral("Backup Saved Sucessfully. . ."), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Information, QStringLiteral("Backup Saved"));
}

void frmAutoBackup::showStep(const QString &text, int percent)
{
    if (!work_->running())
        return;
    lblWorking->setText(text);
    // A step that cannot tell how far it got shows the bar running to and fro.
    if (percent < 0) {
        prgWorking->setRange(0, 0);
    } else {
        prgWorking->setRange(0, 100);
        prgWorking->setValue(percent);
    }
}

void frmAutoBackup::setWorking(bool working)
{
    prgWorking->setVisible(working);
    prgWorking->setRange(0, 0);
    lblWorking->setText(working ? stepText(CompanyBackup::Step::Folders) : QString());
    const QList<QWidget *> commands = {txtPath, cmdPath, cmdbackup, cmdEmailBackup, cmdClose};
    for (QWidget *control : commands)
        control->setEnabled(!working);
    if (working)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void frmAutoBackup::cmdPath_Click()
{
    const QString folder = Dialogs::service().browseFolder(
        QStringLiteral("Want to browse for Folder?"), QDir::rootPath());
    if (!folder.isEmpty())
        txtPath->setText(folder);
}

void frmAutoBackup::leaveProgram(bool hideRibbon)
{
    // A backup in progress finishes first.
    if (work_->running())
        return;
    QWidget *main = window();
    if (main == this) {
        close();
        return;
    }
    main->setWindowTitle(Dialogs::programTitle());
    if (hideRibbon) {
        if (auto *ribbon = main->findChild<QWidget *>(QStringLiteral("RibbonMenu1"))) {
            ribbon->setVisible(false);
            ribbon->update();
        }
    }
    main->setProperty(ExitApprovedProperty, true);
    main->close();
}

bool frmAutoBackup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblClose && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            frame->close();
        else
            close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmAutoBackup::closeEvent(QCloseEvent *event)
{
    // Going back to work waits for a backup in progress; the end of the program waits for it too.
    if (work_->running()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
