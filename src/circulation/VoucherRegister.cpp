#include "circulation/VoucherRegister.h"

#include "circulation/CirculationRules.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/PartedRead.h"
#include "core/PrintingStage.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <optional>

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

QString shownDate(const QString &stored, int thisYear)
{
    const QDate date = DateText::parse(stored, thisYear);
    return date.isValid() ? DateText::toLong(date) : stored;
}

// A date stored as the program stores it, "yyyy-MM-dd", written as shown, "dd-MM-yyyy", character
// by character; false for anything else, which shownDate reads. A register writes one every row.
bool shownIsoDate(QByteArrayView stored, std::array<char, 10> &shown)
{
    if (stored.size() != 10 || stored[4] != '-' || stored[7] != '-')
        return false;
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (stored[i] < '0' || stored[i] > '9')
            return false;
    const auto number = [&](int from, int digits) {
        int value = 0;
        for (int i = from; i < from + digits; ++i)
            value = value * 10 + (stored[i] - '0');
        return value;
    };
    if (!QDate::isValid(number(0, 4), number(5, 2), number(8, 2)))
        return false;
    for (const auto &[to, from] :
         {std::pair{0, 8}, {1, 9}, {3, 5}, {4, 6}, {6, 0}, {7, 1}, {8, 2}, {9, 3}})
        shown[size_t(to)] = stored[from];
    shown[2] = shown[5] = '-';
    return true;
}

// Fewer days than this a part reads faster on one connection: a month's register takes a few
// milliseconds.
constexpr int DaysPerPart = 60;

// A smaller range of keys reads faster on one connection than another connection opens.
constexpr quint64 KeysPerPart = 4096;

// A row's place in the register: by its stored date's bytes, then its serial number. The date's
// first bytes are held in place, so that comparing two places seldom leaves them.
struct Place
{
    static constexpr int Held = 16;
    std::array<char, Held> head{}; // the date's first bytes, the rest zero
    int length = 0;
    QByteArray date; // the whole date, where it is longer than the head
    Serial serial;

    Place(QByteArrayView stored, Serial &&of) : serial(std::move(of))
    {
        length = int(stored.size());
        std::copy_n(stored.data(), std::min(length, Held), head.begin());
        if (length > Held)
            date = stored.toByteArray();
    }

    bool sameDate(const Place &other) const
    {
        return head == other.head && length == other.length && date == other.date;
    }

    bool operator<(const Place &other) const
    {
        if (const int order = std::memcmp(head.data(), other.head.data(), Held))
            return order < 0;
        if (length > Held && other.length > Held) {
            if (const int order = date.compare(other.date))
                return order < 0;
        } else if (length != other.length) {
            return length < other.length; // one begins the other
        }
        return serial < other.serial;
    }
};

struct Part
{
    ListRows rows;
    std::vector<Place> places;           // the rows' places, both in the register's order
    int thisYear = DateText::thisYear(); // once a part, not once a row
};

// The texts go straight from the row read into the list's compact form.
void readRow(Recordset &rs, Part &part)
{
    ListRows &rows = part.rows;
    const int row = rows.size();
    rows.startRow();
    rs.addDisplayText(0, rows);
    std::array<char, 10> shown{};
    const QByteArrayView stored = rs.utf8(1);
    if (shownIsoDate(stored, shown)) {
        rows.addText(shown.data(), qsizetype(shown.size()));
        part.places.emplace_back(stored, Serial());
    } else {
        // The column holds text (or nothing): its bytes are what the list shows of it.
        const QString date = stored.isNull() ? QString() : QString::fromUtf8(stored);
        rows.addText(shownDate(date, part.thisYear));
        const QByteArray bytes = date.toUtf8();
        part.places.emplace_back(QByteArrayView(bytes), Serial());
    }
    // A serial that shows as nothing shows as 0.
    const QVariant srNo = rs.field(2);
    const bool isBytes =
        srNo.typeId() == QMetaType::QString || srNo.typeId() == QMetaType::QByteArray;
    if (srNo.isNull() || (isBytes && srNo.toByteArray().isEmpty()))
        rows.addText(QStringLiteral("0"));
    else
        rs.addDisplayText(2, rows);
    for (int i = 3; i < rs.columnCount(); ++i)
        rs.addDisplayText(i, rows);
    part.places.back().serial = Serial::of(srNo, rs.integer(0), row);
}

