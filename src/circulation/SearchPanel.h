#pragma once

#include "circulation/SearchPanelRows.h"

#include <QFrame>
#include <QList>
#include <array>
#include <deque>
#include <memory>
#include <thread>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QModelIndex;
class QTimer;
class RecordList;

// A card or book search panel laid over a circulation window: four prefix filter boxes above a
// list that every keystroke reloads (once for keystrokes that arrive together: only the last
// text counts, but a key for the list is taken only once the list shows all the text typed before
// it). F4 in the host's number box opens it at once. A keystroke lists the rows a fresh query
// lists at that moment: rows that the window's own connection wrote since they were read are read
// again by key; after a commit of another program the rows the typed title or name selects are
// read through its index, else the whole table, on a thread of its own while keys for the list
// wait (on one or two cores on the window's connection). A key for the list reads nothing, and a
// commit after the last keystroke shows at the next one. The row the user selected stays selected
// by its key while the list reloads, or none is when its record is no longer listed.
// Picking the selected row hands the record's number to the host (picked), which writes it into
// its box, runs its own look-up and hides the panel. Used by the issue and return windows and the
// ledger.
class SearchPanel : public QFrame
{
    Q_OBJECT

public:
    enum class Kind {
        Card, // fraSearch: Name, Group, Father, Roll No.; picks a CardNo on Enter or double-click
        Book, // fraSearch2: Title, Author, Subject, Publisher; picks an AccessionNo on Enter only
    };

    // Placed at the given left and top of the host (twips), hidden.
    SearchPanel(Kind kind, QWidget *host, int leftTwips, int topTwips);
    ~SearchPanel() override;

    Kind kind() const { return kind_; }
    RecordList *list() const { return list_; }
    QLineEdit *filter(int index) const { return filters_.value(index); }

    // Shows the panel as it was last left and puts the focus into its first filter box; rows not
    // read since the file last changed are read meanwhile.
    void open();
    // LvLoadCardSerch / LvLoadBookSerch: reloads the list from the four filters; while rows are
    // still being read, once they are.
    void reload();
    // Rows are being read on their own thread.
    bool reading() const { return reading_; }
    // Test aid: how many times rows were read afresh, not followed by key.
    int freshReads() const { return rows_.reads(); }
    // Test aid: how many times rows another program changed were followed by key.
    int loggedFollows() const { return rows_.loggedFollows(); }
    // Whether a click on the header label hides the panel (so in the issue window and the ledger).
    void setHeaderClickHides(bool hides) { headerClickHides_ = hides; }

signals:
    // The picked record's CardNo or AccessionNo as text.
    void picked(const QString &number);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class KeyHold;

    void pick(const QModelIndex &row);
    std::array<QString, 4> typed() const;
    // Lists the rows for the texts typed as the file stood at the last keystroke: from the rows
    // held, or those read for them here; or, when the whole table must be read beside the window,
    // once it is.
    void showTyped(bool besideFailed);
    // Starts reading the whole table on a thread of its own; false where it gains nothing.
    bool startReading();
    // Follows the window's own changes while the window idles and reads another program's beside
    // it, so that the next F4 finds them read; the list stays as the last keystroke left it.
    void watchChanges();
    void rowsRead(const std::shared_ptr<SearchPanelRows::Read> &read);
    void showRows(ListRows rows);
    // A key for the list while the list does not yet show the text typed: true when it must
    // wait for the rows, and is kept (with every key after it) until they come.
    bool holdForRows(QKeyEvent *key);
    void hold(const QKeyEvent *key);
    void releaseKeys();

    Kind kind_;
    SearchPanelRows rows_;
    ListRowsVersion typedAt_; // the file as it stood at the last keystroke
    ListRowsVersion watched_; // the file as the change watch last saw it
    bool reading_ = false;
    bool rowsOwed_ = false; // the list waits for the rows being read
    std::jthread reader_;
    KeyHold *keyHold_ = nullptr;
    std::deque<std::unique_ptr<QKeyEvent>> heldKeys_;
    bool replaying_ = false;
    QTimer *reloadTimer_ = nullptr;
    QTimer *changeWatch_ = nullptr;
    QLabel *header_ = nullptr;
    QList<QLineEdit *> filters_;
    RecordList *list_ = nullptr;
    bool headerClickHides_ = true;
};
