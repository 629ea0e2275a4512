#include "circulation/VoucherForm.h"

#include "circulation/CirculationRules.h"
#include "circulation/SearchPanel.h"
#include "circulation/WindowLook.h"
#include "controls/button/StyledButton.h"
#include "core/AppError.h"
#include "core/DateText.h"
#include "core/Dialogs.h"
#include "core/Numbers.h"
#include "ui/DateBox.h"
#include "ui/KeyPreview.h"
#include "ui/ReportHandOver.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <cmath>
#include <optional>

using FormBuilder::kind;

namespace VoucherForm {

namespace {

QLineEdit *box(QWidget *window, const char *name)
{
    return window->findChild<QLineEdit *>(QLatin1String(name));
}

void setBox(QWidget *window, const char *name, const QString &text)
{
    box(window, name)->setText(text);
}

} // namespace

void showError(const AppError &error)
{
    Dialogs::message(error.boxText());
}

QString plain(double value)
{
    return Numbers::plainText(value);
}

void build(QWidget *window, const Shape &shape, std::initializer_list<FormBuilder::Row> formRows,
           std::initializer_list<FormBuilder::Row> keyRows)
{
    FormBuilder::setClientSize(window, 15120, shape.clientHeight);
    window->setFixedSize(window->size());
    const int detailsTop = 720 + shape.formHeight + 120;
    const int buttonsTop = detailsTop + 3480 + 120;
    FormBuilder::build(
        window,
        {
            {kind<QLabel>(), "lblHeader", shape.heading, 0, 0, 15120, 600},
            {kind<QGroupBox>(), "fraForm", "", 120, 720, 14880, shape.formHeight},
            {kind<QLabel>(), "fraForm/lblDate", shape.dateCaption, 240, 180, 2400, 240},
            {kind<DateBox>(), "fraForm/dtpDate", shape.dateCaption, 240, 450, 2400, 390},
            {kind<QLabel>(), "fraForm/lblSrNo", "Sr No.", 2880, 180, 1800, 240},
            {kind<QLineEdit>(), "fraForm/txtSrNo", "", 2880, 450, 1800, 390},
            {kind<QLabel>(), "fraForm/lblCardNo", "Card No.", 4920, 180, 1000, 240},
            {kind<QLabel>(), "fraForm/lblCardSearch", "(F4-Search)", 5940, 180, 1200, 240},
            {kind<QLabel>(), "fraForm/lblLedger", "(See Ledger)", 7140, 180, 1380, 240},
            {kind<QLineEdit>(), "fraForm/txtCardNo", "", 4920, 450, 3600, 390},
            {kind<QLabel>(), "fraForm/lblAccessionNo", "Accession No.", 8760, 180, 1500, 240},
            {kind<QLabel>(), "fraForm/lblAccessionSearch", "(F4-Search)", 10260, 180, 1300, 240},
            {kind<QLineEdit>(), "fraForm/txtAccessionNo", "", 8760, 450, 3600, 390},
        });
    FormBuilder::build(window, formRows);
    FormBuilder::build(
        window,
        {
            {kind<QGroupBox>(), "Frame1", "Student Details", 120, detailsTop, 7320, 3480},
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

            {kind<QGroupBox>(), "Frame3", "Book Details", 7560, detailsTop, 7440, 3480},
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

            {kind<QGroupBox>(), "Frame4", "", 0, 0, 1000 * (4 + int(keyRows.size())), 600},
            {kind<QLineEdit>(), "Frame4/txtVoucherID", "", 0, 0, 900, 300},
            {kind<QLineEdit>(), "Frame4/txtCardID", "", 1000, 0, 900, 300},
            {kind<QLineEdit>(), "Frame4/txtGroupID", "", 2000, 0, 900, 300},
            {kind<QLineEdit>(), "Frame4/txtBookID", "", 3000, 0, 900, 300},
        });
    FormBuilder::build(window, keyRows);
    FormBuilder::build(window,
                       {
                           {kind<QGroupBox>(), "Frame2", "", 120, buttonsTop, 14880, 900},
                           {kind<StyledButton>(), "Frame2/cmdsave", "", 7680, 210, 1320, 480},
                           {kind<StyledButton>(), "Frame2/cmdDelete", "", 9120, 210, 1320, 480},
                           {kind<StyledButton>(), "Frame2/cmdList", "", 10560, 210, 1320, 480},
                           {kind<StyledButton>(), "Frame2/cmdClose", "", 12000, 210, 1320, 480},
                           {kind<StyledButton>(), "Frame2/cmdPrint", "", 13440, 210, 1320, 480},
                       });

    WindowLook::heading(window->findChild<QLabel *>("lblHeader"));
    // What the look-ups and the loader fill is shown, not typed.
    WindowLook::shownNotTyped(window->findChild<QGroupBox *>("Frame1"));
    WindowLook::shownNotTyped(window->findChild<QGroupBox *>("Frame3"));
    window->findChild<QGroupBox *>("Frame4")->hide();

    auto *lblLedger = window->findChild<QLabel *>("lblLedger");
    QPalette link = lblLedger->palette();
    link.setColor(QPalette::WindowText, Qt::blue);
    lblLedger->setPalette(link);
    lblLedger->setCursor(Qt::PointingHandCursor);

    const auto button = [window](const char *name) {
        return window->findChild<StyledButton *>(QLatin1String(name));
    };
    button("cmdsave")->setCaption(SaveCaption);
    button("cmdDelete")->setCaption(QStringLiteral("&Delete"));
    button("cmdDelete")->setEnabled(false);
    button("cmdList")->setCaption(QStringLiteral("&List"));
    button("cmdClose")->setCaption(QStringLiteral("&Close"));
    button("cmdPrint")->setCaption(QStringLiteral("&Print"));
}

void installKeys(QWidget *window, const KeyActions &actions,
                 const QList<QPair<QWidget *, QWidget *>> &chain)
{
    auto *dtpDate = window->findChild<DateBox *>("dtpDate");
    QWidget *txtSrNo = box(window, "txtSrNo");
    QLineEdit *txtCardNo = box(window, "txtCardNo");
    QWidget *txtAccessionNo = box(window, "txtAccessionNo");
    QWidget *cmdsave = window->findChild<StyledButton *>("cmdsave");
    KeyPreview::install(window, [=](QKeyEvent *event) {
        QWidget *focus = QApplication::focusWidget();
        if (event->key() == Qt::Key_Escape) {
            actions.close();
            return true;
        }
        if (focus == cmdsave && KeyPreview::isEnter(event) && event->isAutoRepeat())
            return true; // a held Enter saves once
        if (focus == txtCardNo && event->key() == Qt::Key_F4) {
            actions.cardSearch->open();
            return true;
        }
        if (focus == txtAccessionNo && event->key() == Qt::Key_F4) {
            actions.bookSearch->open();
            return true;
        }
        if (!KeyPreview::isEnter(event))
            return false;
        if (focus && (focus == dtpDate || dtpDate->isAncestorOf(focus))) {
            txtSrNo->setFocus(Qt::TabFocusReason);
            return true;
        }
        for (const auto &[from, to] : chain) {
            if (focus == from) {
                to->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        if (focus == txtCardNo) {
            if (txtCardNo->text().isEmpty()) {
                Dialogs::information(QStringLiteral("Enter Card No."));
                txtCardNo->setFocus();
            } else {
                actions.lookUpCard();
            }
            return true;
        }
        if (focus == txtAccessionNo) {
            try {
                actions.lookUpBook();
            } catch (const AppError &error) {
                showError(error);
            }
            return true;
        }
        return false;
    });
}

bool proposesSerial(QEvent *event)
{
    if (event->type() != QEvent::FocusIn)
        return false;
    switch (static_cast<QFocusEvent *>(event)->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}

void proposeSerial(QLineEdit *txtSrNo, std::optional<qint64> next)
{
    if (next) {
        txtSrNo->setText(QString::number(*next));
        return;
    }
    if (txtSrNo->text().isEmpty())
        Dialogs::information(QStringLiteral("No Sr No. can follow the highest one stored: a "
                                            "voucher keeps no larger number.\rType the Sr No. of "
                                            "this voucher yourself."));
}

void closePanelOrWindow(QWidget *window, SearchPanel *cardSearch, SearchPanel *bookSearch)
{
    if (cardSearch->isVisible())
        cardSearch->hide();
    else if (bookSearch->isVisible())
        bookSearch->hide();
    else if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

void showCard(QWidget *window, const CirculationRules::CardDetail &card)
{
    setBox(window, "txtCardID", plain(card.cardId));
    setBox(window, "txtGroupID", plain(card.groupId));
    setBox(window, "txtGroupName", card.groupName);
    setBox(window, "txtName", card.name);
    setBox(window, "txtRollNo", card.rollNo);
    setBox(window, "txtContact1", card.contact1);
    setBox(window, "txtContact2", card.contact2);
}

void showBook(QWidget *window, const CirculationRules::BookDetail &book)
{
    setBox(window, "txtBookID", plain(book.bookId));
    setBox(window, "txtTitle", book.title);
    setBox(window, "txtAuthor", book.author);
    setBox(window, "txtSubject", book.subject);
    setBox(window, "txtPublisher", book.publisher);
    setBox(window, "txtEdition", book.edition);
    setBox(window, "txtYear", book.year);
    setBox(window, "txtPages", book.pages);
    setBox(window, "txtVol", book.vol);
}

void afterSave(const std::function<void()> &stage, const QString &done, const QString &failureLead,
               const std::function<void()> &clean, const QString &templatePath)
{
    std::optional<AppError> stagingFailure;
    try {
        stage();
    } catch (const AppError &error) {
        stagingFailure = error;
    }
    Dialogs::information(done);
    if (stagingFailure) {
        Dialogs::information(failureLead + stagingFailure->boxText());
        clean();
        return;
    }
    const bool print = Dialogs::askYesNo(QStringLiteral("Do You Want to Print"), QString());
    clean();
    if (print)
        ReportHandOver::showReport(templatePath);
}

void deleteVoucher(QWidget *window, const std::function<bool(double key)> &erase,
                   const std::function<void()> &clean)
{
    const QString question =
        QStringLiteral("Are You Sure To Delete Voucher\r\nSR No. = ") +
        box(window, "txtSrNo")->text() + QStringLiteral(" Dated: ") +
        DateText::toLong(window->findChild<DateBox *>("dtpDate")->date()) +
        QStringLiteral("\r\n  Name : ") + box(window, "txtName")->text() +
        QStringLiteral("\r\nDeleting this voucher will erase all information about this voucher");
    if (!Dialogs::askYesNo(question, QString(), Dialogs::Icon::Critical))
        return;
    try {
        if (!erase(std::trunc(Numbers::leadingValue(box(window, "txtVoucherID")->text()))))
            return;
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        return;
    }
    Dialogs::information(QStringLiteral("Entry Delete"));
    clean();
}

void refuseNumber(QLineEdit *box, const QString &caption, StoredNumber stored)
{
    Dialogs::critical(
        QStringLiteral("The number in %1 cannot be stored as it stands.\r%2")
            .arg(caption,
                 stored == StoredNumber::Fine
                     ? QStringLiteral("Type a fine of at most 15 digits, no more than 10 of them "
                                      "after the point, without an exponent.")
                     : QStringLiteral("Type a whole number in plain digits, without a point "
                                      "or an exponent, between -9223372036854775808 and "
                                      "9223372036854775807.")));
    box->setFocus();
}

void openLedger(const QString &cardNo)
{
    if (!WindowRegistry::isRegistered(QStringLiteral("frmLedger")))
        return;
    QWidget *ledger = WindowRegistry::show(QStringLiteral("frmLedger"));
    if (!ledger)
        return;
    if (auto *box = ledger->findChild<QLineEdit *>(QStringLiteral("txtCardNo")))
        box->setText(cardNo);
    QMetaObject::invokeMethod(ledger, "GetCardDetail");
    QMetaObject::invokeMethod(ledger, "Lv1Load");
}

} // namespace VoucherForm
