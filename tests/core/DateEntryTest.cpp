#include "QtPrinters.h"

#include "core/DateEntry.h"
#include "core/DateText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Next = DateEntry::Next;
using Placement = DateEntry::Placement;

DateEntry typed(const QString &start, const QString &keys)
{
    DateEntry entry(start);
    entry.startNewDate();
    entry.type(keys);
    return entry;
}

// The first line of a paste that is not blank, trimmed: written here apart from the class.
QString lineOf(const QString &clipboard)
{
    QString line;
    for (const QChar c : clipboard + QLatin1Char('\n')) {
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            if (!line.trimmed().isEmpty())
                return line.trimmed();
            line.clear();
        } else {
            line += c;
        }
    }
    return QString();
}

bool isWholePart(const QString &text, int start, int end)
{
    for (int i = start; i < end; ++i)
        if (DateEntry::isSeparator(text[i]))
            return false;
    return (start == 0 || DateEntry::isSeparator(text[start - 1])) &&
           (end == text.size() || DateEntry::isSeparator(text[end]));
}

// Checks one input against the text before it: the new text is the old one with one span
// replaced by what was put in, and the caret stands right after it. Returns what is wrong.
QString replacedWrongly(const DateEntry &before, const DateEntry &after, const QString &putIn,
                        bool pasted)
{
    const QString &old = before.text();
    const QString &now = after.text();
    const int caret = after.caret();
    if (after.hasSelection())
        return "a selection left";
    if (now.contains(u'\n') || now.contains(u'\r'))
        return "a line break shown";
    // The box's own "-" may stand before a digit typed after a full day or month.
    for (const QString &block : {putIn, QStringLiteral("-") + putIn}) {
        const int start = caret - int(block.size());
        const int end = int(old.size()) - (int(now.size()) - caret);
        if (start < 0 || end < start || now.mid(start, block.size()) != block ||
            now.left(start) != old.left(start) || now.mid(caret) != old.mid(end))
            continue;
        if (block != putIn && (pasted || !putIn.front().isDigit() || end != old.size()))
            return "a separator put in where none was due";
        const QString replaced = old.mid(start, end - start);
        if (before.hasSelection()) {
            if (start == before.selectionStart() && end - start == before.selectionLength())
                return QString();
            return "other than the selection replaced";
        }
        if (before.next() == Next::NewDate)
            return start == 0 && end == old.size() ? QString() : "a new date over part of the text";
        if (pasted && DateText::readTyped(putIn))
            return start == 0 && end == old.size() ? QString()
                                                   : "a pasted date over part of the text";
        if (replaced.isEmpty())
            return before.next() == Next::Insert || DateEntry::isSeparator(putIn.front()) ||
                           isWholePart(old, start, end)
                       ? QString()
                       : "the part at a placed caret not retyped";
        if (replaced.size() == 1 && DateEntry::isSeparator(replaced.front()) &&
            DateEntry::isSeparator(putIn.front()) && !pasted)
            return QString();
        if (isWholePart(old, start, end) && (pasted ? before.next() == Next::RetypePart : true))
            return QString();
        return "replaced " + replaced;
    }
    return "what was put in is not before the caret, or more changed";
}

QString erasedWrongly(const DateEntry &before, const DateEntry &after, bool backwards)
{
    const QString &old = before.text();
    QString expected = old;
    if (before.hasSelection()) {
        expected.remove(before.selectionStart(), before.selectionLength());
        return after.text() == expected && after.caret() == before.selectionStart()
                   ? QString()
                   : "not the selection erased";
    }
    for (const int skip : {0, 1}) {
        const int at = backwards ? before.caret() - 1 - skip : before.caret() + skip;
        if (at < 0 || at >= old.size())
            continue;
        if (skip && !DateEntry::isSeparator(old[backwards ? at + 1 : at - 1]))
            continue;
        QString erased = old;
        erased.remove(at, 1);
        if (after.text() == erased && after.caret() == at)
            return QString();
    }
    return "other than the character next to the caret erased";
}

} // namespace

