#pragma once

#include "circulation/SearchPanelRows.h"

#include <QFrame>
#include <QList>

class QLabel;
class QLineEdit;
class QTimer;
class RecordList;

// A card or book search panel laid over a circulation window: four prefix filter boxes above a
// list that every keystroke reloads (once for keystrokes that arrive together: only the last
// text counts). F4 in the host's number box opens it; picking a row hands the
// record's number to the host (picked), which writes it into its box, runs its own look-up and
// hides the panel. Used by the issue and return windows and the ledger.
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

    Kind kind() const { return kind_; }
    RecordList *list() const { return list_; }
    QLineEdit *filter(int index) const { return filters_.value(index); }

    // Shows the panel as it was last left and puts the focus into its first filter box.
    void open();
    // LvLoadCardSerch / LvLoadBookSerch: reloads the list from the four filters.
    void reload();
    // Whether a click on the header label hides the panel (so in the issue window and the ledger).
    void setHeaderClickHides(bool hides) { headerClickHides_ = hides; }

signals:
    // The picked record's CardNo or AccessionNo as text.
    void picked(const QString &number);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pick();

    Kind kind_;
    SearchPanelRows rows_;
    QTimer *reloadTimer_ = nullptr;
    QLabel *header_ = nullptr;
    QList<QLineEdit *> filters_;
    RecordList *list_ = nullptr;
    bool headerClickHides_ = true;
};
