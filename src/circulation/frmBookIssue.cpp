#include "circulation/frmBookIssue.h"

#include "circulation/CirculationRules.h"
#include "circulation/IssuePrintout.h"
#include "circulation/SearchPanel.h"
#include "controls/button/StyledButton.h"
#include "core/Colour.h"
#include "core/DateText.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordLoader.h"
#include "ui/ReportHandOver.h"
#include "ui/RightsCheck.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScopeGuard>
#include <cmath>

using FormBuilder::kind;
namespace Rules = CirculationRules;

namespace {

const QString SaveCaption = QStringLiteral("&Save");
const QString UpdateCaption = QStringLiteral("&Update");
const QString LimitText = QStringLiteral("Book Can't be issue this Student\r\rBecause this card  "
                                         "Max Book Limit Cross to issue books against");

// Failures of the look-ups, the save and the loader: no icon, the program's title.
void showError(const AppError &error)
{
    Dialogs::message(error.boxText());
}

QString plain(double value)
{
    return Numbers::plainText(value);
}

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
    FormBuilder::setClientSize(this, 15120, 6720);
    setFixedSize(size());
    FormBuilder::build(
        this,
        {
            {kind<QLabel>(), "lblHeader", "BOOK ISSUE", 0, 0, 15120, 600},
            {kind<QGroupBox>(), "fraForm", "", 120, 720, 14880, 1080},
            {kind<QLabel>(), "fraForm/lblDate", "Date Of Issue", 240, 180, 2400, 240},
            {kind<QDateEdit>(), "fraForm/dtpDate", "", 240, 450, 2400, 390},
            {kind<QLabel>(), "fraForm/lblSrNo", "Sr No.", 2880, 180, 1800, 240},
            {kind<QLineEdit>(), "fraForm/txtSrNo", "", 2880, 450, 1800, 390},
            {kind<QLabel>(), "fraForm/lblCardNo", "Card No.", 4920, 180, 1000, 240},
            {kind<QLabel>(), "fraForm/lblCardSearch", "(F4-Search)", 5940, 180, 1200, 240},
            {kind<QLabel>(), "fraForm/lblLedger", "(See Ledger)", 7140, 180, 1380, 240},
            {kind<QLineEdit>(), "fraForm/txtCardNo", "", 4920, 450, 3600, 390},
            {kind<QLabel>(), "fraForm/lblAccessionNo", "Accession No.", 8760, 180, 1500, 240},
            {kind<QLabel>(), "fraForm/lblAccessionSearch", "(F4-Search)", 10260, 180, 1300, 240},
            {kind<QLineEdit>(), "fraForm/txtAccessionNo", "", 8760, 450, 3600, 390},

            {kind<QGroupBox>(), "Frame1", "Student Details", 120, 1920, 7320, 3480},
            {kind<QLabel>(), "Frame1/lblGroupName", "Group", 240, 405, 1500, 300},
            {kind<QLineEdit>(), "Frame1/txtGroupName", "", 1800, 360, 5280, 360},
            {kind<QLabel>(), "Frame1/lblName", "Name", 240, 915, 1500, 300},
            {kind<QLineEdit>(), "Frame1/txtName", "", 1800, 870, 5280, 360},
            {kind<QLabel>(), "Frame1/lblRollNo", "Roll No.", 240, 1425, 1500, 300},
            {kind<QLineEdit>(), "Frame1/txtRollNo", "", 1800, 1380, 5280, 360},
            {kind<QLabel>(), "Frame1/lblContact1", "Contact No. 1", 240, 1935, 1500, 300},
            {kind<QLineEdit>(), "Frame1/txtContact1", "", 1800, 1890, 5280, 360},
            {kind<QLabel>(), "Frame1/lblContact2", "Contact No. 2", 240, 2445, 1500, 300},
            {kind<QLineEdit>(), "Frame1/txtContact2", "", 1800, 2400, 5280, 360},
            {kind<QLabel>(), "Frame1/lblRemarks", "Remarks", 240, 2955, 1500, 300},
            {kind<QLineEdit>(), "Frame1/txtRemarks", "", 1800, 2910, 5280, 360},

            {kind<QGroupBox>(), "Frame3", "Book Details", 7560, 1920, 7440, 3480},
            {kind<QLabel>(), "Frame3/lblTitle", "Title", 240, 405, 1500, 300},
            {kind<QLineEdit>(), "Frame3/txtTitle", "", 1800, 360, 5400, 360},
            {kind<QLabel>(), "Frame3/lblAuthor", "Author", 240, 915, 1500, 300},
            {kind<QLineEdit>(), "Frame3/txtAuthor", "", 1800, 870, 5400, 360},
            {kind<QLabel>(), "Frame3/lblSubject", "Subject", 240, 1425, 1500, 300},
            {kind<QLineEdit>(), "Frame3/txtSubject", "", 1800, 1380, 5400, 360},
            {kind<QLabel>(), "Frame3/lblPublisher", "Publisher", 240, 1935, 1500, 300},
            {kind<QLineEdit>(), "Frame3/txtPublisher", "", 1800, 1890, 5400, 360},
            {kind<QLabel>(), "Frame3/lblEdition", "Edition", 240, 2445, 1500, 300},
            {kind<QLineEdit>(), "Frame3/txtEdition", "", 1800, 2400, 1800, 360},
            {kind<QLabel>(), "Frame3/lblYear", "Year", 3840, 2445, 900, 300},
            {kind<QLineEdit>(), "Frame3/txtYear", "", 4800, 2400, 2400, 360},
            {kind<QLabel>(), "Frame3/lblPages", "Pages", 240, 2955, 1500, 300},
            {kind<QLineEdit>(), "Frame3/txtPages", "", 1800, 2910, 1800, 360},
            {kind<QLabel>(), "Frame3/lblVol", "Vol", 3840, 2955, 900, 300},
            {kind<QLineEdit>(), "Frame3/txtVol", "", 4800, 2910, 2400, 360},

            {kind<QGroupBox>(), "Frame4", "", 0, 0, 4000, 600},
            {kind<QLineEdit>(), "Frame4/txtVoucherID", "", 0, 0, 900, 300},
            {kind<QLineEdit>(), "Frame4/txtCardID", "", 1000, 0, 900, 300},
            {kind<QLineEdit>(), "Frame4/txtGroupID", "", 2000, 0, 900, 300},
            {kind<QLineEdit>(), "Frame4/txtBookID", "", 3000, 0, 900, 300},

            {kind<QGroupBox>(), "Frame2", "", 120, 5520, 14880, 900},
            {kind<StyledButton>(), "Frame2/cmdsave", "", 7680, 210, 1320, 480},
            {kind<StyledButton>(), "Frame2/cmdDelete", "", 9120, 210, 1320, 480},
            {kind<StyledButton>(), "Frame2/cmdList", "", 10560, 210, 1320, 480},
            {kind<StyledButton>(), "Frame2/cmdClose", "", 12000, 210, 1320, 480},
            {kind<StyledButton>(), "Frame2/cmdPrint", "", 13440, 210, 1320, 480},
        });

