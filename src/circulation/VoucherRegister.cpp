#include "circulation/VoucherRegister.h"

#include "circulation/CirculationRules.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/PartedRead.h"
#include "core/PrintingStage.h"

#include <algorithm>

namespace VoucherRegister {

namespace {

const QString &typeOf(Kind kind)
{
    return kind == Kind::Issue ? CirculationRules::IssueType : CirculationRules::ReceiptType;
}

// A serial number as the database orders stored values of a column without collation: missing
// first, then numbers by value, then texts by their bytes, then anything else; equal ones in key
// order.
struct Serial
{
    int rank = 0;
    qint64 integer = 0;
    double number = 0;
    QByteArray bytes;
    qint64 voucherId = 0;
    int row = 0;

    static Serial of(const QVariant &value, qint64 voucherId, int row)
    {
        Serial serial{0, 0, 0, {}, voucherId, row};
        if (value.isNull())
            return serial;
        switch (value.typeId()) {
        case QMetaType::LongLong:
            serial.rank = 1;
            serial.integer = value.toLongLong();
            serial.number = double(serial.integer);
            break;
        case QMetaType::Double:
            serial.rank = 2;
            serial.number = value.toDouble();
            break;
        case QMetaType::QString:
            serial.rank = 3;
            serial.bytes = value.toString().toUtf8();
            break;
        default:
            serial.rank = 4;
            serial.bytes = value.toByteArray();
        }
        return serial;
    }

    bool operator<(const Serial &other) const
    {
        const auto kind = [](int rank) { return rank == 2 ? 1 : rank; }; // numbers are one kind
        if (kind(rank) != kind(other.rank))
            return kind(rank) < kind(other.rank);
        if (rank == 1 && other.rank == 1) {
            if (integer != other.integer)
                return integer < other.integer;
        } else if (kind(rank) == 1) {
            if (number != other.number)
                return number < other.number;
        } else if (const int order = bytes.compare(other.bytes)) {
            return order < 0;
        }
        return voucherId < other.voucherId;
    }
};

QString shownDate(const QString &stored)
{
    const QDate date = DateText::parse(stored);
    return date.isValid() ? DateText::toLong(date) : stored;
}

// Fewer days than this a part reads faster on one connection: a month's register takes a few
// milliseconds.
constexpr int DaysPerPart = 60;

struct Part
{
    ListRows rows;
    std::vector<int> order; // the rows' indexes in the register's order
};

// The rows come in date order; serial numbers within a date are sorted here, which costs far less
// than a sort of the wide rows in the query. The texts go straight from the rows read into the
// list's compact form.
void readPart(Recordset &rs, Part &part)
{
    std::vector<Serial> serials;
    QString runDate;
    size_t runStart = 0;
    const auto closeRun = [&] {
        std::sort(serials.begin() + qsizetype(runStart), serials.end());
        for (size_t i = runStart; i < serials.size(); ++i)
            part.order.push_back(serials[i].row);
        runStart = serials.size();
    };
    ListRows &rows = part.rows;
    const int columns = rs.columnCount();
    for (int row = 0; !rs.eof(); rs.moveNext(), ++row) {
        rows.startRow();
        rs.addDisplayText(0, rows);
        const QString date = rs.displayText(1);
        if (date != runDate) {
            closeRun();
            runDate = date;
        }
        rows.addText(shownDate(date));
        const QString srNo = rs.displayText(2);
        rows.addText(srNo.isEmpty() ? QStringLiteral("0") : srNo);
        for (int i = 3; i < columns; ++i)
            rs.addDisplayText(i, rows);
        serials.push_back(Serial::of(rs.field(2), rs.field(0).toLongLong(), row));
    }
    rs.close();
    closeRun();
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
    const QString sql =
        QStringLiteral("SELECT VoucherID, \"Date\", SrNO, CardNo, AccessionNo, Name, RollNo, "
                       "title, %1 FROM Voucher WHERE TransactionType = ? AND \"Date\" >= ? AND "
                       "\"Date\" < ? AND %2 AND %3 ORDER BY \"Date\"")
            .arg(lastCells, firstTest, secondTest);
    // A long range reads in spans of days side by side.
    const int parts = std::min(PartedRead::parts(), int(range.from.daysTo(range.to) / DaysPerPart));
    std::vector<QVariantList> spans(size_t(std::max(parts, 1)), values);
    const qint64 days = range.from.daysTo(range.to) + 1;
    for (int part = 1; part < parts; ++part) {
        const QString cut = DateText::toIso(range.from.addDays(days * part / parts));
        spans[size_t(part - 1)][2] = cut;
        spans[size_t(part)][1] = cut;
    }
    // The read the parts share, open until they are read.
    Recordset holding = db.query(QStringLiteral("SELECT (SELECT max(VoucherID) FROM Voucher)"));
    std::vector<Part> read = PartedRead::collect(db, sql, values, spans, readPart);
    holding.close();
    ListRows rows;
    std::vector<int> order;
    for (Part &part : read) {
        const int offset = rows.size();
        rows.append(std::move(part.rows));
        for (const int row : part.order)
            order.push_back(offset + row);
    }
    rows.reorder(order);
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
