#include "circulation/frmBookReceipt.h"

#include "circulation/CirculationRules.h"
#include "circulation/ReceiptPrintout.h"
#include "circulation/ReturnRules.h"
#include "circulation/SearchPanel.h"
#include "circulation/VoucherForm.h"
#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "ui/DateBox.h"
#include "ui/FormBuilder.h"
#include "ui/ReportHandOver.h"
#include "ui/RightsCheck.h"
#include "ui/WindowRegistry.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

using FormBuilder::kind;
namespace Rules = CirculationRules;

namespace {

using VoucherForm::plain;
using VoucherForm::SaveCaption;
using VoucherForm::showError;
using VoucherForm::UpdateCaption;

const QString NotIssuedText = QStringLiteral("Book has not been issued. hence can not be returned");
const QString NotThisPersonText = QStringLiteral("Book has not been issued. to this Person");
const QString LentAgainText =
    QStringLiteral("The book this return took back has been issued again since.\r");

// The box a refused number was typed into: its name and its caption.
std::pair<const char *, QString> numberBox(ReturnRules::NumberBox box)
{
    switch (box) {
    case ReturnRules::NumberBox::SrNo:
    case ReturnRules::NumberBox::None:
        break;
    case ReturnRules::NumberBox::DaysDelayed:
        return {"txtDaysDelayed", QStringLiteral("No. of Days Delayed")};
    case ReturnRules::NumberBox::TotalFine:
        return {"txtTotalFine", QStringLiteral("Total Fine")};
    case ReturnRules::NumberBox::FineReceiptNo:
        return {"txtFineReceiptNo", QStringLiteral("Fine Receipt No.")};
    }
    return {"txtSrNo", QStringLiteral("Sr No.")};
}

} // namespace

frmBookReceipt::frmBookReceipt(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Book Receipt"));
    buildControls();
    installKeys();
    datepickaa();
    try {
        GetUserPositionAdd();
    } catch (const AppError &error) {
        showError(error);
    }
    dtpDate->setFocus();
}

void frmBookReceipt::buildControls()
{
    VoucherForm::build(
        this, {"BOOK RECEIPT", "Date Of Return", 1800, 7320},
        {
            {kind<QLabel>(), "fraForm/lblDaysDelayed", "No. of Days Delayed", 240, 960, 2400, 240},
            {kind<QLineEdit>(), "fraForm/txtDaysDelayed", "", 240, 1230, 2400, 390},
            {kind<QLabel>(), "fraForm/lblTotalFine", "Total Fine", 2880, 960, 1800, 240},
            {kind<QLineEdit>(), "fraForm/txtTotalFine", "", 2880, 1230, 1800, 390},
            {kind<QLabel>(), "fraForm/lblFineReceiptNo", "Fine Receipt No.", 4920, 960, 3600, 240},
            {kind<QLineEdit>(), "fraForm/txtFineReceiptNo", "", 4920, 1230, 3600, 390},
            {kind<QLabel>(), "fraForm/lblRemarks1", "Remarks", 8760, 960, 3600, 240},
            {kind<QLineEdit>(), "fraForm/txtRemarks1", "", 8760, 1230, 5880, 390},
        },
        {
            {kind<QLineEdit>(), "Frame4/txtIssueID", "", 4000, 0, 900, 300},
        });

    dtpDate = findChild<DateBox *>("dtpDate");
    txtSrNo = box("txtSrNo");
    txtCardNo = box("txtCardNo");
    txtAccessionNo = box("txtAccessionNo");
    lblLedger = findChild<QLabel *>("lblLedger");
    cmdsave = findChild<StyledButton *>("cmdsave");
    cmdDelete = findChild<StyledButton *>("cmdDelete");
    cmdList = findChild<StyledButton *>("cmdList");
    cmdClose = findChild<StyledButton *>("cmdClose");
    cmdPrint = findChild<StyledButton *>("cmdPrint");

    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->setMaxLength(50);
    lblLedger->installEventFilter(this);
    txtSrNo->installEventFilter(this);

    connect(cmdsave, &StyledButton::Click, this, &frmBookReceipt::GetSavedRecord);
    connect(cmdDelete, &StyledButton::Click, this, &frmBookReceipt::cmdDelete_Click);
    connect(cmdList, &StyledButton::Click, this, [] {
        // The register is a window of its own; until it is built the button leads nowhere.
        if (WindowRegistry::isRegistered(QStringLiteral("frmBookReceiptRegister")))
            WindowRegistry::show(QStringLiteral("frmBookReceiptRegister"));
    });
    connect(cmdClose, &StyledButton::Click, this, &frmBookReceipt::GetCloseForm);
    connect(cmdPrint, &StyledButton::Click, this, &frmBookReceipt::cmdPrint_Click);

    fraSearch = new SearchPanel(SearchPanel::Kind::Card, this, 480, 2400);
    fraSearch2 = new SearchPanel(SearchPanel::Kind::Book, this, 6240, 2400);
    connect(fraSearch, &SearchPanel::picked, this, &frmBookReceipt::cardPicked);
    connect(fraSearch2, &SearchPanel::picked, this, &frmBookReceipt::bookPicked);
}

