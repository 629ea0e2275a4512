#include "circulation/SearchPanel.h"

#include "circulation/CirculationRules.h"
#include "core/Colour.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "core/Units.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

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
    "SELECT CardID, Name, GroupName, RollNo, CardNo, OT11, OT13, (Name IS NULL) + "
    "2 * (GroupName IS NULL) + 4 * (OT11 IS NULL) + 8 * (RollNo IS NULL) FROM Card ORDER BY Name",
    {1, 2, 5, 3}};
const SearchPanelRows::Source BookRows = {
    "SELECT BookID, title, Author, Publisher, Subject, OT11, OT12, (title IS NULL) + "
    "2 * (Author IS NULL) + 4 * (Subject IS NULL) + 8 * (Publisher IS NULL) FROM Book "
    "ORDER BY title",
    {1, 2, 4, 3}};

const int BoxLefts[4] = {120, 2685, 4605, 6335};
const int BoxWidths[4] = {2565, 1920, 1725, 2280};

} // namespace

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
        connect(list_, &RecordList::doubleClicked, this, [this](const QModelIndex &index) {
            if (index.isValid())
                pick();
        });
    hide();
}

void SearchPanel::open()
{
    show();
    raise();
    filters_.first()->setFocus();
    // Read the table while the user starts typing, once the panel has shown. A failure here is
    // reported by the keystroke, which reads the table again.
    QTimer::singleShot(0, this, [this] {
        try {
            Module::open(Module::CompanyDb);
            rows_.refresh(Module::CompanyDb);
        } catch (const AppError &) {
        }
    });
}

void SearchPanel::reload()
{
    reloadTimer_->stop();
    std::array<QString, 4> typed;
    for (int i = 0; i < 4; ++i)
        typed[size_t(i)] = filters_[i]->text();
    try {
        Module::open(Module::CompanyDb);
        // The rows go only once they are read, so a failure leaves the list as it was.
        list_->records()->setRows(rows_.filtered(Module::CompanyDb, typed));
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                         QString());
    }
}

void SearchPanel::pick()
{
    if (list_->records()->size() == 0)
        return;
    const int row = list_->currentIndex().isValid() ? list_->currentIndex().row() : 0;
    const double key = Numbers::leadingValue(list_->records()->row(row).texts.value(0));
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
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == list_ && KeyPreview::isEnter(key)) {
        pick();
        return true;
    }
    if (key->key() == Qt::Key_Down && filters_.contains(qobject_cast<QLineEdit *>(watched))) {
        list_->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}