    dtpDate = findChild<QDateEdit *>("dtpDate");
    txtSrNo = box("txtSrNo");
    txtCardNo = box("txtCardNo");
    txtAccessionNo = box("txtAccessionNo");
    lblLedger = findChild<QLabel *>("lblLedger");
    cmdsave = findChild<StyledButton *>("cmdsave");
    cmdDelete = findChild<StyledButton *>("cmdDelete");
    cmdList = findChild<StyledButton *>("cmdList");
    cmdClose = findChild<StyledButton *>("cmdClose");
    cmdPrint = findChild<StyledButton *>("cmdPrint");

    auto *header = findChild<QLabel *>("lblHeader");
    header->setAlignment(Qt::AlignCenter);
    header->setAutoFillBackground(true);
    QPalette band = header->palette();
    band.setColor(QPalette::Window, Colour::toQColor(0xDFB33E));
    band.setColor(QPalette::WindowText, Qt::white);
    header->setPalette(band);
    QFont headerFont(QStringLiteral("Calibri"), 16);
    headerFont.setBold(true);
    header->setFont(headerFont);

    dtpDate->setLocale(QLocale(QLocale::English));
    dtpDate->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    dtpDate->setCalendarPopup(true);
    // What the look-ups and the loader fill is shown, not typed.
    findChild<QGroupBox *>("Frame1")->setEnabled(false);
    findChild<QGroupBox *>("Frame3")->setEnabled(false);
    findChild<QGroupBox *>("Frame4")->hide();

    QPalette link = lblLedger->palette();
    link.setColor(QPalette::WindowText, Qt::blue);
    lblLedger->setPalette(link);
    lblLedger->setCursor(Qt::PointingHandCursor);
    lblLedger->installEventFilter(this);
    txtSrNo->installEventFilter(this);

