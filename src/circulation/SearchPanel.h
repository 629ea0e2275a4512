#pragma once

#include "circulation/SearchPanelRows.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QList>
#include <deque>
#include <memory>
#include <thread>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QTimer;
class RecordList;

// A card or book search panel laid over a circulation window: four prefix filter boxes above a
// list that every keystroke reloads (once for keystrokes that arrive together: only the last
// text counts, but a key for the list is taken only once the list shows all the text typed before
// it). F4 in the host's number box opens it at once. Rows that the window's own connection wrote
// since they were read are read again by key; after a commit of another program the table's rows
// are read on a thread of their own, and keys for the list wait for them. On one or two cores the
// keystroke reads them on the window's connection instead. Commits of another program found
// within a second of the last read wait for the change watch, so a burst of them is read once;
// a key for the list has them read before it acts.
// Picking a row hands the record's number to the host (picked), which writes it into its box,
// runs its own look-up and hides the panel. Used by the issue and return windows and the ledger.
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
    // Test aid: how many times the whole table was read.
    int tableReads() const { return rows_.reads(); }
    // Whether a click on the header label hides the panel (so in the issue window and the ledger).
    void setHeaderClickHides(bool hides) { headerClickHides_ = hides; }

signals:
    // The picked record's CardNo or AccessionNo as text.
    void picked(const QString &number);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class KeyHold;

    void pick();
    // What the rows held need before the list shows them.
    enum class Catch {
        Current, // nothing, or the window's own changes followed by key
        Held,    // another program committed since, but the rows were read a moment ago
        Thread,  // a read on a thread of their own
        Here,    // a read on the window's connection
    };
    // Follows the window's own changes and tells what else the rows need; within a second of the
    // last read another program's commits are Held when spaced.
    Catch catchUp(bool spaced);
    void startReading();
    void watchChanges();
    void rowsRead(const std::shared_ptr<SearchPanelRows::Read> &read);
    void showFiltered(bool readHere);
    // A key for the list while the list does not yet show the text typed: true when it must
    // wait for the rows, and is kept (with every key after it) until they come.
    bool holdForRows(QKeyEvent *key);
    void hold(const QKeyEvent *key);
    void releaseKeys();

    Kind kind_;
    SearchPanelRows rows_;
    bool reading_ = false;
    bool rowsOwed_ = false;   // the list waits for the rows being read
    bool rowsBehind_ = false; // the list shows rows held although another program committed since
    QElapsedTimer lastRead_;  // since the table's rows were last read whole
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
