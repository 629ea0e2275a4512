#include "circulation/VoucherRegister.h"

#include "circulation/CirculationRules.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/PartedRead.h"
#include "core/PrintingStage.h"

#include <algorithm>
#include <limits>

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
// Dates of the range whose first keys tell where the range's vouchers lie among the keys.
constexpr int KeyProbes = 24;

// The rows of one date in a part, sorted by serial number.
struct Run
{
    QByteArray date;
    int part;
    size_t first;
    size_t last;
};

struct Part
{
    ListRows rows;
    std::vector<Serial> serials; // the rows in the register's order within this part
    std::vector<Run> runs;
};

// The rows come in date order; serial numbers within a date are sorted here, which costs far less
// than a sort of the wide rows in the query. The texts go straight from the rows read into the
// list's compact form.
void readPart(Recordset &rs, Part &part)
{
    std::vector<Serial> &serials = part.serials;
    QString runDate;
    const auto closeRun = [&] {
        const size_t runStart = part.runs.empty() ? 0 : part.runs.back().last;
        if (runStart == serials.size())
            return;
        std::sort(serials.begin() + qsizetype(runStart), serials.end());
        part.runs.push_back({runDate.toUtf8(), 0, runStart, serials.size()});
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

// A long range reads side by side in ranges of keys, so that each connection reads only its own
// rows' pages whatever order the vouchers were written in (a span of days would touch pages all
// over the table where keys and dates do not go together). The cuts are taken from keys found at
// dates spread over the range; the first and the last part are open, so every key is read once.
std::vector<QVariantList> keyRanges(Database &db, const QVariantList &values, int parts)
{
    if (parts < 2)
        return {};
    const QDate from = QDate::fromString(values[1].toString(), Qt::ISODate);
    const qint64 days = from.daysTo(QDate::fromString(values[2].toString(), Qt::ISODate));
    std::vector<qint64> keys;
    for (int probe = 0; probe < KeyProbes; ++probe) {
        Recordset rs = db.query(
            QStringLiteral("SELECT VoucherID FROM Voucher WHERE TransactionType = ? AND \"Date\" "
                           ">= ? AND \"Date\" < ? ORDER BY \"Date\" LIMIT 8"),
            {values[0], DateText::toIso(from.addDays(days * probe / KeyProbes)), values[2]});
        for (; !rs.eof(); rs.moveNext())
            keys.push_back(rs.field(0).toLongLong());
    }
    std::sort(keys.begin(), keys.end());
    std::vector<qint64> cuts;
    for (int part = 1; part < parts && !keys.empty(); ++part) {
        const qint64 cut = keys[keys.size() * size_t(part) / size_t(parts)];
        if (cuts.empty() || cut > cuts.back())
            cuts.push_back(cut);
    }
    if (cuts.empty())
        return {};
    std::vector<QVariantList> ranges(cuts.size() + 1, values);
    for (size_t part = 0; part < ranges.size(); ++part) {
        ranges[part][3] = part == 0 ? std::numeric_limits<qint64>::min() : cuts[part - 1];
        ranges[part][4] = part == cuts.size() ? std::numeric_limits<qint64>::max() : cuts[part] - 1;
    }
    return ranges;
}

// The register's order over all parts: by date as the index orders it (the stored text's bytes),
// then by serial number; each part's runs of one date are already sorted by serial.
std::vector<int> registerOrder(std::vector<Part> &read, const std::vector<int> &offsets)
{
    std::vector<Run *> runs;
    for (size_t part = 0; part < read.size(); ++part)
        for (Run &run : read[part].runs) {
            run.part = int(part);
            runs.push_back(&run);
        }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Run *a, const Run *b) { return a->date < b->date; });
    std::vector<int> order;
    std::vector<Serial> day;
    for (size_t first = 0; first < runs.size();) {
        size_t last = first + 1;
        while (last < runs.size() && runs[last]->date == runs[first]->date)
            ++last;
        day.clear();
        for (size_t i = first; i < last; ++i) {
            const Run &run = *runs[i];
            const std::vector<Serial> &serials = read[size_t(run.part)].serials;
            for (size_t k = run.first; k < run.last; ++k) {
                day.push_back(serials[k]);
                day.back().row += offsets[size_t(run.part)];
            }
        }
        if (last - first > 1)
            std::sort(day.begin(), day.end());
        for (const Serial &serial : day)
            order.push_back(serial.row);
        first = last;
    }
    return order;
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
    // The key test comes first: it reads the key from the index, before the row is fetched.
    values.insert(3, std::numeric_limits<qint64>::min());
    values.insert(4, std::numeric_limits<qint64>::max());
    const QString sql =
        QStringLiteral("SELECT VoucherID, \"Date\", SrNO, CardNo, AccessionNo, Name, RollNo, "
                       "title, %1 FROM Voucher WHERE TransactionType = ? AND \"Date\" >= ? AND "
                       "\"Date\" < ? AND +VoucherID BETWEEN ? AND ? AND %2 AND %3 "
                       "ORDER BY \"Date\"")
            .arg(lastCells, firstTest, secondTest);
    // The read the parts share, open until they are read.
    Recordset holding = db.query(QStringLiteral("SELECT (SELECT max(VoucherID) FROM Voucher)"));
    const int parts = std::min(PartedRead::parts(), int(range.from.daysTo(range.to) / DaysPerPart));
    std::vector<Part> read =
        PartedRead::collect(db, sql, values, keyRanges(db, values, parts), readPart);
    holding.close();
    ListRows rows;
    std::vector<int> offsets;
    for (Part &part : read) {
        offsets.push_back(rows.size());
        rows.append(std::move(part.rows));
    }
    rows.reorder(registerOrder(read, offsets));
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
