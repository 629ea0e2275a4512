#pragma once

#include "ui/FormBuilder.h"

#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>

class AppError;
class QEvent;
class QLineEdit;
class QWidget;
class SearchPanel;

namespace CirculationRules {
struct BookDetail;
struct CardDetail;
} // namespace CirculationRules

// What the issue and the return windows share: the control table around the date, the card and
// the book, its look and keys, and the steps both take the same way. Controls are found by their
// names, which both windows keep.
namespace VoucherForm {

// The save button's caption is the window's mode.
inline const QString SaveCaption = QStringLiteral("&Save");
inline const QString UpdateCaption = QStringLiteral("&Update");

// Failures of the look-ups, the save and the loader: no icon, the program's title.
void showError(const AppError &error);
QString plain(double value);

struct Shape
{
    QString heading;     // "BOOK ISSUE"
    QString dateCaption; // "Date Of Issue"
    int formHeight;      // fraForm, in twips; the details and the buttons sit below it
    int clientHeight;    // the window, in twips
};

// Builds the window's controls in their tab order: the first row of fraForm, the window's own
// rows of fraForm, the student and book details, the hidden keys (the window's own after
// txtBookID) and the buttons; then gives them their look. The buttons get their captions; the
// window connects them.
void build(QWidget *window, const Shape &shape, std::initializer_list<FormBuilder::Row> formRows,
           std::initializer_list<FormBuilder::Row> keyRows);

struct KeyActions
{
    std::function<void()> close;        // Esc
    std::function<void()> lookUpCard;   // Enter in a filled card box
    std::function<void()> lookUpBook;   // Enter in the accession box; its AppError is shown
    SearchPanel *cardSearch = nullptr;  // F4 in the card box
    SearchPanel *bookSearch = nullptr;  // F4 in the accession box
};

// Esc, F4 and Enter: Enter in the date moves to txtSrNo, along chain, or looks up the card or the
// book; an Enter held on the save button saves once.
void installKeys(QWidget *window, const KeyActions &actions,
                 const QList<QPair<QWidget *, QWidget *>> &chain);

// True for a focus the user gave txtSrNo (a key or a click), so the serial is proposed: not when
// the window or a message box gives the focus back, or a failing proposal's box would come again
// each time it closes, and a refused number the user typed would be replaced.
bool proposesSerial(QEvent *event);

// The proposed serial into txtSrNo. When none follows the highest stored, the box is left to the
// user: an empty box is told so, once for each voucher, and a typed number stays.
void proposeSerial(QLineEdit *txtSrNo, std::optional<qint64> next);

// Hides the card panel, else the book panel, else closes the window.
void closePanelOrWindow(QWidget *window, SearchPanel *cardSearch, SearchPanel *bookSearch);

// The card's keys and texts into the window's boxes (not its number or remarks).
void showCard(QWidget *window, const CirculationRules::CardDetail &card);
// The book's key and texts into the window's boxes (not its accession number).
void showBook(QWidget *window, const CirculationRules::BookDetail &book);

// After a committed save: stages the printout, says done, offers to print and empties the window.
// A printout that cannot be staged is its own failure, after done, prefixed by failureLead.
void afterSave(const std::function<void()> &stage, const QString &done, const QString &failureLead,
               const std::function<void()> &clean, const QString &templatePath);

// Asks before deleting the loaded voucher, deletes it through erase (given its key) and empties
// the window. Erase returns false when it refused the delete, having said why: the window stays.
void deleteVoucher(QWidget *window, const std::function<bool(double key)> &erase,
                   const std::function<void()> &clean);

// What a voucher column keeps of a typed number.
enum class StoredNumber {
    Whole, // a whole number in 64 bits
    Fine,  // at most 15 digits, no more than 10 after the point
};
// Says that the number in the box cannot be stored as it stands, naming the box by its caption and
// what it takes, and gives the box the focus.
void refuseNumber(QLineEdit *box, const QString &caption, StoredNumber stored);

// Opens the ledger on the card number; until the ledger is built the link leads nowhere.
void openLedger(const QString &cardNo);

} // namespace VoucherForm
