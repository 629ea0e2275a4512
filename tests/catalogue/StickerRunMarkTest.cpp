#include "CatalogueTestSupport.h"

#include "catalogue/BookPrintouts.h"
#include "catalogue/StickerRunMark.h"

#include <QDir>
#include <QFile>

namespace {

class StickerRunMarkTest : public CatalogueTest
{
protected:
    static BookPrintouts::StickerBook sticker(int key, const QString &barcode)
    {
        BookPrintouts::StickerBook book;
        book.bookId = key;
        book.accessionNo = QString::number(key);
        book.barcode = barcode;
        return book;
    }
    QStringList pictures() const
    {
        return QDir(path("Bar")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

TEST_F(StickerRunMarkTest, ARunThatDiedLeavesNoPictureBehindTheNextRun)
{
    for (int key = 1; key <= 3; ++key)
        addBook(key, {{"AccessionNo", QString::number(key)}, {"OT14", QString::number(key)}});
    QDir(path("Bar")).removeRecursively();
    BookPrintouts::makeStickers({sticker(1, "1")}, QFont());
    EXPECT_EQ(pictures(), QStringList{"1.jpg"});

    // The run dies after the first of its pictures: its Cake rows go, its pictures stay for now.
    Database::setFailureHook({.failOnWrite = 3, .failOnTable = {}});
    EXPECT_THROW(BookPrintouts::makeStickers({sticker(2, "2"), sticker(3, "3")}, QFont()),
                 AppError);
    Database::clearFailureHook();
    EXPECT_EQ(Module::StickerDb->scalar("SELECT CakeID FROM Cake").toString(), "1");
    EXPECT_TRUE(QFile::exists(path("Bar/2.jpg")));
    // A crash cuts the picture it was writing.
    QFile cut(path("Bar/2.jpg"));
    ASSERT_TRUE(cut.resize(10));

    // The next run clears what the dead one wrote and keeps the pictures of whole runs.
    BookPrintouts::makeStickers({sticker(3, "3")}, QFont());
    EXPECT_EQ(pictures(), QStringList({"1.jpg", "3.jpg"}));
    EXPECT_EQ(Module::StickerDb->scalar("SELECT CakeID FROM Cake").toString(), "3");
}

TEST_F(StickerRunMarkTest, OnlyPicturesInsideTheFolderAreCleared)
{
    QDir().mkpath(path("Bar"));
    for (const char *file : {"Bar/keep.png", "Bar/a.jpg", "outside.jpg"}) {
        QFile f(path(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile list(path("Bar/" + StickerRunMark::markName()));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("keep.png\na.jpg\n../outside.jpg\n1001.j");
    list.close();

    StickerRunMark mark(path("Bar"), {"b.jpg"});
    EXPECT_EQ(pictures(), QStringList({StickerRunMark::markName(), "keep.png"}));
    EXPECT_TRUE(QFile::exists(path("outside.jpg")));
    mark.finish();
    EXPECT_EQ(pictures(), QStringList{"keep.png"});
}

} // namespace
