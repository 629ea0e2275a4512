#pragma once

#include "circulation/SearchPanelRows.h"

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
// it). F4 in the host's number box opens it at once and reads the table's rows on a thread of
// their own, when the file changed since they were last read; keys for the list wait for them.
// On one or two cores the keystroke reads them on the window's connection instead.
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
    // Starts reading the rows on a thread of their own, unless they are current or the read must
    // be the main connection's (a write transaction is open); false when no read runs.
    bool startReading();
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
