#include "circulation/SearchPanel.h"

#include "circulation/CirculationRules.h"
#include "core/Colour.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "core/PartedRead.h"
#include "core/Units.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

// Qt's own road for a key press: the shortcut override, then the shortcuts (as QTest sends keys).
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString &text,
                                               bool autorep, ushort count);

namespace {

struct Layout
{
    const char *frame;
    const char *header;
    const char *caption;
    const char *list;
    const char *boxes[4];
    const char *captions[4];
    const char *headings[7];
};

const Layout CardLayout = {"fraSearch",
                           "lblClose",
                           "SEARCH CARD DETAILS",
                           "LvSearch",
                           {"txtSearch", "txtSearch1", "txtSearch2", "txtSearch3"},
                           {"Name", "Group", "Father", "Roll No."},
                           {"ID", "Name", "Group", "Roll No", "Card", "Father", "City"}};
const Layout BookLayout = {"fraSearch2",
                           "lblClose1",
                           "SEARCH BOOK DETAILS",
                           "LvBook",
                           {"txtSearch4", "txtSearch5", "txtSearch6", "txtSearch7"},
                           {"Title", "Author", "Subject", "Publisher"},
                           {"ID", "Title", "Author", "Publisher", "Subject", "Location", "Topice"}};

// What the panels list, in list order: the key, then the six shown columns.
const SearchPanelRows::Source CardRows = {
    "Card",
    "CardID",
    "CardID, Name, GroupName, RollNo, CardNo, OT11, OT13",
    "(Name IS NULL) + 2 * (GroupName IS NULL) + 4 * (OT11 IS NULL) + 8 * (RollNo IS NULL)",
    "Name, CardID",
    {1, 2, 5, 3},
    "Name"};
const SearchPanelRows::Source BookRows = {
    "Book",
    "BookID",
    "BookID, title, Author, Publisher, Subject, OT11, OT12",
    "(title IS NULL) + 2 * (Author IS NULL) + 4 * (Subject IS NULL) + 8 * (Publisher IS NULL)",
    "title, BookID",
    {1, 2, 4, 3},
    "title"};

const int BoxLefts[4] = {120, 2685, 4605, 6335};
const int BoxWidths[4] = {2565, 1920, 1725, 2280};

} // namespace

// While it lives, every key of the program waits in the panel's queue, in the order typed, so a
// key that waits for the rows is not overtaken by a later one (a shortcut, Esc, a pick's Enter).
class SearchPanel::KeyHold : public QObject
{
public:
    explicit KeyHold(SearchPanel *panel) : QObject(panel), panel_(panel)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Taken as typing, so no shortcut runs now: the key press comes next and waits.
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            panel_->hold(static_cast<QKeyEvent *>(event));
            return true;
        default:
            return false;
        }
    }

private:
    SearchPanel *panel_;
};

SearchPanel::SearchPanel(Kind kind, QWidget *host, int leftTwips, int topTwips)
    : QFrame(host), kind_(kind), rows_(kind == Kind::Card ? CardRows : BookRows)
{
    const Layout &layout = kind == Kind::Card ? CardLayout : BookLayout;
    setObjectName(QLatin1String(layout.frame));
    setGeometry(Units::twipsRect(leftTwips, topTwips, 8775, 4695));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);

    header_ = new QLabel(
        QLatin1String(layout.caption) + QString(38, QLatin1Char(' ')) + QLatin1Char('X'), this);
    header_->setObjectName(QLatin1String(layout.header));
    header_->setGeometry(Units::twipsRect(0, 0, 8775, 345));
    header_->setAutoFillBackground(true);
    QPalette band = header_->palette();
    band.setColor(QPalette::Window, Colour::toQColor(0x800000));
    band.setColor(QPalette::WindowText, Qt::white);
    header_->setPalette(band);
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);
    header_->installEventFilter(this);

    // Keystrokes already waiting are taken in before the list reloads for the last of them.
    reloadTimer_ = new QTimer(this);
    reloadTimer_->setSingleShot(true);
    reloadTimer_->setInterval(0);
    connect(reloadTimer_, &QTimer::timeout, this, &SearchPanel::reload);

    // Once the panel is used, rows changed by a save are followed soon after, and those of
    // another program read on their thread, so the next F4 finds them read.
    changeWatch_ = new QTimer(this);
    changeWatch_->setInterval(1000);
    connect(changeWatch_, &QTimer::timeout, this, &SearchPanel::watchChanges);

    for (int i = 0; i < 4; ++i) {
        auto *caption = new QLabel(QLatin1String(layout.captions[i]), this);
        caption->setGeometry(Units::twipsRect(BoxLefts[i], 405, BoxWidths[i], 195));
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(layout.boxes[i]));
        box->setGeometry(Units::twipsRect(BoxLefts[i], 600, BoxWidths[i], 390));
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, reloadTimer_, qOverload<>(&QTimer::start));
        filters_ << box;
    }

    list_ = new RecordList(this);
    list_->setObjectName(QLatin1String(layout.list));
    list_->setGeometry(Units::twipsRect(120, 1080, 8535, 3540));
    QStringList headings;
    for (const char *heading : layout.headings)
        headings << QLatin1String(heading);
    list_->setColumns(headings, {0, 2000, 1000, 1800, 1000, 1000, 1300});
    list_->installEventFilter(this);
    // Only the card list picks on a double-click; in the book list it merely selects.
    if (kind == Kind::Card)
        connect(list_, &RecordList::doubleClicked, this, &SearchPanel::pick);
    hide();
}

