#include "catalogue/frmBook.h"

#include "catalogue/BookRules.h"
#include "catalogue/DrawBar.h"
#include "controls/button/StyledButton.h"
#include "core/Colour.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RightsCheck.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>

using FormBuilder::kind;

namespace {

const QString NewCaption = QStringLiteral("&New");
const QString SaveCaption = QStringLiteral("&Save");
const QString UpdateCaption = QStringLiteral("&Update");

// The loaders' and the save's error box: no icon, the program's title.
void errorBox(const AppError &error)
{
    Dialogs::message(error.boxText());
}

Database &companyDb()
{
    return Module::open(Module::CompanyDb);
}

void refuseLentCopy()
{
    Dialogs::critical(QStringLiteral("This Master has been use in Transaction Can't be Deleted"),
                      QStringLiteral("Can't be Delete"));
}

} // namespace

frmBook::frmBook(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("BOOK ENTRY"));
    buildControls();
    installKeys();
    try {
        GetUserPositionAdd();
    } catch (const AppError &error) {
        errorBox(error);
    }
}

void frmBook::buildControls()
{
    FormBuilder::setClientSize(this, 12600, 8100);
    setFixedSize(size());
    const auto L = kind<QLabel>();
    const auto T = kind<QLineEdit>();
    const auto C = kind<QComboBox>();
    const char *const D = "fraBookDetails/";
    const char *const P = "fraPurchase/";
    const auto in = [](const char *container, const char *name) {
        return QLatin1String(container) + QLatin1String(name);
    };
    FormBuilder::build(
        this,
        {
            {L, "lblHeader", "BOOK ENTRY", 0, 0, 12600, 600},
            {kind<QFrame>(), "fraForm", "", 120, 720, 12360, 6000},
            {kind<QGroupBox>(), "fraForm/fraBookDetails", "Books Details", 0, 0, 7800, 6000},
            {kind<QGroupBox>(), "fraForm/fraPurchase", "Purchase / Stock Input / Other Details",
             7920, 0, 4440, 6000},
            {L, in(D, "lblAccessionNo"), "Accession No.", 150, 330, 1440, 270},
            {T, in(D, "txtAccessionNo"), "", 1620, 300, 2100, 330},
            {L, in(D, "lblBarcode"), "Book Barcode No.", 3840, 330, 1680, 270},
            {T, in(D, "txtBarcode"), "", 5550, 300, 2100, 330},
            {L, in(D, "lblTitle"), "Book Title Name", 150, 750, 1440, 270},
            {T, in(D, "txtTitle"), "", 1620, 720, 6030, 330},
            {L, in(D, "lblAuthor"), "Author Name", 150, 1170, 1440, 270},
            {C, in(D, "cboAuthor"), "", 1620, 1140, 6030, 330},
            {L, in(D, "lblPublisher"), "Publisher", 150, 1590, 1440, 270},
            {C, in(D, "cboPublisher"), "", 1620, 1560, 6030, 330},
            {L, in(D, "lblSubject"), "Subject", 150, 2010, 1440, 270},
            {C, in(D, "cboSubject"), "", 1620, 1980, 2100, 330},
            {L, in(D, "lblYear"), "Year", 3840, 2010, 1680, 270},
            {T, in(D, "txtYear"), "", 5550, 1980, 2100, 330},
            {L, in(D, "lblPages"), "Pages", 150, 2430, 1440, 270},
            {T, in(D, "txtPages"), "", 1620, 2400, 2100, 330},
            {L, in(D, "lblEdition"), "Edition", 3840, 2430, 1680, 270},
            {C, in(D, "cboEdition"), "", 5550, 2400, 2100, 330},
            {L, in(D, "lblLocation"), "Location / Rack ", 150, 2850, 1440, 270},
            {T, in(D, "txtLocation"), "", 1620, 2820, 2100, 330},
            {L, in(D, "lblVol"), "Volume", 3840, 2850, 1680, 270},
            {T, in(D, "txtVol"), "", 5550, 2820, 2100, 330},
            {L, in(D, "lblISBN"), "ISBN ", 150, 3270, 1440, 270},
            {T, in(D, "txtISBN"), "", 1620, 3240, 2100, 330},
            {L, in(D, "lblStream"), "Stream", 3840, 3270, 1680, 270},
            {C, in(D, "cboStream"), "", 5550, 3240, 2100, 330},
            {L, in(D, "lblTopic"), "Topic", 150, 3690, 1440, 270},
            {C, in(D, "cboTopic"), "", 1620, 3660, 2100, 330},
            {L, in(D, "lblCategory"), "Category", 3840, 3690, 1680, 270},
            {C, in(D, "cboCategory"), "", 5550, 3660, 2100, 330},
            {L, in(D, "Picture2"), "", 1620, 4200, 6030, 1125},
            {L, in(P, "lblSource"), "Source", 150, 330, 1900, 270},
            {C, in(P, "cboSource"), "", 2100, 300, 2220, 330},
            {L, in(P, "lblCourse"), "Class/Course", 150, 750, 1900, 270},
            {C, in(P, "cboCourse"), "", 2100, 720, 2220, 330},
            {L, in(P, "lblBillNo"), "Bill No.", 150, 1170, 1900, 270},
            {T, in(P, "txtBillNo"), "", 2100, 1140, 2220, 330},
            {L, in(P, "lblDate"), "Date", 150, 1590, 1900, 270},
            {T, in(P, "txtDate"), "", 2100, 1560, 2220, 330},
            {L, in(P, "lblBookNo"), "Book No.", 150, 2010, 1900, 270},
            {T, in(P, "txtBookNo"), "", 2100, 1980, 2220, 330},
            {L, in(P, "lblWithdrawlNo"), "", 150, 2430, 1900, 270},
            {T, in(P, "txtWithdrawlNo"), "", 2100, 2400, 2220, 330},
            {L, in(P, "lblCost"), "Book Cost", 150, 2850, 1900, 270},
            {T, in(P, "txtCost"), "", 2100, 2820, 2220, 330},
            {L, in(P, "lblRemarks"), "Remarks", 150, 3270, 1900, 270},
            {T, in(P, "txtRemarks"), "", 2100, 3240, 2220, 330},
            {L, "lblAvailable", "", 120, 6840, 2000, 300},
            {L, "lblIssueDetail", "", 2200, 6840, 10280, 300},
            {kind<QFrame>(), "Frame2", "", 120, 7260, 12360, 720},
            {kind<StyledButton>(), "Frame2/cmdNew", "", 6600, 90, 1380, 540},
            {kind<StyledButton>(), "Frame2/cmdDelete", "", 8040, 90, 1380, 540},
            {kind<StyledButton>(), "Frame2/cmdList", "", 9480, 90, 1380, 540},
            {kind<StyledButton>(), "Frame2/cmdClose", "", 10920, 90, 1380, 540},
            {kind<QFrame>(), "Frame1", "", 0, 0, 150, 150},
            {T, "Frame1/txtBookID", "", 0, 0, 150, 150},
            {T, "Frame1/txtStatus", "", 0, 0, 150, 150},
            {T, "Frame1/txtIssueID", "", 0, 0, 150, 150},
            {T, "Frame1/txtName", "", 0, 0, 150, 150},
            {T, "Frame1/txtRollNo", "", 0, 0, 150, 150},
            {T, "Frame1/txtCardID", "", 0, 0, 150, 150},
            {T, "Frame1/txtCardNo", "", 0, 0, 150, 150},
            {T, "Frame1/txtIssueDate", "", 0, 0, 150, 150},
        });
    // A label takes its text plainly: one ampersand shows as it stands.
    findChild<QLabel *>("lblWithdrawlNo")->setText(QStringLiteral("Withdrawl No & Date"));
    auto *header = findChild<QLabel *>("lblHeader");
    QFont headerFont = header->font();
    headerFont.setBold(true);
    headerFont.setPointSize(16);
    header->setFont(headerFont);
    header->setAlignment(Qt::AlignCenter);

    fraForm = findChild<QFrame *>("fraForm");
    txtAccessionNo = findChild<QLineEdit *>("txtAccessionNo");
    txtTitle = findChild<QLineEdit *>("txtTitle");
    txtBarcode = findChild<QLineEdit *>("txtBarcode");
    txtBookID = findChild<QLineEdit *>("txtBookID");
    lblAvailable = findChild<QLabel *>("lblAvailable");
    lblIssueDetail = findChild<QLabel *>("lblIssueDetail");
    Picture2 = findChild<QLabel *>("Picture2");
    cmdNew = findChild<StyledButton *>("cmdNew");
    cmdDelete = findChild<StyledButton *>("cmdDelete");

    for (auto *combo : fraForm->findChildren<QComboBox *>()) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    for (auto *box : fraForm->findChildren<QLineEdit *>())
        if (!qobject_cast<QComboBox *>(box->parentWidget()))
            box->setMaxLength(255);
    for (const char *name : {"txtAccessionNo", "txtISBN", "txtBarcode"})
        findChild<QLineEdit *>(name)->setMaxLength(50);

    cmdNew->setCaption(NewCaption);
    cmdDelete->setCaption(QStringLiteral("&Delete"));
    findChild<StyledButton *>("cmdList")->setCaption(QStringLiteral("&List"));
    findChild<StyledButton *>("cmdClose")->setCaption(QStringLiteral("&Close"));
    connect(cmdNew, &StyledButton::Click, this, &frmBook::cmdNew_Click);
    connect(cmdDelete, &StyledButton::Click, this, &frmBook::cmdDelete_Click);
    connect(findChild<StyledButton *>("cmdList"), &StyledButton::Click, this,
            [] { WindowRegistry::show(QStringLiteral("frmBookList")); });
    connect(findChild<StyledButton *>("cmdClose"), &StyledButton::Click, this, [this] {
        if (auto *frame = parentWidget(); frame && frame->inherits("QMdiSubWindow"))
            frame->close();
        else
            close();
    });
    connect(txtBarcode, &QLineEdit::textChanged, this, &frmBook::txtBarcode_Change);
    // A barcode copied from the accession number follows it until the user types a barcode.
    connect(txtBarcode, &QLineEdit::textEdited, this, [this] { barcodeMadeFrom_.clear(); });
    connect(txtAccessionNo, &QLineEdit::textChanged, this, [this](const QString &accessionNo) {
        if (barcodeMadeFrom_.isNull() || txtBarcode->text() != barcodeMadeFrom_)
            return;
        barcodeMadeFrom_ = accessionNo;
        txtBarcode->setText(accessionNo);
    });
    txtAccessionNo->installEventFilter(this);

    fraForm->setEnabled(false);
    cmdDelete->setEnabled(false);
    Picture2->hide();
    findChild<QFrame *>("Frame1")->hide();
}