void frmBookReceipt::installKeys()
{
    VoucherForm::installKeys(this,
                             {[this] { GetCloseForm(); }, [this] { GetCardDetail(); },
                              [this] {
                                  GetBookDetail();
                                  GetCheckBookPerson();
                              },
                              fraSearch, fraSearch2},
                             {
                                 {txtSrNo, txtCardNo},
                                 {box("txtDaysDelayed"), box("txtTotalFine")},
                                 {box("txtTotalFine"), box("txtFineReceiptNo")},
                                 {box("txtFineReceiptNo"), box("txtRemarks1")},
                                 {box("txtRemarks1"), cmdsave},
                             });
}

QLineEdit *frmBookReceipt::box(const char *name) const
{
    return findChild<QLineEdit *>(QLatin1String(name));
}

bool frmBookReceipt::newReturnMode() const
{
    return cmdsave->caption() == SaveCaption;
}

bool frmBookReceipt::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblLedger && event->type() == QEvent::MouseButtonPress) {
        lblLedger_Click();
        return true;
    }
    if (watched == txtSrNo && VoucherForm::proposesSerial(event) && newReturnMode()) {
        try {
            GetSrNo();
        } catch (const AppError &error) {
            showError(error);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBookReceipt::GetCloseForm()
{
    VoucherForm::closePanelOrWindow(this, fraSearch, fraSearch2);
}

void frmBookReceipt::datepickaa()
{
    dtpDate->setDate(QDate::currentDate());
}

void frmBookReceipt::GetCardDetail()
{
    try {
        const auto card = Rules::findCard(Module::open(Module::CompanyDb), txtCardNo->text());
        if (!card) {
            Dialogs::information(QStringLiteral("Invalid Card No."));
            txtCardNo->setFocus();
            return;
        }
        showLookedUpCard(*card);
        txtAccessionNo->setFocus();
    } catch (const AppError &error) {
        showError(error);
    }
}

void frmBookReceipt::showLookedUpCard(const Rules::CardDetail &card)
{
    VoucherForm::showCard(this, card);
    txtCardNo->setText(plain(card.cardNo));
    box("txtRemarks")->setText(card.remarks);
}

void frmBookReceipt::GetSrNo()
{
    VoucherForm::proposeSerial(
        txtSrNo, Rules::nextSerial(Module::open(Module::CompanyDb), Rules::ReceiptType));
}

void frmBookReceipt::GetBookDetail()
{
    Database &db = Module::open(Module::CompanyDb);
    const auto book = Rules::findBook(db, txtAccessionNo->text());
    if (!book || !book->isLent()) {
        Dialogs::information(NotIssuedText);
        txtAccessionNo->setFocus();
        return;
    }
    box("txtBookID")->setText(plain(book->bookId));
    // A loaded return typed onto another copy closes that copy's loan: its holder's card is the
    // return's, and the fine is that card's group's.
    if (!newReturnMode() && book->cardId != Numbers::leadingValue(box("txtCardID")->text())) {
        if (const auto holder = Rules::findCardById(db, book->cardId))
            showLookedUpCard(*holder);
    }
    const QDate issued = ReturnRules::loanIssueDate(db, *book);
    txtAccessionNo->setText(book->accessionNo);
    VoucherForm::showBook(this, *book);
    box("txtIssueID")->setText(plain(book->issueId));
    const auto returned = dtpDate->checkedDate();
    if (!returned)
        return;
    const qint64 days = ReturnRules::daysBetween(issued, *returned);
    box("txtDaysDelayed")->setText(QString::number(days));
    const auto fine = ReturnRules::finePerDay(db, Numbers::leadingValue(box("txtGroupID")->text()));
    if (fine)
        box("txtTotalFine")->setText(plain(ReturnRules::fineFor(*fine, double(days))));
    box("txtDaysDelayed")->setFocus();
}

bool frmBookReceipt::GetCheckBookStatus()
{
    const auto book = Rules::findBook(Module::open(Module::CompanyDb), txtAccessionNo->text());
    if (newReturnMode() && book && !book->isLent()) {
        Dialogs::critical(NotIssuedText);
        txtAccessionNo->setFocus();
        return false;
    }
    return true;
}

bool frmBookReceipt::GetCheckBookPerson()
{
    if (!newReturnMode())
        return true;
    const auto book = Rules::findBookById(Module::open(Module::CompanyDb),
                                          Numbers::leadingValue(box("txtBookID")->text()));
    if (book && book->cardId != Numbers::leadingValue(box("txtCardID")->text())) {
        Dialogs::critical(NotThisPersonText);
        txtAccessionNo->setFocus();
        return false;
    }
    return true;
}

void frmBookReceipt::GetSavedRecord()
{
    if (saving_)
        return;
    saving_ = true;
    const auto done = qScopeGuard([this] { saving_ = false; });
    try {
        const auto returned = dtpDate->checkedDate();
        if (!returned)
            return;
        ReturnRules::ReceiptEntry entry;
        entry.voucherId = newReturnMode() ? 0 : Numbers::leadingValue(box("txtVoucherID")->text());
        entry.date = *returned;
        entry.srNo = txtSrNo->text();
        entry.cardNo = txtCardNo->text();
        entry.accessionNo = txtAccessionNo->text();
        entry.card.cardId = Numbers::leadingValue(box("txtCardID")->text());
        entry.card.groupName = box("txtGroupName")->text();
        entry.card.name = box("txtName")->text();
        entry.card.rollNo = box("txtRollNo")->text();
        entry.card.contact1 = box("txtContact1")->text();
        entry.card.contact2 = box("txtContact2")->text();
        entry.book.bookId = Numbers::leadingValue(box("txtBookID")->text());
        entry.book.title = box("txtTitle")->text();
        entry.book.author = box("txtAuthor")->text();
        entry.book.subject = box("txtSubject")->text();
        entry.book.publisher = box("txtPublisher")->text();
        entry.book.edition = box("txtEdition")->text();
        entry.book.year = box("txtYear")->text();
        entry.book.pages = box("txtPages")->text();
        entry.book.vol = box("txtVol")->text();
        entry.issueId = Numbers::leadingValue(box("txtIssueID")->text());
        entry.daysDelayed = box("txtDaysDelayed")->text();
        entry.totalFine = box("txtTotalFine")->text();
        entry.fineReceiptNo = box("txtFineReceiptNo")->text();
        entry.remarks = box("txtRemarks1")->text();

        const auto result = ReturnRules::saveReceipt(Module::open(Module::CompanyDb), entry);
        using ReturnRules::Refusal;
        switch (result.refusal) {
        case Refusal::None:
            break;
        case Refusal::EnterAccessionNo:
            Dialogs::information(QStringLiteral("Enter Accession No."));
            return;
        case Refusal::EnterCardNo:
            Dialogs::information(QStringLiteral("Enter Card No."));
            return;
        case Refusal::NotIssued:
            Dialogs::critical(NotIssuedText);
            txtAccessionNo->setFocus();
            return;
        case Refusal::InvalidCard:
            Dialogs::information(QStringLiteral("Invalid Card No."));
            txtCardNo->setFocus();
            return;
        case Refusal::CardNotLookedUp:
            Dialogs::information(QStringLiteral("The card shown is not card No. %1.\rPress Enter "
                                                "in Card No. to look it up.")
                                     .arg(txtCardNo->text()));
            txtCardNo->setFocus();
            return;
        case Refusal::BookNotLookedUp:
            Dialogs::information(QStringLiteral("The book shown is not Accession No. %1.\rPress "
                                                "Enter in Accession No. to look it up.")
                                     .arg(txtAccessionNo->text()));
            txtAccessionNo->setFocus();
            return;
        case Refusal::NotThisPerson:
            Dialogs::critical(NotThisPersonText);
            txtAccessionNo->setFocus();
            return;
        case Refusal::NotStorable: {
            const auto [name, caption] = numberBox(result.box);
            VoucherForm::refuseNumber(box(name), caption,
                                      result.box == ReturnRules::NumberBox::TotalFine
                                          ? VoucherForm::StoredNumber::Fine
                                          : VoucherForm::StoredNumber::Whole);
            return;
        }
        case Refusal::LentAgain:
            Dialogs::critical(LentAgainText +
                              QStringLiteral("The return can't be moved to another book."));
            txtAccessionNo->setFocus();
            return;
        }
        box("txtVoucherID")->setText(plain(result.voucherId));

        VoucherForm::afterSave([this] { GetPrintRecord(); }, QStringLiteral("Book has been Receipt"),
                               QStringLiteral("The return printout could not be prepared.\r"),
                               [this] { GetCleanBox(); }, ReceiptPrintout::TemplatePath);
    } catch (const AppError &error) {
        showError(error);
    }
}

void frmBookReceipt::GetCleanBox()
{
    for (const char *name :
         {"txtCardNo",   "txtSrNo",      "txtDaysDelayed", "txtTotalFine", "txtFineReceiptNo",
          "txtRemarks1", "txtVoucherID", "txtIssueID",     "txtGroupName", "txtRollNo",
          "txtName",     "txtContact1",  "txtContact2",    "txtRemarks",   "txtTitle",
          "txtAuthor",   "txtSubject",   "txtPublisher",   "txtEdition",   "txtYear",
          "txtPages",    "txtVol"})
        box(name)->clear();
    cmdsave->setCaption(SaveCaption);
    cmdDelete->setEnabled(false);
    dtpDate->typeAnew();
}

void frmBookReceipt::LvLoadCardSerch()
{
    fraSearch->reload();
}

void frmBookReceipt::LvLoadBookSerch()
{
    fraSearch2->reload();
}

void frmBookReceipt::GetPrintRecord()
{
    ReceiptPrintout::Slip slip;
    slip.date = dtpDate->date();
    slip.srNo = txtSrNo->text();
    slip.cardNo = txtCardNo->text();
    slip.accessionNo = txtAccessionNo->text();
    slip.groupId = box("txtGroupID")->text();
    slip.groupName = box("txtGroupName")->text();
    slip.name = box("txtName")->text();
    slip.rollNo = box("txtRollNo")->text();
    slip.contact1 = box("txtContact1")->text();
    slip.contact2 = box("txtContact2")->text();
    slip.title = box("txtTitle")->text();
    slip.author = box("txtAuthor")->text();
    slip.subject = box("txtSubject")->text();
    slip.publisher = box("txtPublisher")->text();
    slip.edition = box("txtEdition")->text();
    slip.year = box("txtYear")->text();
    slip.pages = box("txtPages")->text();
    slip.vol = box("txtVol")->text();
    slip.daysDelayed = box("txtDaysDelayed")->text();
    slip.totalFine = box("txtTotalFine")->text();
    slip.fineReceiptNo = box("txtFineReceiptNo")->text();
    slip.remarks = box("txtRemarks1")->text();
    ReceiptPrintout::stage(slip);
}

void frmBookReceipt::GetUserPositionAdd()
{
    RightsCheck::applyAdd(QLatin1String(EntryName), cmdsave);
}

void frmBookReceipt::GetUserPositionModify()
{
    RightsCheck::applyModify(QLatin1String(EntryName), cmdsave, cmdDelete, cmdPrint);
}

void frmBookReceipt::loadVoucher(double key)
{
    Database &db = Module::open(Module::CompanyDb);
    const auto v = ReturnRules::readReceiptVoucher(db, key);
    if (!v)
        return;
    // The voucher keeps only the accession number's value ("12" of "12B"); the copy's own
    // number lets the save find the copy again.
    const auto book = Rules::findBookById(db, v->book.bookId);
    box("txtVoucherID")->setText(plain(v->voucherId));
    dtpDate->setDate(v->date);
    txtSrNo->setText(QString::number(v->srNo));
    txtCardNo->setText(plain(v->card.cardNo));
    txtAccessionNo->setText(book ? book->accessionNo : v->book.accessionNo);
    VoucherForm::showCard(this, v->card);
    VoucherForm::showBook(this, v->book);
    box("txtIssueID")->setText(v->issueId);
    box("txtDaysDelayed")->setText(v->daysDelayed);
    box("txtTotalFine")->setText(v->totalFine);
    box("txtFineReceiptNo")->setText(v->fineReceiptNo);
    box("txtRemarks1")->setText(v->remarks);
    cmdsave->setCaption(UpdateCaption);
    cmdDelete->setEnabled(true);
    dtpDate->setFocus();
    GetUserPositionModify();
}

void frmBookReceipt::cmdDelete_Click()
{
    VoucherForm::deleteVoucher(
        this,
        [](double key) {
            if (ReturnRules::deleteReceipt(Module::open(Module::CompanyDb), key) !=
                ReturnRules::DeleteResult::LentAgain)
                return true;
            Dialogs::critical(LentAgainText + QStringLiteral("The return can't be deleted."));
            return false;
        },
        [this] { GetCleanBox(); });
}

void frmBookReceipt::cmdPrint_Click()
{
    if (!dtpDate->checkedDate())
        return;
    try {
        GetPrintRecord();
        ReportHandOver::showReport(ReceiptPrintout::TemplatePath);
    } catch (const AppError &error) {
        showError(error);
    }
}

void frmBookReceipt::lblLedger_Click()
{
    VoucherForm::openLedger(txtCardNo->text());
}

void frmBookReceipt::cardPicked(const QString &cardNo)
{
    txtCardNo->setText(cardNo);
    GetCardDetail();
    fraSearch->hide();
    txtAccessionNo->setFocus();
}

void frmBookReceipt::bookPicked(const QString &accessionNo)
{
    txtAccessionNo->setText(accessionNo);
    try {
        GetBookDetail();
    } catch (const AppError &error) {
        showError(error);
    }
    fraSearch2->hide();
    txtAccessionNo->setFocus();
}
