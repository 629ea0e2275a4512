#pragma once

#include <QString>
#include <QStringList>

// The trace a sticker run leaves in Bar/ while it draws: before the first picture it lists the
// pictures it is about to write, and it removes the list once its Cake rows are committed. A list
// found when a run starts is a run that died on the way (a crash, a kill, a failure): the pictures
// it names may be half-written, so they go before the new run draws its own. The list is locked
// while its run lives, so a second copy of the program waits for the run instead of taking it for
// dead.
class StickerRunMark
{
public:
    // Clears a dead run's pictures and writes this run's list; an AppError when it cannot.
    StickerRunMark(const QString &folder, const QStringList &pictureNames);
    ~StickerRunMark();
    StickerRunMark(const StickerRunMark &) = delete;
    StickerRunMark &operator=(const StickerRunMark &) = delete;

    // The run is whole: its pictures stay and the list goes.
    void finish();

    // The list's name in the folder; hidden, so no barcode picture can take it.
    static QString markName();

private:
    QString markPath_;
    int fd_ = -1;
};