void frmBook::installKeys()
{
    // The Enter chain and the tab order differ, as the window always had them.
    static const char *const enterOrder[] = {
        "txtAccessionNo", "txtBarcode",  "txtTitle",    "cboAuthor",      "cboPublisher",
        "cboSubject",     "txtYear",     "txtPages",    "cboEdition",     "txtLocation",
        "txtVol",         "txtISBN",     "cboStream",   "cboTopic",       "cboCategory",
        "cboSource",      "cboCourse",   "txtBillNo",   "txtDate",        "txtBookNo",
        "txtWithdrawlNo", "txtCost",     "txtRemarks"};
    static const char *const tabOrder[] = {
        "txtAccessionNo", "txtBarcode", "txtTitle",    "cboPublisher", "cboAuthor",
        "txtYear",        "txtPages",   "cboSubject",  "txtLocation",  "cboEdition",
        "txtISBN",        "cboStream",  "txtVol",      "cboTopic",     "cboCategory",
        "cboSource",      "cboCourse",  "txtBillNo",   "txtDate",      "txtBookNo",
        "txtWithdrawlNo", "txtCost",    "txtRemarks"};
    for (const char *name : enterOrder)
        enterChain_ << findChild<QWidget *>(QLatin1String(name));
    enterChain_ << cmdNew;
    for (size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        setTabOrder(findChild<QWidget *>(QLatin1String(tabOrder[i])),
                    findChild<QWidget *>(QLatin1String(tabOrder[i + 1])));

    QList<QWidget *> coloured;
    for (QWidget *box : enterChain_) {
        const QString name = box->objectName();
        if (box == cmdNew)
            continue;
        if (name == QLatin1String("txtYear") || name == QLatin1String("txtWithdrawlNo"))
            KeyPreview::setBackColour(box, 0xFEF7F3);
        else
            coloured << box;
    }
    KeyPreview::installFocusColours(coloured);

    KeyPreview::install(this, [this](QKeyEvent *event) {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        return enter && event->modifiers() == Qt::NoModifier &&
               enterKey(QApplication::focusWidget());
    });
    KeyPreview::installEscClose(this);
}

bool frmBook::enterKey(QWidget *focus)
{
    if (!focus)
        return false;
    for (int i = 0; i + 1 < enterChain_.size(); ++i) {
        QWidget *box = enterChain_[i];
        if (box != focus && !box->isAncestorOf(focus))
            continue;
        try {
            if (box == txtAccessionNo) {
                const bool mayUse = alreadyAccessionNo();
                if (txtBarcode->text().isEmpty()) {
                    barcodeMadeFrom_ = txtAccessionNo->text();
                    txtBarcode->setText(barcodeMadeFrom_);
                }
                if (!mayUse)
                    return true;
            } else if (box == txtTitle && !alreadyBookName()) {
                return true;
            }
        } catch (const AppError &error) {
            errorBox(error);
            return true;
        }
        // A save button hidden by the rights takes no focus: the focus stays.
        QWidget *next = enterChain_[i + 1];
        if (next->isVisible() && next->isEnabled())
            next->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}

bool frmBook::eventFilter(QObject *watched, QEvent *event)
{
    // The focus coming back from a message box or another window, or put back by a refusal, is
    // no entry into the box: the typed number stays.
    const auto comesBack = [&] {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        return keepTypedAccessionNo_ || reason == Qt::ActiveWindowFocusReason ||
               reason == Qt::PopupFocusReason;
    };
    if (watched == txtAccessionNo && event->type() == QEvent::FocusIn && isSaveMode() &&
        !comesBack()) {
        try {
            GetBookNo();
        } catch (const AppError &error) {
            errorBox(error);
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString frmBook::mode() const
{
    return cmdNew->caption();
}

bool frmBook::isSaveMode() const
{
    return cmdNew->caption() == SaveCaption;
}

QString frmBook::boxText(const char *control) const
{
    if (auto *combo = findChild<QComboBox *>(QLatin1String(control)))
        return combo->currentText();
    return findChild<QLineEdit *>(QLatin1String(control))->text();
}

void frmBook::setBoxText(const char *control, const QString &text)
{
    if (auto *combo = findChild<QComboBox *>(QLatin1String(control)))
        combo->setEditText(text);
    else
        findChild<QLineEdit *>(QLatin1String(control))->setText(text);
}

void frmBook::CleanBox()
{
    for (const BookRules::BookColumn &column : BookRules::bookColumns())
        setBoxText(column.control, QString());
    barcodeMadeFrom_.clear();
    lblAvailable->clear();
    lblIssueDetail->clear();
    cmdNew->setCaption(NewCaption);
    fraForm->setEnabled(false);
    cmdDelete->setEnabled(false);
}

void frmBook::ida()
{
    txtBookID->setText(Numbers::plainText(BookRules::nextBookID(companyDb())));
}

void frmBook::GetBookNo()
{
    txtAccessionNo->setText(BookRules::proposeAccessionNo(companyDb()));
}

bool frmBook::recordentry()
{
    if (!BookRules::isLent(companyDb(), Numbers::leadingValue(txtBookID->text())))
        return true;
    refuseLentCopy();
    return false;
}

bool frmBook::alreadyAccessionNo()
{
    if (!isSaveMode() || !BookRules::accessionNoStored(companyDb(), txtAccessionNo->text()))
        return true;
    refuseStoredAccessionNo();
    return false;
}

void frmBook::refuseStoredAccessionNo()
{
    Dialogs::critical(QStringLiteral("Accession No. Already Exits"));
    const QScopedValueRollback keep(keepTypedAccessionNo_, true);
    txtAccessionNo->setFocus();
}

bool frmBook::alreadyBookName()
{
    if (!isSaveMode() || !BookRules::titleStored(companyDb(), txtTitle->text()))
        return true;
    Dialogs::critical(QStringLiteral("Book Title Already Exits"));
    txtTitle->setFocus();
    return false;
}

void frmBook::GetUserPositionAdd()
{
    RightsCheck::applyAdd(QStringLiteral("Book"), cmdNew);
}

void frmBook::GetUserPositionModify()
{
    RightsCheck::applyModify(QStringLiteral("Book"), cmdNew, cmdDelete);
}

void frmBook::cmdNew_Click()
{
    if (cmdNew->caption() == NewCaption) {
        fraForm->setEnabled(true);
        cmdNew->setCaption(SaveCaption);
        txtAccessionNo->setFocus();
        return;
    }
    try {
        save();
    } catch (const AppError &error) {
        errorBox(error);
    }
}

void frmBook::save()
{
    if (txtAccessionNo->text().isEmpty()) {
        Dialogs::information(QStringLiteral("Enter Accession No."));
        txtAccessionNo->setFocus();
        return;
    }
    if (txtTitle->text().isEmpty()) {
        Dialogs::information(QStringLiteral("Enter Title"));
        txtTitle->setFocus();
        return;
    }
    const bool isNew = isSaveMode();
    BookRules::BookRecord book;
    for (const BookRules::BookColumn &column : BookRules::bookColumns())
        book[QLatin1String(column.column)] = boxText(column.control);
    // A new copy's accession number is tested and its key taken inside the save, where no other
    // program can store the same number or take the same key meanwhile.
    if (!BookRules::saveBook(companyDb(), book,
                             isNew ? BookRules::SaveMode::New : BookRules::SaveMode::Change)) {
        refuseStoredAccessionNo();
        return;
    }
    Dialogs::information(QStringLiteral("New Book has been Added"));
    CleanBox();
}

void frmBook::cmdDelete_Click()
{
    try {
        if (!recordentry())
            return;
        if (!Dialogs::askYesNo(QStringLiteral("Are You Sure To Delete this Book")))
            return;
        // Another program may have lent the copy while the question was open.
        if (!BookRules::deleteBook(companyDb(), Numbers::leadingValue(txtBookID->text()))) {
            refuseLentCopy();
            return;
        }
        Dialogs::information(QStringLiteral("Book Deleted Sucessfully"));
        CleanBox();
    } catch (const AppError &error) {
        errorBox(error);
    }
}

void frmBook::loadRecord(double key)
{
    if (const auto book = BookRules::loadBook(companyDb(), key)) {
        barcodeMadeFrom_.clear();
        for (const BookRules::BookColumn &column : BookRules::bookColumns())
            setBoxText(column.control, book->value(QLatin1String(column.column)));
        lblAvailable->setText(book->value(QStringLiteral("Status")));
        lblIssueDetail->setText(BookRules::issueDetail(*book));
    }
    cmdNew->setCaption(UpdateCaption);
    cmdDelete->setEnabled(true);
    fraForm->setEnabled(true);
    txtAccessionNo->setFocus();
    GetUserPositionModify();
}

void frmBook::txtBarcode_Change()
{
    Picture2->show();
    const QImage picture =
        DrawBar::DrawBarcode(txtBarcode->text(), Picture2->height(), Picture2->font());
    if (picture.isNull()) {
        Picture2->clear();
        return;
    }
    // A long code is shown smaller rather than cut off; the sticker keeps its full size.
    const int room = Picture2->parentWidget()->width() - Picture2->x() - 8;
    QPixmap shown = QPixmap::fromImage(picture);
    if (shown.width() > room)
        shown = shown.scaled(room, shown.height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Picture2->resize(shown.width(), Picture2->height());
    Picture2->setPixmap(shown);
}