// The rows are put in the register's order here, on their dates and serials alone, which costs far
// less than a sort of the wide rows in the query.
void sortPart(Part &part)
{
    // Read through the dates' index, the rows mostly come in order already.
    if (std::is_sorted(part.places.begin(), part.places.end()))
        return;
    std::sort(part.places.begin(), part.places.end());
    std::vector<int> order;
    order.reserve(part.places.size());
    for (const Place &place : part.places)
        order.push_back(place.serial.row);
    part.rows.reorder(order);
}

void readPart(Recordset &rs, Part &part)
{
    for (; !rs.eof(); rs.moveNext())
        readRow(rs, part);
    rs.close();
    sortPart(part);
}

// The rows of the parts, each in the register's order, merged into one list in that order.
ListRows merged(std::vector<Part> &&read)
{
    if (read.size() == 1)
        return std::move(read[0].rows);
    std::vector<int> counts;
    for (const Part &part : read)
        counts.push_back(part.rows.size());
    const std::vector<int> order =
        PartedRead::mergedOrder(counts, [&](int a, int aRow, int b, int bRow) {
            return read[size_t(a)].places[size_t(aRow)] < read[size_t(b)].places[size_t(bRow)];
        });
    ListRows rows;
    for (Part &part : read)
        rows.append(std::move(part.rows));
    rows.reorder(order);
    return rows;
}

// The register's rows: the vouchers of the kind in the range under both filters, with the values
// of those tests.
struct Statement
{
    QVariantList values;
    QString firstTest;
    QString secondTest;
    QString select; // a place for NOT INDEXED, then the tests, then what follows them
    QString byDate;

    Statement(Kind kind, const DateRange &range, const ListFilter::Filter &first,
              const ListFilter::Filter &second)
        // An open bound after the last day also takes a date stored with a time.
        : values{typeOf(kind), DateText::toIso(range.from), DateText::isoAfterDay(range.to)},
          firstTest(ListFilter::sqlTest(first, values)),
          secondTest(ListFilter::sqlTest(second, values))
    {
        const QString lastCells = kind == Kind::Issue
                                      ? QStringLiteral("Author")
                                      : QStringLiteral("DaysDelayed, TotalFine, FineReceiptNo");
        select =
            QStringLiteral("SELECT VoucherID, \"Date\", SrNO, CardNo, AccessionNo, Name, RollNo, "
                           "title, %1 FROM Voucher %2 WHERE TransactionType = ? AND \"Date\" >= ? "
                           "AND \"Date\" < ? AND %3 AND %4 %5")
                .arg(lastCells);
        byDate = select.arg(QString(), firstTest, secondTest, QStringLiteral("ORDER BY \"Date\""));
    }
};

} // namespace

QString templatePath(Kind kind)
{
    return kind == Kind::Issue ? QStringLiteral("Reports/BookIssueRegister.rpt")
                               : QStringLiteral("Reports/BookReceiveRegister.rpt");
}

ListRows load(Database &db, Kind kind, const DateRange &range, const ListFilter::Filter &first,
              const ListFilter::Filter &second)
{
    return load(db, kind, range, first, second, PartedRead::parts());
}

