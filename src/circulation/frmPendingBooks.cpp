#include "circulation/frmPendingBooks.h"

#include "circulation/ListContents.h"
#include "circulation/PendingBooks.h"
#include "circulation/WindowLook.h"
#include "circulation/frmBookIssue.h"
#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/RecordLoader.h"
#include "ui/ReportHandOver.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

using FormBuilder::kind;

frmPendingBooks::frmPendingBooks(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Pending Books"));
    buildControls();
    KeyPreview::installEscClose(this);
    Lv1Load();
}

void frmPendingBooks::buildControls()
{
    FormBuilder::setClientSize(this, 15000, 7725);
    setFixedSize(size());
    FormBuilder::build(this,
                       {
                           {kind<QLabel>(), "lblHeader", "PENDING BOOK LIST", 0, 0, 15000, 600},
                           {kind<StyledButton>(), "cmdNew", "", 9840, 720, 1560, 450},
                           {kind<StyledButton>(), "cmdPrint", "", 11520, 720, 1560, 450},
                           {kind<StyledButton>(), "cmdClose", "", 13200, 720, 1560, 450},
                           {kind<RecordList>(), "Lv1", "", 120, 1290, 14760, 5700},
                           {kind<QComboBox>(), "cboSearch", "", 120, 7140, 1800, 360},
                           {kind<QLineEdit>(), "txtSearch", "", 2040, 7140, 3000, 360},
                           {kind<QComboBox>(), "cboSearch1", "", 5280, 7140, 1800, 360},
                           {kind<QLineEdit>(), "txtSearch1", "", 7200, 7140, 3000, 360},
                           {kind<QLabel>(), "lblCount", "No. of Books", 11040, 7200, 1500, 300},
                           {kind<QLineEdit>(), "txtV1", "", 12600, 7140, 1500, 360},
                       });
    lblHeader = findChild<QLabel *>("lblHeader");
    Lv1 = findChild<RecordList *>("Lv1");
    cboSearch = findChild<QComboBox *>("cboSearch");
    cboSearch1 = findChild<QComboBox *>("cboSearch1");
    txtSearch = findChild<QLineEdit *>("txtSearch");
    txtSearch1 = findChild<QLineEdit *>("txtSearch1");
    txtV1 = findChild<QLineEdit *>("txtV1");

    WindowLook::heading(lblHeader);
    WindowLook::filterPairs(cboSearch, txtSearch, cboSearch1, txtSearch1);
    WindowLook::countBox(txtV1);

    Lv1->setColumns({"", "Acc. No.", "Title", "Author", "Subject", "Publisher", "Name", "Card No.",
                     "Issued On", "Roll No.", "Edition"},
                    {0, 1000, 3000, 1500, 1500, 2000, 2000, 1500, 1500, 1500, 1500});
    SetListViewStripes(Lv1, 0xFFFFFF, 0xF3F3ED);
    connect(Lv1, &RecordList::rowOpened, this,
            [](double key) { RecordLoader::open(key, LoadIssueVoucherForUpdate); });
    connect(txtSearch, &QLineEdit::textChanged, this, &frmPendingBooks::Lv1Load);
    connect(txtSearch1, &QLineEdit::textChanged, this, &frmPendingBooks::Lv1Load);

    auto *cmdNew = findChild<StyledButton *>("cmdNew");
    auto *cmdPrint = findChild<StyledButton *>("cmdPrint");
    auto *cmdClose = findChild<StyledButton *>("cmdClose");
    cmdNew->setCaption(QStringLiteral("&OK"));
    cmdPrint->setCaption(QStringLiteral("&Print"));
    cmdClose->setCaption(QStringLiteral("&Close"));
    connect(cmdNew, &StyledButton::Click, this, &frmPendingBooks::Lv1Load);
    connect(cmdPrint, &StyledButton::Click, this, &frmPendingBooks::cmdPrint_Click);
    connect(cmdClose, &StyledButton::Click, this, &frmPendingBooks::closeWindow);
}

void frmPendingBooks::Lv1Load()
{
    try {
        auto rows = PendingBooks::load(Module::open(Module::CompanyDb),
                                       {cboSearch->currentText(), txtSearch->text()},
                                       {cboSearch1->currentText(), txtSearch1->text()});
        ListContents::show(Lv1, std::move(rows));
        txtV1->setText(QString::number(Lv1->records()->size()));
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmPendingBooks::cmdPrint_Click()
{
    try {
        const auto rows = ListContents::shown(Lv1);
        PendingBooks::stage(rows, lblHeader->text());
        ReportHandOver::showReport(PendingBooks::TemplatePath);
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}

void frmPendingBooks::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}
