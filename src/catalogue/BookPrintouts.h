#pragma once

#include <QFont>
#include <QList>
#include <QString>

// What the book list prints, below its window: the staged rows of the book list printout and the
// barcode stickers with their pictures. Failures are AppErrors for the list's error box.
namespace BookPrintouts {

// Empties Printing and stages one row per key, in the given order, each book read afresh with
// the company header. A book deleted since the list was loaded is skipped. Returns the rows
// staged.
int stageBookList(const QList<double> &keys);

// A ticked row of the book list, as the stickers use it.
struct StickerBook
{
    double bookId = 0;
    QString accessionNo, title, author, subject, publisher, location, edition, barcode;
};

// The sticker template, relative to the program folder.
inline const QString StickerTemplate = QStringLiteral("Report/Catalogue.rpt");

// Height of a sticker picture in pixels (the hidden picture box of 1125 twips): a module of 2.
constexpr int StickerPictureHeight = 75;

// The picture's file name in Bar/ for a barcode text: the text followed by ".jpg", with path
// separators, '%' and characters no file name may hold written as %XX, so a barcode can neither
// leave the folder nor take another barcode's file.
QString stickerFileName(const QString &barcode);

// Empties Cake, draws each book's barcode into a picture in Bar/ (made when missing) and adds its
// Cake row, in the given order, in one transaction. Books deleted since the list was loaded are
// skipped. Returns the books that got no barcode: an empty barcode text, one Code 39 cannot
// hold, or one too long to scan from the sticker template's barcode box.
QList<StickerBook> makeStickers(const QList<StickerBook> &books, const QFont &font);

// The notice that names the books without a barcode.
QString noBarcodeMessage(const QList<StickerBook> &books);

} // namespace BookPrintouts
