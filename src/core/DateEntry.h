#pragma once

#include <QDate>
#include <QString>

#include <algorithm>
#include <cstdlib>

// The typing rules of a date box, apart from the widget: the text shown, the caret, the selection
// and what one input makes of them. Every way text enters the box (keys, an input method, a paste,
// a middle click, a drop) comes through type() or paste(): what the box shows is what was typed,
// every character where it was typed, and nothing the box kept from before in its place.
//
// A part is a run of characters between separators ("-", "/", "." or a space): day, month, year.
// - A new date (the box entered, its whole text selected, a click after the text) is typed over
//   the whole text.
// - A caret placed in a part (a click, Home, End, the arrow keys) retypes that part: the first
//   character typed there replaces the part's characters.
// - A selection is replaced by exactly what is typed over it.
// - A day or a month of two digits is full: a digit typed at its end goes on into the part after
//   it and retypes it, putting a "-" before it when there is none, so that digits alone give the
//   dd-MM-yyyy look.
// - A separator typed at the end of a part takes the place of the separator after it, and the
//   part after it is retyped.
// - A paste is its first line that is not blank, without the blanks around it, put in as one
//   piece: over the selection, else over the whole text when it is a new date or reads as a date
//   on its own, else over the part at a placed caret, else at the caret.
// - Backspace and Delete erase the selection, else the character next to the caret, reaching
//   over a lone separator between two parts to the character beyond it.
class DateEntry
{
public:
    // What the next character typed does.
    enum class Next { Insert, RetypePart, NewDate };
    enum class Placement { Keys, Click };

    DateEntry() = default;
    // A date shown whole, the next typing a new date.
    explicit DateEntry(const QString &text);

    const QString &text() const { return text_; }
    int caret() const { return caret_; }
    int anchor() const { return anchor_; }
    int selectionStart() const { return std::min(caret_, anchor_); }
    int selectionLength() const { return std::abs(caret_ - anchor_); }
    bool hasSelection() const { return caret_ != anchor_; }
    Next next() const { return next_; }

    // The whole text selected, a new date to follow.
    void startNewDate();
    // A date the box took: typing goes on after its year, where a digit more is seen.
    void showTaken(const QString &text);
    // The caret and selection the user moved to, by keys or by the mouse.
    void place(int caret, int anchor, Placement how);
    // After a step: the caret at the start of the part stepped, which the next digits retype; or
    // the whole date selected again.
    void placeAtPart(int part);

    // One key's text or an input method's commit, character by character.
    void type(const QString &characters);
    // False when there is nothing to paste.
    bool paste(const QString &clipboard);
    // False when there is nothing to erase.
    bool erase(bool backwards);

    // The part (0 day, 1 month, 2 year; more after extra separators) a position lies in.
    int partAt(int position) const;
    // The part an arrow steps: the one at the caret, the day for a new date.
    int partToStep() const;
    // The caret at the end of the text, after a year of four digits.
    bool atFullYear() const;
    // The caret at the end of the text, after a year that is not empty: a separator there ends
    // the date.
    bool atEndOfYear() const;

    static bool isSeparator(QChar c);
    // A part stepped as the arrows always did: within its own range, the day within the month.
    static QDate stepped(const QDate &date, int part, int steps);

    bool operator==(const DateEntry &) const = default;

private:
    void typeCharacter(QChar c);
    void replace(int start, int length, const QString &with);
    int partStart(int position) const;
    int partEnd(int position) const;

    QString text_;
    int caret_ = 0;
    int anchor_ = 0;
    Next next_ = Next::NewDate;
};
