#include "circulation/frmBookIssue.h"

#include "circulation/CirculationRules.h"
#include "circulation/IssuePrintout.h"
#include "circulation/SearchPanel.h"
#include "circulation/VoucherForm.h"
#include "controls/button/StyledButton.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "ui/DateBox.h"
#include "ui/RecordLoader.h"
#include "ui/ReportHandOver.h"
#include "ui/RightsCheck.h"
#include "ui/WindowRegistry.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

namespace Rules = CirculationRules;

namespace {

using VoucherForm::plain;
using VoucherForm::SaveCaption;
using VoucherForm::showError;
using VoucherForm::UpdateCaption;

const QString LimitText = QStringLiteral("Book Can't be issue this Student\r\rBecause this card  "
                                         "Max Book Limit Cross to issue books against");

} // namespace

frmBookIssue::frmBookIssue(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Book Issue"));
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

void frmBookIssue::buildControls()
{
    VoucherForm::build(this, {"BOOK ISSUE", "Date Of Issue", 1080, 6720}, {}, {});

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

    lblLedger->installEventFilter(this);
    txtSrNo->installEventFilter(this);

    connect(cmdsave, &StyledButton::Click, this, &frmBookIssue::GetSavedRecord);
    connect(cmdDelete, &StyledButton::Click, this, &frmBookIssue::cmdDelete_Click);
    connect(cmdList, &StyledButton::Click, this,
            [] { WindowRegistry::show(QStringLiteral("frmBookIssueRegister")); });
    connect(cmdClose, &StyledButton::Click, this, &frmBookIssue::GetCloseForm);
    connect(cmdPrint, &StyledButton::Click, this, &frmBookIssue::cmdPrint_Click);

    fraSearch = new SearchPanel(SearchPanel::Kind::Card, this, 480, 1920);
    fraSearch2 = new SearchPanel(SearchPanel::Kind::Book, this, 6240, 1920);
    connect(fraSearch, &SearchPanel::picked, this, &frmBookIssue::cardPicked);
    connect(fraSearch2, &SearchPanel::picked, this, &frmBookIssue::bookPicked);
}

void frmBookIssue::installKeys()
{
    VoucherForm::installKeys(this,
                             {[this] { GetCloseForm(); }, [this] { GetCardDetail(); },
                              [this] {
                                  GetBookDetail();
                                  GetCheckBookStatus();
                              },
                              fraSearch, fraSearch2},
                             {{txtSrNo, txtCardNo}});
}

QLineEdit *frmBookIssue::box(const char *name) const
{
    return findChild<QLineEdit *>(QLatin1String(name));
}

bool frmBookIssue::newIssueMode() const
{
    return cmdsave->caption() == SaveCaption;
}

double frmBookIssue::loadedVoucherKey() const
{
    return newIssueMode() ? 0 : Numbers::leadingValue(box("txtVoucherID")->text());
}

bool frmBookIssue::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblLedger && event->type() == QEvent::MouseButtonPress) {
        lblLedger_Click();
        return true;
    }
    if (watched == txtSrNo && VoucherForm::proposesSerial(event) && newIssueMode()) {
        try {
            GetSrNo();
        } catch (const AppError &error) {
            showError(error);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBookIssue::GetCloseForm()
{
    VoucherForm::closePanelOrWindow(this, fraSearch, fraSearch2);
}

void frmBookIssue::LvLoadCardSerch()
{
    fraSearch->reload();
}

void frmBookIssue::LvLoadBookSerch()
{
    fraSearch2->reload();
}

void frmBookIssue::datepickaa()
{
    dtpDate->setDate(QDate::currentDate());
}

void frmBookIssue::GetCardDetail()
{
    try {
        Database &db = Module::open(Module::CompanyDb);
        const auto card = Rules::findCard(db, txtCardNo->text());
        if (!card) {
            Dialogs::information(QStringLiteral("Invalid Card No."));
            txtCardNo->setFocus();
            return;
        }
        VoucherForm::showCard(this, *card);
        txtCardNo->setText(plain(card->cardNo));
        box("txtRemarks")->setText(card->remarks);
        if (const auto maxBooks = Rules::groupMaxBooks(db, card->groupId))
            groupMaxBooks_ = *maxBooks;
        if (GetCheckTotalIssBook())
            txtAccessionNo->setFocus();
    } catch (const AppError &error) {
        showError(error);
    }
}

bool frmBookIssue::GetCheckTotalIssBook()
{
    cardIssuedCount_ = Rules::booksHeld(Module::open(Module::CompanyDb),
                                        Numbers::leadingValue(box("txtCardID")->text()));
    if (newIssueMode() && Rules::limitReached(cardIssuedCount_, groupMaxBooks_)) {
        Dialogs::critical(LimitText);
        txtCardNo->setFocus();
        return false;
    }
    return true;
}

void frmBookIssue::GetSrNo()
{
    VoucherForm::proposeSerial(
        txtSrNo, Rules::nextSerial(Module::open(Module::CompanyDb), Rules::IssueType));
}

void frmBookIssue::GetBookDetail()
{
    const auto book = Rules::findBook(Module::open(Module::CompanyDb), txtAccessionNo->text());
    if (!book) {
        Dialogs::information(QStringLiteral("Accession No. is Not Valid"));
        txtAccessionNo->setFocus();
        return;
    }
    VoucherForm::showBook(this, *book);
    txtAccessionNo->setText(book->accessionNo);
    cmdsave->setFocus();
}

bool frmBookIssue::GetCheckBookStatus()
{
    Database &db = Module::open(Module::CompanyDb);
    const auto book = Rules::findBook(db, txtAccessionNo->text());
    const double key = loadedVoucherKey();
    // A returned voucher being corrected lends nothing, so a copy out on a later loan is no bar.
    if (book && !Rules::mayLend(*book, key) && !(key > 0 && Rules::isReturned(db, key))) {
        Dialogs::critical(QStringLiteral("Book has been already issued"));
        txtAccessionNo->setFocus();
        return false;
    }
    return true;
}

void frmBookIssue::GetSavedRecord()
{
    if (saving_)
        return;
    saving_ = true;
    const auto done = qScopeGuard([this] { saving_ = false; });
    try {
        const auto issued = dtpDate->checkedDate();
        if (!issued)
            return;
        const Rules::IssueEntry entry{loadedVoucherKey(), *issued, txtSrNo->text(),
                                      txtCardNo->text(), txtAccessionNo->text()};
        const Rules::IssueResult result = Rules::saveIssue(Module::open(Module::CompanyDb), entry);
        switch (result.refusal) {
        case Rules::Refusal::None:
            break;
        case Rules::Refusal::EnterAccessionNo:
            Dialogs::information(QStringLiteral("Enter Accession No."));
            return;
        case Rules::Refusal::EnterCardNo:
            Dialogs::information(QStringLiteral("Enter Card No."));
            return;
        case Rules::Refusal::InvalidCard:
            Dialogs::information(QStringLiteral("Invalid Card No."));
            txtCardNo->setFocus();
            return;
        case Rules::Refusal::InvalidBook:
            Dialogs::information(QStringLiteral("Accession No. is Not Valid"));
            txtAccessionNo->setFocus();
            return;
        case Rules::Refusal::AlreadyIssued:
            Dialogs::critical(QStringLiteral("Book has been already issued"));
            txtAccessionNo->setFocus();
            return;
        case Rules::Refusal::LimitReached:
            Dialogs::critical(LimitText);
            txtCardNo->setFocus();
            return;
        case Rules::Refusal::NotStorable:
            VoucherForm::refuseNumber(txtSrNo, QStringLiteral("Sr No."),
                                      VoucherForm::StoredNumber::Whole);
            return;
        }
        // The boxes show what was written, so the printout is the voucher as stored.
        const Rules::IssueVoucher &v = result.voucher;
        box("txtVoucherID")->setText(plain(v.voucherId));
        txtSrNo->setText(QString::number(v.srNo));
        VoucherForm::showCard(this, v.card);
        box("txtRemarks")->setText(v.remarks);
        VoucherForm::showBook(this, v.book);
        VoucherForm::afterSave([this] { GetPrintRecord(); }, QStringLiteral("Book has been Issued"),
                               QStringLiteral("The issue printout could not be prepared.\r"),
                               [this] { GetCleanBox(); }, IssuePrintout::TemplatePath);
    } catch (const AppError &error) {
        showError(error);
    }
}

void frmBookIssue::GetCleanBox()
{
    for (const char *name :
         {"txtCardNo", "txtSrNo", "txtVoucherID", "txtGroupName", "txtRollNo", "txtName",
          "txtContact1", "txtContact2", "txtRemarks", "txtTitle", "txtAuthor", "txtPublisher",
          "txtSubject", "txtEdition", "txtYear", "txtPages", "txtVol"})
        box(name)->clear();
    cmdsave->setCaption(SaveCaption);
    cmdDelete->setEnabled(false);
    dtpDate->typeAnew();
}

void frmBookIssue::GetPrintRecord()
{
    IssuePrintout::Slip slip;
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
    slip.bookId = box("txtBookID")->text();
    slip.title = box("txtTitle")->text();
    slip.author = box("txtAuthor")->text();
    slip.subject = box("txtSubject")->text();
    slip.publisher = box("txtPublisher")->text();
    slip.edition = box("txtEdition")->text();
    slip.year = box("txtYear")->text();
    slip.pages = box("txtPages")->text();
    slip.vol = box("txtVol")->text();
    IssuePrintout::stage(slip);
}

void frmBookIssue::GetUserPositionAdd()
{
    RightsCheck::applyAdd(QLatin1String(EntryName), cmdsave);
}

void frmBookIssue::GetUserPositionModify()
{
    RightsCheck::applyModify(QLatin1String(EntryName), cmdsave, cmdDelete, cmdPrint);
}

void frmBookIssue::loadVoucher(double key)
{
    Database &db = Module::open(Module::CompanyDb);
    const auto v = Rules::readIssueVoucher(db, key);
    if (!v)
        return;
    // The voucher keeps only the accession number's value ("12" of "12B"); the copy's own
    // number lets the save find the copy again.
    const auto book = Rules::findBookById(db, v->book.bookId);
    box("txtVoucherID")->setText(plain(v->voucherId));
    dtpDate->setDate(v->date);
    txtSrNo->setText(QString::number(v->srNo));
    txtCardNo->setText(plain(v->card.cardNo));
    txtAccessionNo->setText(book ? book->accessionNo : plain(v->accessionNo));
    VoucherForm::showCard(this, v->card);
    box("txtRemarks")->setText(v->remarks);
    VoucherForm::showBook(this, v->book);
    cmdsave->setCaption(UpdateCaption);
    cmdDelete->setEnabled(true);
    dtpDate->setFocus();
    GetUserPositionModify();
}

void frmBookIssue::cmdDelete_Click()
{
    VoucherForm::deleteVoucher(
        this,
        [](double key) {
            Rules::deleteIssue(Module::open(Module::CompanyDb), key);
            return true;
        },
        [this] { GetCleanBox(); });
}

void frmBookIssue::cmdPrint_Click()
{
    if (!dtpDate->checkedDate())
        return;
    try {
        GetPrintRecord();
        ReportHandOver::showReport(IssuePrintout::TemplatePath);
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}

void frmBookIssue::lblLedger_Click()
{
    VoucherForm::openLedger(txtCardNo->text());
}

void frmBookIssue::cardPicked(const QString &cardNo)
{
    txtCardNo->setText(cardNo);
    GetCardDetail();
    fraSearch->hide();
    txtAccessionNo->setFocus();
}

void frmBookIssue::bookPicked(const QString &accessionNo)
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

void LoadIssueVoucherForUpdate()
{
    RecordLoader::load<frmBookIssue>(QStringLiteral("frmBookIssue"), &frmBookIssue::loadVoucher);
}
