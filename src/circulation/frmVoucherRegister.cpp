#include "circulation/frmVoucherRegister.h"

#include "circulation/ListContents.h"
#include "circulation/ReceiptVoucherLoader.h"
#include "circulation/WindowLook.h"
#include "circulation/frmBookIssue.h"
#include "controls/button/StyledButton.h"
#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/PartedRead.h"
#include "ui/DateBox.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/RecordLoader.h"
#include "ui/ReportHandOver.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

using FormBuilder::kind;
using VoucherRegister::Kind;

namespace {

struct Layout
{
    QString title;
    QString heading;
    QStringList headers;
    QList<int> widths;
    void (*openVoucher)();
};

const Layout &layoutOf(Kind kind)
{
    static const Layout issue{
        QStringLiteral("Book Issue Register"),
        QStringLiteral("BOOK ISSUE REGISTER"),
        {"", "Date", "S.N", "Card No.", "Acc. No.", "Name", "Roll No.", "Title", "Author"},
        {0, 1500, 1400, 1500, 1500, 3000, 1000, 2500, 1500},
        LoadIssueVoucherForUpdate};
    static const Layout receipt{QStringLiteral("Book Receipt Register"),
                                QStringLiteral("BOOK RECEIPT REGISTER"),
                                {"", "Date", "S.N", "Card No.", "Acc. No.", "Name", "Roll No.",
                                 "Title", "Days Delay", "Total Fine", "Receipt No."},
                                {0, 1300, 1300, 1200, 1200, 2500, 1000, 2000, 1000, 1000, 1000},
                                LoadReceiptVoucherForUpdate};
    return kind == Kind::Issue ? issue : receipt;
}

bool holds(QWidget *control, QWidget *focus)
{
    return focus && (focus == control || control->isAncestorOf(focus));
}

} // namespace

frmVoucherRegister::frmVoucherRegister(Kind kind, QWidget *parent) : QWidget(parent), kind_(kind)
{
    setWindowTitle(layoutOf(kind).title);
    buildControls();
    installKeys();
    datepickaa();
    maxdaterecord();
    Lv1Load();
    dtpFromDate->setFocus();
}

void frmVoucherRegister::buildControls()
{
    FormBuilder::setClientSize(this, 15000, 7620);
    setFixedSize(size());
    FormBuilder::build(
        this, {
                  {kind<QLabel>(), "lblHeader", "", 120, 120, 4800, 480},
                  {kind<QLabel>(), "lblFrom", "From", 5100, 210, 600, 300},
                  {kind<DateBox>(), "dtpFromDate", "From", 5700, 150, 1800, 390},
                  {kind<QLabel>(), "lblTo", "To : ", 7680, 210, 600, 300},
                  {kind<DateBox>(), "dtpToDate", "To", 8280, 150, 1800, 390},
                  {kind<StyledButton>(), "cmdOK", "", 10260, 120, 1440, 450},
                  {kind<StyledButton>(), "cmdPrint", "", 11820, 120, 1440, 450},
                  {kind<StyledButton>(), "cmdClose", "", 13380, 120, 1440, 450},
                  {kind<RecordList>(), "Lv1", "", 120, 720, 14760, 5820},
                  {kind<QGroupBox>(), "fraFilter", "", 120, 6600, 14760, 900},
                  {kind<QComboBox>(), "fraFilter/cboSearch", "", 120, 300, 1800, 360},
                  {kind<QLineEdit>(), "fraFilter/txtSearch", "", 2040, 300, 3000, 360},
                  {kind<QComboBox>(), "fraFilter/cboSearch1", "", 5280, 300, 1800, 360},
                  {kind<QLineEdit>(), "fraFilter/txtSearch1", "", 7200, 300, 3000, 360},
                  {kind<QLabel>(), "fraFilter/lblCount", "No. of Books", 11040, 360, 1500, 300},
                  {kind<QLineEdit>(), "fraFilter/txtV1", "", 12600, 300, 1500, 360},
              });
    lblHeader = findChild<QLabel *>("lblHeader");
    dtpFromDate = findChild<DateBox *>("dtpFromDate");
    dtpToDate = findChild<DateBox *>("dtpToDate");
    cmdOK = findChild<StyledButton *>("cmdOK");
    Lv1 = findChild<RecordList *>("Lv1");
    cboSearch = findChild<QComboBox *>("cboSearch");
    cboSearch1 = findChild<QComboBox *>("cboSearch1");
    txtSearch = findChild<QLineEdit *>("txtSearch");
    txtSearch1 = findChild<QLineEdit *>("txtSearch1");
    txtV1 = findChild<QLineEdit *>("txtV1");

    const Layout &layout = layoutOf(kind_);
    lblHeader->setText(layout.heading);
    WindowLook::heading(lblHeader);
    WindowLook::filterPairs(cboSearch, txtSearch, cboSearch1, txtSearch1);
    WindowLook::countBox(txtV1);
    txtSearch->setMaxLength(50);
    txtSearch1->setMaxLength(50);

    Lv1->setColumns(layout.headers, layout.widths);
    Lv1->records()->setAlignment(2, Qt::AlignCenter);
    SetListViewStripes(Lv1, 0xFFFFFF, 0xF3F3ED);
    connect(Lv1, &RecordList::rowOpened, this,
            [open = layout.openVoucher](double key) { RecordLoader::open(key, open); });
    connect(txtSearch, &QLineEdit::textChanged, this, &frmVoucherRegister::Lv1Load);
    connect(txtSearch1, &QLineEdit::textChanged, this, &frmVoucherRegister::Lv1Load);

    auto *cmdPrint = findChild<StyledButton *>("cmdPrint");
    auto *cmdClose = findChild<StyledButton *>("cmdClose");
    cmdOK->setCaption(QStringLiteral("&OK"));
    cmdPrint->setCaption(QStringLiteral("&Print"));
    cmdClose->setCaption(QStringLiteral("&Close"));
    connect(cmdOK, &StyledButton::Click, this, &frmVoucherRegister::Lv1Load);
    connect(cmdPrint, &StyledButton::Click, this, &frmVoucherRegister::cmdPrint_Click);
    connect(cmdClose, &StyledButton::Click, this, &frmVoucherRegister::closeWindow);
}

