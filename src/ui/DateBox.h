#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>
#include <array>
#include <optional>

// The date box of every window: "dd-MM-yyyy", English month names, a calendar to pick from, and
// typing as a librarian types. Digits fill the part under the caret (the day when the box was
// entered by Tab or Enter, or all of it is selected), then the parts after it; "-", "/", "." or a
// space end a part. No part is capped by the others while the date is typed: the whole date is
// taken when the year has four digits, when the box is left or when the window asks for it. A date
// that does not exist or lies outside the limits (minimum and maximum date) is said in a box that
// names the date box; the box keeps what was typed and date() keeps the last good date.
class DateBox : public QDateEdit
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit DateBox(QWidget *parent = nullptr);

    // The label's text, as the messages name the box.
    QString caption() const { return caption_; }
    void setCaption(const QString &caption) { caption_ = caption; }

    // For the window that uses the date: the typed date taken into date(); or, for a date that
    // does not exist or is outside the limits, nothing after saying so and giving the box the
    // focus.
    std::optional<QDate> checkedDate();

    // Takes a typed whole date within the limits into date(), saying nothing; false while the box
    // shows one that cannot be taken.
    bool takeTyped();

    // Gives the box the focus so that the next digits type a new date from the day.
    void typeAnew();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    enum class Fault { None, NotADate, OutsideLimits };

    void typeText(const QString &text);
    void typeDigit(QChar digit);
    void endPart();
    void eraseDigit();
    void startAtDay();
    void continueFromCaret();
    int partAt(int position) const;
    int partStart(int part) const;
    std::optional<QDate> typedDate() const;
    Fault fault() const;
    void report(Fault fault);
    void showParts(bool placeCaret = true);
    void followShownDate();
    bool shownByUs() const;
    void reportOnLeaving();
    void setPending(bool pending);
    void stepFromCaret();

    QString caption_;
    std::array<QString, 3> parts_; // day, month, year as shown
    int part_ = 0;                 // the part the next digit goes into
    int typedInPart_ = 0;          // digits typed into it; none: the next digit replaces it
    bool partJustFilled_ = false;  // a separator now only confirms the part that filled up
    bool pending_ = false;         // the box shows a typed date not yet taken into date()
    bool taking_ = false;
    bool followingSections_ = true; // the editor follows the caret from section to section
    bool reported_ = false;
    bool focusedBefore_ = false;
    QString shown_;      // the text this box last wrote
    int caretSeen_ = -1; // where it left the caret and the selection
    int selectionSeen_ = -1;
    int selectionLengthSeen_ = 0;
};
