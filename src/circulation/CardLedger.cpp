#include "circulation/CardLedger.h"

#include "circulation/CirculationRules.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/PrintingStage.h"

namespace CardLedger {

namespace {

QString shownDate(const QString &stored, int thisYear)
{
    if (stored.isEmpty())
        return stored;
    const QDate date = DateText::parse(stored, thisYear);
    return date.isValid() ? DateText::toLong(date) : stored;
}

} // namespace

std::vector<Row> load(Database &db, double cardId, const VoucherRegister::DateRange &range)
{
    // One statement instead of one return query per issue; an issue with several returns shows
    // the one written first. The unary pluses keep the type and date index out of the plan: a
    // card has a few vouchers, a wide range of dates a hundred thousand.
    Recordset rs = db.query(
        QStringLiteral(
            "SELECT i.VoucherID, i.Author, i.title, i.AccessionNo, i.\"Date\", r.\"Date\", "
            "r.DaysDelayed, r.TotalFine, r.FineReceiptNo, r.Remarks FROM Voucher i "
            "LEFT JOIN Voucher r ON r.VoucherID = (SELECT Min(VoucherID) FROM Voucher "
            "WHERE TransactionType = ? AND IssueID = i.VoucherID) "
            "WHERE +i.TransactionType = ? AND i.CardID = ? "
            "AND +i.\"Date\" >= ? AND +i.\"Date\" < ? ORDER BY i.\"Date\", i.SrNO"),
        {CirculationRules::ReceiptType, CirculationRules::IssueType, cardId,
         DateText::toIso(range.from), DateText::isoAfterDay(range.to)});
    std::vector<Row> rows;
    const int thisYear = DateText::thisYear(); // once a ledger, not once a date
    for (; !rs.eof(); rs.moveNext()) {
        Row row;
        row.reserve(10);
        for (int i = 0; i < 10; ++i)
            row << rs.displayText(i);
        row[4] = shownDate(row[4], thisYear);
        row[5] = shownDate(row[5], thisYear);
        rows.push_back(std::move(row));
    }
    return rows;
}

void stage(const std::vector<Row> &rows)
{
    ReportHandOver::PrintingStage printing(ReportHandOver::CompanyHeader::Full);
    for (const Row &row : rows) {
        QList<QPair<QString, QVariant>> fields;
        for (qsizetype i = 1; i < row.size(); ++i)
            fields.append({QStringLiteral("T%1").arg(i), row[i]});
        printing.addRow(fields);
    }
    printing.commit();
}

} // namespace CardLedger
