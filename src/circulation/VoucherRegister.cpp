#include "circulation/VoucherRegister.h"

#include "circulation/CirculationRules.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/PrintingStage.h"

namespace VoucherRegister {

namespace {

const QString &typeOf(Kind kind)
{
    return kind == Kind::Issue ? CirculationRules::IssueType : CirculationRules::ReceiptType;
}

QString shownDate(const QString &stored)
{
    const QDate date = DateText::parse(stored);
    return date.isValid() ? DateText::toLong(date) : stored;
}

} // namespace

QString templatePath(Kind kind)
{
    return kind == Kind::Issue ? QStringLiteral("Reports/BookIssueRegister.rpt")
                               : QStringLiteral("Reports/BookReceiveRegister.rpt");
}

ListRows load(Database &db, Kind kind, const DateRange &range, const ListFilter::Filter &first,
              const ListFilter::Filter &second)
{
    // The day after the last one as an open bound also takes a date stored with a time.
    QVariantList values{typeOf(kind), DateText::toIso(range.from),
                        DateText::toIso(range.to.addDays(1))};
    const QString firstTest = ListFilter::sqlTest(first, values);
    const QString secondTest = ListFilter::sqlTest(second, values);
    const QString lastCells = kind == Kind::Issue
                                  ? QStringLiteral("Author")
                                  : QStringLiteral("DaysDelayed, TotalFine, FineReceiptNo");
    Recordset rs = db.query(
        QStringLiteral("SELECT VoucherID, \"Date\", SrNO, CardNo, AccessionNo, Name, RollNo, "
                       "title, %1 FROM Voucher WHERE TransactionType = ? AND \"Date\" >= ? AND "
                       "\"Date\" < ? AND %2 AND %3 ORDER BY \"Date\", SrNO")
            .arg(lastCells, firstTest, secondTest),
        values);
    // The texts go straight from the rows read into the list's compact form.
    ListRows rows;
    const int columns = rs.columnCount();
    for (; !rs.eof(); rs.moveNext()) {
        rows.startRow();
        rs.addDisplayText(0, rows);
        rows.addText(shownDate(rs.displayText(1)));
        const QString srNo = rs.displayText(2);
        rows.addText(srNo.isEmpty() ? QStringLiteral("0") : srNo);
        for (int i = 3; i < columns; ++i)
            rs.addDisplayText(i, rows);
    }
    return rows;
}

std::optional<DateRange> financialYear(Database &db)
{
    std::optional<DateRange> limits;
    for (Recordset rs = db.query(QStringLiteral("SELECT StartDate, EndDate FROM FinancialYear"));
         !rs.eof(); rs.moveNext()) {
        const DateRange year{DateText::parse(rs.text(QStringLiteral("StartDate"))),
                             DateText::parse(rs.text(QStringLiteral("EndDate")))};
        if (year.from.isValid() && year.to.isValid())
            limits = year;
    }
    return limits;
}

std::optional<QDate> latestDate(Database &db, Kind kind)
{
    const QVariant latest =
        kind == Kind::Issue
            ? db.scalar(
                  QStringLiteral("SELECT Max(\"Date\") FROM Voucher WHERE TransactionType = ?"),
                  {CirculationRules::IssueType})
            : db.scalar(QStringLiteral("SELECT Max(\"Date\") FROM Voucher"));
    const QDate date = DateText::parse(latest.toString());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

void stage(const std::vector<Row> &rows, const QString &heading, const DateRange &range)
{
    const QString dates =
        DateText::toLong(range.from) + QStringLiteral(" To ") + DateText::toLong(range.to);
    ReportHandOver::PrintingStage printing(ReportHandOver::CompanyHeader::Short);
    qint64 number = 0;
    for (const Row &row : rows) {
        QList<QPair<QString, QVariant>> fields;
        for (qsizetype i = 1; i < row.size(); ++i)
            fields.append({QStringLiteral("T%1").arg(i), row[i]});
        fields.append({QStringLiteral("T16"), heading});
        fields.append({QStringLiteral("T17"), dates});
        fields.append({QStringLiteral("N1"), ++number});
        printing.addRow(fields);
    }
    printing.commit();
}

} // namespace VoucherRegister