SearchPanel::~SearchPanel()
{
    // The read touches nothing of the panel's; its result is dropped with the panel.
    if (reader_.joinable())
        reader_.join();
}

void SearchPanel::open()
{
    show();
    raise();
    filters_.first()->setFocus();
    // Rows not read since the file changed are read while the user starts typing.
    watchChanges();
    changeWatch_->start();
}

std::array<QString, 4> SearchPanel::typed() const
{
    std::array<QString, 4> texts;
    for (int i = 0; i < 4; ++i)
        texts[size_t(i)] = filters_[i]->text();
    return texts;
}

void SearchPanel::reload()
{
    reloadTimer_->stop();
    try {
        Module::open(Module::CompanyDb);
        typedAt_ = ListRowsVersion::of(Module::CompanyDb);
    } catch (const AppError &) {
        typedAt_ = ListRowsVersion(); // read afresh, which reports the failure
    }
    showTyped(false);
}

void SearchPanel::showTyped(bool besideFailed)
{
    rowsOwed_ = false;
    const std::array<QString, 4> texts = typed();
    try {
        Module::open(Module::CompanyDb);
        const std::shared_ptr<Database> &db = Module::CompanyDb;
        // The rows go only once they are read, so a failure leaves the list as it was.
        if (!rows_.answers(db, texts, typedAt_) && !rows_.readBeginning(db, texts[0])) {
            if (reading_ || (!besideFailed && startReading())) {
                rowsOwed_ = true;
                return;
            }
            rows_.readWhole(db);
        }
        showRows(rows_.filtered(texts));
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}

void SearchPanel::showRows(ListRows rows)
{
    // The row the user selected stays selected where the rows still hold its key; the row Qt
    // makes current when the list gets the focus is no choice of the user's.
    const QModelIndex current = list_->currentIndex();
    int kept = -1;
    if (current.isValid() && list_->selectionModel()->isSelected(current)) {
        const QByteArray key = list_->records()->text(current.row(), 0).toUtf8();
        for (int row = 0; row < rows.size() && kept < 0; ++row)
            if (rows.utf8(row, 0) == key)
                kept = row;
    }
    list_->records()->setRows(std::move(rows));
    if (kept >= 0)
        list_->setCurrentIndex(list_->records()->index(kept, 0));
}

bool SearchPanel::startReading()
{
    ListRowsVersion version;
    QString path;
    try {
        const std::shared_ptr<Database> &db = Module::CompanyDb;
        // On one or two cores a reading thread gains little beside the window; and readers cannot
        // see the rows of an open write transaction.
        if (PartedRead::parts() <= 2 || !db || db->inTransaction())
            return false;
        version = ListRowsVersion::of(db);
        path = db->path();
    } catch (const AppError &) {
        return false; // the keystroke reads the table and reports the failure
    }
    reading_ = true;
    reader_ = std::jthread([this, source = rows_.source(), path, version] {
        std::shared_ptr<SearchPanelRows::Read> read;
        try {
            read = std::make_shared<SearchPanelRows::Read>(
                SearchPanelRows::read(source, path, version));
        } catch (...) {
            // Read again on the main connection, which reports the failure.
        }
        QMetaObject::invokeMethod(
            this, [this, read] { rowsRead(read); }, Qt::QueuedConnection);
    });
    return true;
}

void SearchPanel::watchChanges()
{
    if (reading_ || !window()->isVisible())
        return;
    try {
        Module::open(Module::CompanyDb);
        const std::shared_ptr<Database> &db = Module::CompanyDb;
        // While another program goes on committing, a read of the whole table would hold its
        // commits up, and they the keystrokes' own reads: the table is read once the file is quiet
        // from one look to the next.
        const ListRowsVersion now = ListRowsVersion::of(db);
        const bool quiet = !now.othersCommittedSince(watched_);
        watched_ = now;
        if (!db->inTransaction() && (!rows_.catchUp(db) || !rows_.whole()) &&
            (quiet || !rows_.held()))
            startReading();
    } catch (const AppError &) {
        // The next keystroke reads the rows and reports the failure.
    }
}

void SearchPanel::rowsRead(const std::shared_ptr<SearchPanelRows::Read> &read)
{
    reading_ = false;
    if (read)
        rows_.take(std::move(*read));
    if (rowsOwed_)
        showTyped(!read);
    if (!rowsOwed_)
        releaseKeys();
}

bool SearchPanel::holdForRows(QKeyEvent *key)
{
    if (reloadTimer_->isActive())
        reload();
    if (!rowsOwed_)
        return false;
    hold(key);
    if (!keyHold_)
        keyHold_ = new KeyHold(this);
    return true;
}

void SearchPanel::hold(const QKeyEvent *key)
{
    auto kept = std::make_unique<QKeyEvent>(
        key->type(), key->key(), key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
        key->nativeModifiers(), key->text(), key->isAutoRepeat(), key->count());
    kept->setTimestamp(key->timestamp());
    // A key handed on again that must wait once more stays ahead of those typed after it.
    if (replaying_)
        heldKeys_.push_front(std::move(kept));
    else
        heldKeys_.push_back(std::move(kept));
}

void SearchPanel::releaseKeys()
{
    delete keyHold_;
    keyHold_ = nullptr;
    // Each key goes where the keys before it left the focus, as it would have gone when typed.
    QPointer<SearchPanel> alive(this);
    while (alive && !keyHold_ && !heldKeys_.empty()) {
        const std::unique_ptr<QKeyEvent> key = std::move(heldKeys_.front());
        heldKeys_.pop_front();
        QWidget *target = QApplication::focusWidget();
        if (!target)
            continue;
        replaying_ = true;
        if (key->type() != QEvent::KeyPress ||
            !qt_sendShortcutOverrideEvent(target, key->timestamp(), key->key(), key->modifiers(),
                                          key->text(), key->isAutoRepeat(), key->count()))
            QCoreApplication::sendEvent(target, key.get());
        if (alive)
            replaying_ = false;
    }
}

void SearchPanel::pick(const QModelIndex &row)
{
    // The row the user chose, or nothing: a list reloaded without it has none selected.
    if (!row.isValid())
        return;
    const double key = Numbers::leadingValue(list_->records()->text(row.row(), 0));
    try {
        Database &db = Module::open(Module::CompanyDb);
        const auto number = kind_ == Kind::Card ? CirculationRules::pickedCardNo(db, key)
                                                : CirculationRules::pickedAccessionNo(db, key);
        // A record deleted since the list was filled: the panel stays as it is.
        if (number)
            emit picked(*number);
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}

bool SearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == header_ && event->type() == QEvent::MouseButtonPress) {
        if (headerClickHides_)
            hide();
        return headerClickHides_;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool down =
        key->key() == Qt::Key_Down && filters_.contains(qobject_cast<QLineEdit *>(watched));
    // A key for the list acts on the list for all the text typed before it.
    if ((watched == list_ || down) && holdForRows(key))
        return true;
    if (watched == list_ && KeyPreview::isEnter(key)) {
        pick(list_->currentIndex());
        return true;
    }
    if (down) {
        list_->setFocus(Qt::TabFocusReason);
        // The list comes in on its first row, where it has none current, as an item view's own
        // focus handling does: not selected, so a reload does not keep it.
        if (!list_->currentIndex().isValid() && list_->records()->size() > 0)
            list_->selectionModel()->setCurrentIndex(list_->records()->index(0, 0),
                                                     QItemSelectionModel::NoUpdate);
        return true;
    }
    return false;
}
