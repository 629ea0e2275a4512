#include "catalogue/BookPrintouts.h"

#include "catalogue/DrawBar.h"
#include "catalogue/StickerRunMark.h"
#include "core/Database.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "core/PrintingStage.h"
#include "core/report/Code39.h"
#include "core/report/ReportTemplate.h"

#include <QDir>

namespace BookPrintouts {

namespace {

bool bookExists(double key)
{
    return Module::open(Module::CompanyDb)
        .scalar(QStringLiteral("SELECT 1 FROM Book WHERE BookID = ?"), {key})
        .isValid();
}

// The width of the sticker template's barcode box in millimetres, 0 when the template cannot be
// read: the sticker report's own opening then reports that.
double stickerBarcodeWidth()
{
    try {
        const ReportTemplate sticker = ReportTemplate::load(Module::programPath(StickerTemplate));
        for (const ReportElement &element : sticker.detail.elements)
            if (element.kind == ReportElement::Kind::Barcode)
                return element.width;
    } catch (const AppError &) {
        // Left to the sticker report's opening, which shows the error box.
    }
    return 0;
}

} // namespace

int stageBookList(const QList<double> &keys)
{
    // Staged fields T3..T24 and the Book columns they take, in order.
    static const char *const columns[] = {
        "AccessionNo", "Date",    "title",       "Author", "Subject", "Publisher",
        "Edition",     "Year",    "Pages",       "VOL",    "Source",  "BillNo",
        "Cost",        "Class",   "BookNo",      "WithdrawlNo", "OT11", "OT12",
        "OT13",        "OT14",    "OT15",        "OT16"};
    Database &company = Module::open(Module::CompanyDb);
    ReportHandOver::PrintingStage stage;
    for (const double key : keys) {
        Recordset book =
            company.query(QStringLiteral("SELECT * FROM Book WHERE BookID = ?"), {key});
        if (book.eof())
            continue;
        QList<QPair<QString, QVariant>> values{{QStringLiteral("T2"), Numbers::plainText(key)}};
        int field = 3;
        for (const char *column : columns)
            values.append({QStringLiteral("T%1").arg(field++),
                           book.displayText(book.columnIndex(QLatin1String(column)))});
        stage.addRow(values);
    }
    stage.commit();
    return stage.rowCount();
}

QString stickerFileName(const QString &barcode)
{
    static const QString forbidden = QStringLiteral("/\\%:*?\"<>|");
    QString name;
    for (const QChar c : barcode) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            name += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            name += c;
    }
    return name + QStringLiteral(".jpg");
}

QList<StickerBook> makeStickers(const QList<StickerBook> &books, const QFont &font)
{
    const QString folder = Module::programPath(QStringLiteral("Bar"));
    if (!QDir().mkpath(folder))
        throw AppError(76, QStringLiteral("Path not found: %1").arg(folder));
    QStringList pictures;
    for (const StickerBook &book : books)
        pictures << stickerFileName(book.barcode);
    StickerRunMark mark(folder, pictures);
    Database &stickers = Module::open(Module::StickerDb);
    Transaction transaction(stickers);
    stickers.execute(QStringLiteral("DELETE FROM Cake"));
    const double barcodeWidth = stickerBarcodeWidth();
    QList<StickerBook> withoutBarcode;
    for (const StickerBook &book : books) {
        if (!bookExists(book.bookId))
            continue;
        if (!Code39::canEncode(book.barcode) ||
            (barcodeWidth > 0 && !Code39::fits(book.barcode, barcodeWidth)))
            withoutBarcode << book;
        QImage picture =
            DrawBar::DrawBarcode(book.barcode, StickerPictureHeight, font);
        if (picture.isNull()) {
            picture = QImage(167, StickerPictureHeight, QImage::Format_RGB32);
            picture.fill(Qt::white);
        }
        const QString fileName = stickerFileName(book.barcode);
        const QString path = QDir(folder).filePath(fileName);
        // A bitmap whatever the ending, as the sticker pictures have always been.
        if (!picture.save(path, "BMP"))
            throw AppError(75, QStringLiteral("Path/File access error: %1").arg(path));
        // FileName keeps the code itself, which the sticker template draws; the picture's own
        // name is the safe one in OT2.
        stickers.execute(QStringLiteral("INSERT INTO Cake (CakeID, CakeName, FileName, OT2, OT3, "
                                        "OT4, OT5, OT6, OT7) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         {book.accessionNo, book.title, book.barcode + QStringLiteral(".jpg"),
                          path, book.author, book.subject, book.publisher, book.location,
                          book.edition});
    }
    transaction.commit();
    mark.finish();
    return withoutBarcode;
}

QString noBarcodeMessage(const QList<StickerBook> &books)
{
    QStringList lines{QStringLiteral("These books got no barcode on their stickers: their barcode "
                                     "numbers are empty, hold characters a barcode cannot show "
                                     "or are too long for a sticker.")};
    for (const StickerBook &book : books)
        lines << QStringLiteral("Acc. No. %1 : \"%2\"").arg(book.accessionNo, book.barcode);
    return lines.join(QLatin1Char('\r'));
}

} // namespace BookPrintouts