    cmdsave->setCaption(SaveCaption);
    cmdDelete->setCaption(QStringLiteral("&Delete"));
    cmdDelete->setEnabled(false);
    cmdList->setCaption(QStringLiteral("&List"));
    cmdClose->setCaption(QStringLiteral("&Close"));
    cmdPrint->setCaption(QStringLiteral("&Print"));
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
    KeyPreview::install(this, [this](QKeyEvent *event) {
        QWidget *focus = QApplication::focusWidget();
        if (event->key() == Qt::Key_Escape) {
            GetCloseForm();
            return true;
        }
        if (focus == cmdsave && KeyPreview::isEnter(event) && event->isAutoRepeat())
            return true; // a held Enter saves once
        if (focus == txtCardNo && event->key() == Qt::Key_F4) {
            fraSearch->open();
            return true;
        }
        if (focus == txtAccessionNo && event->key() == Qt::Key_F4) {
            fraSearch2->open();
            return true;
        }
        if (!KeyPreview::isEnter(event))
            return false;
        if (focus && (focus == dtpDate || dtpDate->isAncestorOf(focus))) {
            txtSrNo->setFocus(Qt::TabFocusReason);
        } else if (focus == txtSrNo) {
            txtCardNo->setFocus(Qt::TabFocusReason);
        } else if (focus == txtCardNo) {
            if (txtCardNo->text().isEmpty()) {
                Dialogs::information(QStringLiteral("Enter Card No."));
                txtCardNo->setFocus();
            } else {
                GetCardDetail();
            }
        } else if (focus == txtAccessionNo) {
            try {
                GetBookDetail();
                GetCheckBookStatus();
            } catch (const AppError &error) {
                showError(error);
            }
        } else {
            return false;
        }
        return true;
    });
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
    if (watched == txtSrNo && event->type() == QEvent::FocusIn && newIssueMode()) {
        // Not when the window or a message box gives the focus back: a failing proposal's box
        // would otherwise come again each time it closes.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            try {
                GetSrNo();
            } catch (const AppError &error) {
                showError(error);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBookIssue::GetCloseForm()
{
    if (fraSearch->isVisible())
        fraSearch->hide();
    else if (fraSearch2->isVisible())
        fraSearch2->hide();
    else if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
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
        box("txtCardID")->setText(plain(card->cardId));
        txtCardNo->setText(plain(card->cardNo));
        box("txtGroupID")->setText(plain(card->groupId));
        box("txtGroupName")->setText(card->groupName);
        if (const auto maxBooks = Rules::groupMaxBooks(db, card->groupId))
            groupMaxBooks_ = *maxBooks;
        box("txtRollNo")->setText(card->rollNo);
        box("txtName")->setText(card->name);
        box("txtContact1")->setText(card->contact1);
        box("txtContact2")->setText(card->contact2);
        box("txtRemarks")->setText(card->remarks);
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
    txtSrNo->setText(plain(Rules::nextSerial(Module::open(Module::CompanyDb), Rules::IssueType)));
}

void frmBookIssue::GetBookDetail()
{
    const auto book = Rules::findBook(Module::open(Module::CompanyDb), txtAccessionNo->text());
    if (!book) {
        Dialogs::information(QStringLiteral("Accession No. is Not Valid"));
        txtAccessionNo->setFocus();
        return;
    }
    box("txtBookID")->setText(plain(book->bookId));
    txtAccessionNo->setText(book->accessionNo);
    box("txtTitle")->setText(book->title);
    box("txtAuthor")->setText(book->author);
    box("txtSubject")->setText(book->subject);
    box("txtPublisher")->setText(book->publisher);
    box("txtEdition")->setText(book->edition);
    box("txtYear")->setText(book->year);
    box("txtPages")->setText(book->pages);
    box("txtVol")->setText(book->vol);
    cmdsave->setFocus();
}

bool frmBookIssue::GetCheckBookStatus()
{
    const auto book = Rules::findBook(Module::open(Module::CompanyDb), txtAccessionNo->text());
    if (book && !Rules::mayLend(*book, loadedVoucherKey())) {
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
        const Rules::IssueEntry entry{loadedVoucherKey(), dtpDate->date(),
                                      Numbers::leadingValue(txtSrNo->text()), txtCardNo->text(),
                                      txtAccessionNo->text()};
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
        }
        // The boxes show what was written, so the printout is the voucher as stored.
        const Rules::IssueVoucher &v = result.voucher;
        box("txtVoucherID")->setText(plain(v.voucherId));
        box("txtCardID")->setText(plain(v.card.cardId));
        box("txtGroupID")->setText(plain(v.card.groupId));
        box("txtGroupName")->setText(v.card.groupName);
        box("txtName")->setText(v.card.name);
        box("txtRollNo")->setText(v.card.rollNo);
        box("txtContact1")->setText(v.card.contact1);
        box("txtContact2")->setText(v.card.contact2);
        box("txtRemarks")->setText(v.remarks);
        box("txtBookID")->setText(plain(v.book.bookId));
        box("txtTitle")->setText(v.book.title);
        box("txtAuthor")->setText(v.book.author);
        box("txtSubject")->setText(v.book.subject);
        box("txtPublisher")->setText(v.book.publisher);
        box("txtEdition")->setText(v.book.edition);
        box("txtYear")->setText(v.book.year);
        box("txtPages")->setText(v.book.pages);
        box("txtVol")->setText(v.book.vol);

        // The issue stands once committed; a printout that cannot be staged is its own failure.
        std::optional<AppError> stagingFailure;
        try {
            GetPrintRecord();
        } catch (const AppError &error) {
            stagingFailure = error;
        }
        Dialogs::information(QStringLiteral("Book has been Issued"));
        if (stagingFailure) {
            Dialogs::information(QStringLiteral("The issue printout could not be prepared.\r") +
                                 stagingFailure->boxText());
            GetCleanBox();
            return;
        }
        const bool print = Dialogs::askYesNo(QStringLiteral("Do You Want to Print"), QString());
        GetCleanBox();
        if (print)
            ReportHandOver::showReport(IssuePrintout::TemplatePath);
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
    dtpDate->setFocus();
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
    txtSrNo->setText(plain(v->srNo));
    box("txtCardID")->setText(plain(v->card.cardId));
    txtCardNo->setText(plain(v->card.cardNo));
    txtAccessionNo->setText(book ? book->accessionNo : plain(v->accessionNo));
    box("txtGroupID")->setText(plain(v->card.groupId));
    box("txtGroupName")->setText(v->card.groupName);
    box("txtName")->setText(v->card.name);
    box("txtRollNo")->setText(v->card.rollNo);
    box("txtContact1")->setText(v->card.contact1);
    box("txtContact2")->setText(v->card.contact2);
    box("txtRemarks")->setText(v->remarks);
    box("txtBookID")->setText(plain(v->book.bookId));
    box("txtTitle")->setText(v->book.title);
    box("txtAuthor")->setText(v->book.author);
    box("txtSubject")->setText(v->book.subject);
    box("txtPublisher")->setText(v->book.publisher);
    box("txtEdition")->setText(v->book.edition);
    box("txtYear")->setText(v->book.year);
    box("txtPages")->setText(v->book.pages);
    box("txtVol")->setText(v->book.vol);
    cmdsave->setCaption(UpdateCaption);
    cmdDelete->setEnabled(true);
    dtpDate->setFocus();
    GetUserPositionModify();
}

void frmBookIssue::cmdDelete_Click()
{
    const QString question =
        QStringLiteral("Are You Sure To Delete Voucher\r\nSR No. = ") + txtSrNo->text() +
        QStringLiteral(" Dated: ") + DateText::toLong(dtpDate->date()) +
        QStringLiteral("\r\n  Name : ") + box("txtName")->text() +
        QStringLiteral("\r\nDeleting this voucher will erase all information about this voucher");
    if (!Dialogs::askYesNo(question, QString(), Dialogs::Icon::Critical))
        return;
    try {
        Rules::deleteIssue(Module::open(Module::CompanyDb),
                           std::trunc(Numbers::leadingValue(box("txtVoucherID")->text())));
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        return;
    }
    Dialogs::information(QStringLiteral("Entry Delete"));
    GetCleanBox();
}

void frmBookIssue::cmdPrint_Click()
{
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
    // The ledger is a window of its own; until it is built the link leads nowhere.
    if (!WindowRegistry::isRegistered(QStringLiteral("frmLedger")))
        return;
    QWidget *ledger = WindowRegistry::show(QStringLiteral("frmLedger"));
    if (!ledger)
        return;
    if (auto *cardNo = ledger->findChild<QLineEdit *>(QStringLiteral("txtCardNo")))
        cardNo->setText(txtCardNo->text());
    QMetaObject::invokeMethod(ledger, "GetCardDetail");
    QMetaObject::invokeMethod(ledger, "Lv1Load");
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