TEST(DateEntryTest, DigitsAloneGiveTheDateLook)
{
    EXPECT_EQ(typed("10-12-2026", "15062027").text(), "15-06-2027");
    EXPECT_EQ(typed("10-12-2026", "15").text(), "15");
    EXPECT_EQ(typed("10-12-2026", "150").text(), "15-0");
    EXPECT_EQ(typed("10-12-2026", "5/6/2028").text(), "5/6/2028");
    EXPECT_EQ(typed("10-12-2026", "15/06/2027").text(), "15/06/2027");
    EXPECT_EQ(typed("10-12-2026", "150620277").text(), "15-06-20277");
    EXPECT_EQ(typed("10-12-2026", "12-Jan-2027").text(), "12-Jan-2027");
    EXPECT_EQ(typed("10-12-2026", "1O-06-2027").text(), "1O-06-2027");
    EXPECT_EQ(typed("10-12-2026", "13 January 2027").text(), "13 January 2027");
    EXPECT_TRUE(typed("10-12-2026", "15062027").atFullYear());
    EXPECT_FALSE(typed("10-12-2026", "150620").atFullYear());
}

TEST(DateEntryTest, APlacedCaretRetypesItsPartAndASelectionIsReplacedExactly)
{
    DateEntry entry("10-12-2026");
    entry.place(4, 4, Placement::Click); // in the month
    entry.type("07");
    EXPECT_EQ(entry.text(), "10-07-2026");
    entry.place(4, 4, Placement::Keys);
    entry.type("Jan");
    EXPECT_EQ(entry.text(), "10-Jan-2026");
    // A separator at a placed caret keeps the part and retypes the next one.
    entry.place(1, 1, Placement::Keys);
    entry.type("/27");
    EXPECT_EQ(entry.text(), "10/27-2026");

    entry = DateEntry("10-12-2026");
    entry.place(5, 3, Placement::Click); // a drag over the month
    entry.type("07");
    EXPECT_EQ(entry.text(), "10-07-2026");
    entry = DateEntry("31-03-2027");
    entry.place(3, 5, Placement::Keys);
    entry.type("11");
    EXPECT_EQ(entry.text(), "31-11-2027");

    // Full parts go on into the parts after them, retyping them.
    entry = DateEntry("10-12-2026");
    entry.place(0, 0, Placement::Keys);
    entry.type("2107202");
    EXPECT_EQ(entry.text(), "21-07-202");
    // A click after the text is a new date; End is a caret in the year.
    entry.place(9, 9, Placement::Click);
    entry.type("1");
    EXPECT_EQ(entry.text(), "1");
    entry = DateEntry("10-12-2026");
    entry.place(10, 10, Placement::Keys);
    entry.type("2030");
    EXPECT_EQ(entry.text(), "10-12-2030");
}

TEST(DateEntryTest, APasteIsItsFirstLineTrimmedInOnePiece)
{
    DateEntry entry("10-12-2026");
    entry.startNewDate();
    EXPECT_TRUE(entry.paste("  15-06-2027  "));
    EXPECT_EQ(entry.text(), "15-06-2027");
    EXPECT_TRUE(entry.atFullYear());
    entry.place(1, 1, Placement::Click); // the day
    EXPECT_TRUE(entry.paste("\n 13-Jan-27\r\nsecond line"));
    EXPECT_EQ(entry.text(), "13-Jan-27");
    entry.place(4, 4, Placement::Click);
    EXPECT_TRUE(entry.paste("Feb\n"));
    EXPECT_EQ(entry.text(), "13-Feb-27");
    EXPECT_FALSE(entry.paste(" \n\t\n"));
    EXPECT_EQ(entry.text(), "13-Feb-27");
    entry.place(3, 6, Placement::Keys);
    EXPECT_TRUE(entry.paste("15-06-2027"));
    EXPECT_EQ(entry.text(), "13-15-06-2027-27"); // a selection is replaced as it stands
}

