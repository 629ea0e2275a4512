#pragma once

#include "core/Database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <functional>

#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <numeric>
#include <vector>

// Realistic catalogue rows for benchmarks: every column of a book filled with text of the length
// a school library's records have, accession numbers shuffled so that no order comes for free.
namespace BenchData {

inline QString pick(QRandomGenerator &random, const QStringList &words, int count)
{
    QStringList chosen;
    for (int i = 0; i < count; ++i)
        chosen << words[int(random.bounded(quint32(words.size())))];
    return chosen.join(QLatin1Char(' '));
}

// Fills Book with that many copies in one transaction; BookID runs 1..n, accession numbers are
// 1..n in random order (a few with a letter suffix, as libraries number added copies).
inline void fillBooks(Database &db, int count, quint32 seed = 20261209)
{
    static const QStringList words = {
        "Introduction", "Advanced",  "Mathematics", "History",     "Modern",  "India",
        "Physics",      "Chemistry", "Biology",     "Literature",  "Poems",   "Stories",
        "Principles",   "Practical", "Geography",   "Economics",   "Science", "Children",
        "Collected",    "Essays",    "Grammar",     "English",     "Hindi",   "Sanskrit",
        "Algebra",      "Geometry",  "Computer",    "Programming", "World",   "Ancient"};
    static const QStringList names = {"R. K. Narayan",
                                      "Ruskin Bond",
                                      "A. P. J. Abdul Kalam",
                                      "Sudha Murty",
                                      "H. C. Verma",
                                      "R. D. Sharma",
                                      "N. Gupta",
                                      "Premchand",
                                      "Mahadevi Verma",
                                      "S. Chand Editorial Board"};
    static const QStringList publishers = {"National Book Trust",        "S. Chand & Company",
                                           "Oxford University Press",    "Rupa Publications",
                                           "Penguin Random House India", "Arihant Publications"};
    QRandomGenerator random(seed);
    std::vector<int> numbers(static_cast<size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), random);
    Transaction transaction(db);
    for (int i = 0; i < count; ++i) {
        const int number = numbers[size_t(i)];
        QString accession = QString::number(number);
        if (number % 50 == 0)
            accession += QLatin1Char('A');
        const bool lent = i % 7 == 0;
        db.execute(
            "INSERT INTO Book (BookID, \"Date\", AccessionNo, title, Author, Subject, Publisher, "
            "Edition, \"Year\", Pages, VOL, Source, BillNo, Cost, Class, BookNo, WithdrawlNo, "
            "Remarks, OT11, OT12, OT13, OT14, OT15, OT16, Status, IssueID, Name, RollNo, CardID, "
            "CardNo, IssueDate) VALUES "
            "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
            {i + 1,
             QStringLiteral("%1-Mar-24").arg(1 + i % 28, 2, 10, QLatin1Char('0')),
             accession,
             pick(random, words, 3 + int(random.bounded(4u))),
             names[i % names.size()],
             pick(random, words, 2),
             publishers[i % publishers.size()],
             QStringLiteral("%1nd").arg(1 + i % 5),
             QString::number(1980 + i % 45),
             QString::number(120 + i % 700),
             QStringLiteral("Vol %1").arg(1 + i % 3),
             QStringLiteral("Purchase"),
             QStringLiteral("INV/2024/%1").arg(i % 3000, 5, 10, QLatin1Char('0')),
             150.0 + i % 900,
             QStringLiteral("%1.%2").arg(100 + i % 900).arg(i % 99),
             QStringLiteral("B-%1").arg(i),
             QString(),
             pick(random, words, 4),
             QStringLiteral("Rack %1 Shelf %2").arg(1 + i % 40).arg(1 + i % 6),
             pick(random, words, 2),
             QStringLiteral("978-81-%1-%2")
                 .arg(1000 + i % 9000)
                 .arg(i % 1000, 3, 10, QLatin1Char('0')),
             accession,
             QStringLiteral("Reference"),
             QStringLiteral("Science"),
             lent ? QStringLiteral("Issue") : QStringLiteral("Available"),
             lent ? i + 1 : 0,
             lent ? names[(i + 3) % names.size()] : QString(),
             lent ? QString::number(i % 60) : QString(),
             lent ? 1 + i % 2000 : 0,
             lent ? 1 + i % 2000 : 0,
             lent ? QStringLiteral("05-Mar-24") : QString()});
    }
    transaction.commit();
}

// One voucher, its values in the order of the columns named here: VoucherID, TransactionType,
// Date, SrNO, CardID, CardNo, AccessionNo, GroupID, GroupName, Name, RollNo, Contact1, Contact2,
// BookID, title, Author, Subject, Publisher, Edition, Year, Pages, VOL, IssueID, DaysDelayed,
// TotalFine, FineReceiptNo, Remarks.
inline void insertVoucher(Database &db, const QVariantList &values)
{
    db.execute("INSERT INTO Voucher (VoucherID, TransactionType, \"Date\", SrNO, CardID, CardNo, "
               "AccessionNo, GroupID, GroupName, Name, RollNo, Contact1, Contact2, BookID, title, "
               "Author, Subject, Publisher, Edition, \"Year\", Pages, VOL, IssueID, DaysDelayed, "
               "TotalFine, FineReceiptNo, Remarks) VALUES "
               "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
               values);
}

// Makes the company file at path from the template and fills it. With LD_BENCH_DATA_DIR set, the
// filled file is kept there under the given name and copied on later runs instead of filled again
// (filling 300,000 rows takes minutes on a busy machine); a digest of the schema's source is part
// of the name, so a changed schema fills anew. Empty the folder after changing what is filled.
inline void makeFilledCompany(const QString &templatePath, const QString &path, const QString &name,
                              const std::function<void(Database &)> &fill)
{
    const QString keep = qEnvironmentVariable("LD_BENCH_DATA_DIR");
    QString kept;
    if (!keep.isEmpty()) {
        QFile source(QStringLiteral(LD_PACKAGE_DIR "/sql/company.sql"));
        source.open(QIODevice::ReadOnly);
        const QByteArray digest =
            QCryptographicHash::hash(source.readAll(), QCryptographicHash::Sha1).toHex().left(12);
        kept = QDir(keep).filePath(name + QLatin1Char('-') + QString::fromLatin1(digest) +
                                   QStringLiteral(".mdb"));
    }
    QFile::remove(path);
    if (!kept.isEmpty() && QFile::exists(kept)) {
        QFile::copy(kept, path);
        return;
    }
    QFile::copy(templatePath, path);
    {
        auto db = Database::open(path);
        fill(*db);
    }
    if (!kept.isEmpty()) {
        QDir().mkpath(keep);
        QFile::copy(path, kept);
    }
}

} // namespace BenchData