ListRows load(Database &db, Kind kind, const DateRange &range, const ListFilter::Filter &first,
              const ListFilter::Filter &second, int parts)
{
    const Statement statement(kind, range, first, second);
    const QVariantList &values = statement.values;
    parts = std::min(parts, int(range.from.daysTo(range.to) / DaysPerPart));
    if (parts < 2) {
        std::vector<Part> read(1);
        Recordset rs = db.query(statement.byDate, values);
        readPart(rs, read[0]);
        return merged(std::move(read));
    }

    // A long range reads side by side. Where most keys between the range's first and last belong
    // to its rows, each part reads a range of keys in the table's order, every page once. Where
    // they lie far apart (a voucher re-dated after it was saved, keys in no order of the dates),
    // such a part would read its share of the whole table for a few rows: each part then reads a
    // span of days through the dates' index, which costs what its rows cost. A range that holds
    // every date of the kind (a file of one year) takes the whole table's keys, found without
    // going through the dates. The read that finds them stays open until the parts are read.
    Recordset whole = db.query(
        QStringLiteral("SELECT ?2 <= (SELECT min(\"Date\") FROM Voucher WHERE TransactionType = "
                       "?1) AND ?3 > (SELECT max(\"Date\") FROM Voucher WHERE TransactionType = "
                       "?1), (SELECT min(VoucherID) FROM Voucher), (SELECT max(VoucherID) FROM "
                       "Voucher)"),
        {values[0], values[1], values[2]});
    std::optional<std::vector<QVariantList>> ranges;
    if (whole.field(0).toBool()) {
        ranges = PartedRead::keyRanges(whole.field(1), whole.field(2), values, parts, KeysPerPart);
    } else {
        Recordset inRange = db.query(
            QStringLiteral("SELECT count(*), min(VoucherID), max(VoucherID) FROM Voucher WHERE "
                           "TransactionType = ? AND \"Date\" >= ? AND \"Date\" < ?"),
            {values[0], values[1], values[2]});
        const quint64 span =
            quint64(inRange.field(2).toLongLong()) - quint64(inRange.field(1).toLongLong());
        if (quint64(inRange.field(0).toLongLong()) > span / 2)
            ranges = PartedRead::keyRanges(inRange.field(1), inRange.field(2), values, parts,
                                           KeysPerPart);
    }
    std::vector<Part> read;
    if (ranges) {
        const QString inParts = statement.select.arg(
            QStringLiteral("NOT INDEXED"), statement.firstTest, statement.secondTest,
            QStringLiteral("AND VoucherID BETWEEN ? AND ?"));
        read = PartedRead::collect(db, inParts, *ranges, statement.byDate, values, readPart);
    } else {
        const qint64 days = range.from.daysTo(range.to) + 1;
        std::vector<QVariantList> spans(size_t(parts), values);
        for (int part = 1; part < parts; ++part) {
            const QString cut = DateText::toIso(range.from.addDays(days * part / parts));
            spans[size_t(part - 1)][2] = cut;
            spans[size_t(part)][1] = cut;
        }
        read = PartedRead::collect(db, statement.byDate, values, spans, readPart);
    }
    whole.close();
    return merged(std::move(read));
}

std::optional<ListRows> firstRows(Database &db, Kind kind, const DateRange &range,
                                  const ListFilter::Filter &first, const ListFilter::Filter &second,
                                  int count)
{
    if (count < 1 || range.from.daysTo(range.to) < DaysPerPart || !first.typed.isEmpty() ||
        !second.typed.isEmpty())
        return std::nullopt;
    const Statement statement(kind, range, first, second);
    Part part;
    // In the dates' order up to the count, and on to the last of that row's day: its serials order
    // a day.
    for (Recordset rs = db.query(statement.byDate, statement.values); !rs.eof(); rs.moveNext()) {
        readRow(rs, part);
        if (part.rows.size() > count &&
            !part.places.back().sameDate(part.places[size_t(count - 1)]))
            break;
    }
    sortPart(part);
    std::vector<int> shown(size_t(std::min(count, part.rows.size())));
    std::iota(shown.begin(), shown.end(), 0);
    return part.rows.subset(shown);
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