TEST(DateEntryTest, BackspaceAndDeleteReachOverALoneSeparator)
{
    DateEntry entry("15-06-2028");
    entry.place(2, 2, Placement::Keys);
    EXPECT_TRUE(entry.erase(false));
    EXPECT_EQ(entry.text(), "15-6-2028");
    EXPECT_EQ(entry.caret(), 3);
    EXPECT_TRUE(entry.erase(true));
    EXPECT_EQ(entry.text(), "1-6-2028");
    entry = DateEntry("15--");
    EXPECT_TRUE(entry.erase(true));
    EXPECT_EQ(entry.text(), "15-");
    EXPECT_TRUE(entry.erase(true));
    EXPECT_EQ(entry.text(), "15");
    entry.place(0, 0, Placement::Keys);
    EXPECT_FALSE(entry.erase(true));
    entry.place(0, 2, Placement::Keys);
    EXPECT_TRUE(entry.erase(true));
    EXPECT_EQ(entry.text(), "");
    EXPECT_FALSE(entry.erase(false));
}

// Thousands of input sequences as a librarian's hands make them: after every input the characters
// put in stand in the text just before the caret, nothing changed but what they replace, and no
// line break is ever shown.
TEST(DateEntryTest, ARandomWalkOfInputsKeepsEveryCharacterWhereItWasPut)
{
    std::mt19937 random(20261210);
    const auto pick = [&](int size) { return int(random() % unsigned(size)); };
    const QString keys = QStringLiteral("0123456789012345678901234567890123-/. JanFebDecOoal");
    const QStringList pastes = {"15-06-2027",
                                " 15-06-2027",
                                "  15-06-2027  ",
                                "13-Jan-27",
                                "01-Nov-26\n",
                                "\n15-06-2027\n16-06-2027",
                                "07",
                                "Jan",
                                "2027 ",
                                "13 January 2027",
                                "\t12/01/2027\r\n",
                                "",
                                " \n ",
                                "1O-06-2027",
                                "x"};
    int inputs = 0;
    for (int sequence = 0; sequence < 4000; ++sequence) {
        DateEntry entry(DateText::toLong(QDate(2020 + pick(10), 1 + pick(12), 1 + pick(28))));
        if (pick(2))
            entry.startNewDate();
        const int length = 1 + pick(24);
        QString trail;
        for (int step = 0; step < length; ++step, ++inputs) {
            const DateEntry before = entry;
            QString wrong;
            const int size = int(entry.text().size());
            switch (pick(10)) {
            case 0: {
                const QString clip = pastes[pick(int(pastes.size()))];
                trail += " paste[" + clip + "]";
                const bool pasted = entry.paste(clip);
                if (pasted != !lineOf(clip).isEmpty())
                    wrong = "a paste refused or taken wrongly";
                else if (!pasted)
                    wrong = entry == before ? QString() : "changed by nothing pasted";
                else
                    wrong = replacedWrongly(before, entry, lineOf(clip), true);
                break;
            }
            case 1: {
                const bool backwards = pick(2);
                trail += backwards ? " BS" : " Del";
                if (entry.erase(backwards))
                    wrong = erasedWrongly(before, entry, backwards);
                else if (!(entry == before) || before.hasSelection())
                    wrong = "nothing erased yet changed";
                break;
            }
            case 2: {
                const int caret = pick(size + 1);
                const int anchor = pick(3) ? caret : pick(size + 1);
                const auto how = pick(2) ? Placement::Click : Placement::Keys;
                trail += QString(" place(%1,%2)").arg(caret).arg(anchor);
                entry.place(caret, anchor, how);
                if (entry.text() != before.text())
                    wrong = "a caret moved the text";
                break;
            }
            case 3:
                trail += " new";
                entry.startNewDate();
                break;
            default: {
                const QChar c = keys[pick(int(keys.size()))];
                trail += QStringLiteral(" ") + c;
                entry.type(QString(c));
                wrong = replacedWrongly(before, entry, QString(c), false);
                break;
            }
            }
            ASSERT_TRUE(wrong.isEmpty())
                << wrong.toStdString() << ": [" << before.text().toStdString() << "] -> ["
                << entry.text().toStdString() << "] after" << trail.toStdString();
            ASSERT_GE(entry.caret(), 0);
            ASSERT_LE(entry.caret(), entry.text().size());
        }
    }
    EXPECT_GT(inputs, 40000);
}