void frmVoucherRegister::installKeys()
{
    KeyPreview::installEscClose(this);
    KeyPreview::install(this, [this](QKeyEvent *event) {
        if (!KeyPreview::isEnter(event))
            return false;
        QWidget *focus = QApplication::focusWidget();
        if (holds(dtpFromDate, focus))
            dtpToDate->setFocus(Qt::TabFocusReason);
        else if (holds(dtpToDate, focus))
            cmdOK->setFocus(Qt::TabFocusReason);
        else
            return false;
        return true;
    });
}

std::optional<VoucherRegister::DateRange> frmVoucherRegister::pickedRange()
{
    const auto from = dtpFromDate->checkedDate();
    if (!from)
        return std::nullopt;
    const auto to = dtpToDate->checkedDate();
    if (!to)
        return std::nullopt;
    return VoucherRegister::DateRange{*from, *to};
}

void frmVoucherRegister::Lv1Load()
{
    const auto range = pickedRange();
    if (!range)
        return;
    const ListFilter::Filter first{cboSearch->currentText(), txtSearch->text()};
    const ListFilter::Filter second{cboSearch1->currentText(), txtSearch1->text()};
    const auto readWhole = [this, range = *range, first, second] {
        ListContents::show(Lv1, VoucherRegister::load(Module::open(Module::CompanyDb), kind_, range,
                                                      first, second));
        txtV1->setText(QString::number(Lv1->records()->size()));
    };
    try {
        std::optional<ListRows> firstRows;
        if (Lv1->isOnScreen() && PartedRead::fewCores())
            firstRows = VoucherRegister::firstRows(Module::open(Module::CompanyDb), kind_, *range,
                                                   first, second, Lv1->rowsInView());
        if (firstRows) {
            // The last list's count does not count the rows shown meanwhile.
            txtV1->clear();
            txtV1->repaint();
            Lv1->showFirstRows(std::move(*firstRows), readWhole);
        } else {
            readWhole();
        }
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmVoucherRegister::datepickaa()
{
    try {
        const auto year = VoucherRegister::financialYear(Module::open(Module::CompanyDb));
        if (!year)
            return;
        // A picker whose date falls outside the new limits moves to the nearest one.
        dtpFromDate->setDateRange(year->from, year->to);
        dtpToDate->setDateRange(year->from, year->to);
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
    }
}

void frmVoucherRegister::maxdaterecord()
{
    QDate latest = QDate::currentDate();
    try {
        latest =
            VoucherRegister::latestDate(Module::open(Module::CompanyDb), kind_).value_or(latest);
    } catch (const AppError &) {
        // The register still opens, on today's date; the list load reports a broken database.
    }
    // A picker refuses a date outside the financial year and keeps its own.
    for (DateBox *picker : {dtpFromDate, dtpToDate})
        if (latest >= picker->minimumDate() && latest <= picker->maximumDate())
            picker->setDate(latest);
}

void frmVoucherRegister::cmdPrint_Click()
{
    const auto range = pickedRange();
    if (!range)
        return;
    try {
        const auto rows = ListContents::shown(Lv1);
        VoucherRegister::stage(rows, lblHeader->text(), *range);
        ReportHandOver::showReport(VoucherRegister::templatePath(kind_),
                                   ReportHandOver::Binding::Unbound);
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}

void frmVoucherRegister::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}
