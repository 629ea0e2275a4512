#include "admin/frmPosition.h"

#include "core/Dialogs.h"
#include "core/Module.h"
#include "core/Numbers.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/RightsCheck.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>

using FormBuilder::kind;
namespace Admin = UserAdministration;

namespace {

// The row captions of the rights grid and the names its boxes are built from, in entry order.
struct GridRow
{
    const char *caption;
    const char *stem;
};
constexpr GridRow GridRows[Admin::EntryCount] = {
    {"Book Master", "Book"},     {"Card Master", "Card"},         {"User", "User"},
    {"Book Issue", "BookIssue"}, {"Book Receipt", "BookReceipt"},
};
constexpr const char *RightNames[4] = {"Add", "Modify", "Delete", "Print"};

void showError(const AppError &error, const QString &title = QString())
{
    Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information, title);
}

void showHeldPosition(const QString &refusal)
{
    Dialogs::critical(refusal, QStringLiteral("Can't be Delete"));
}

} // namespace

frmPosition::frmPosition(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("USER POSITION"));
    buildControls();
    KeyPreview::installEnterChain(this, {txtPositionName, rightsBoxes[0][0]});
    KeyPreview::installEscClose(this);
    readRights();
    applyRights();
    Lv1Load();
    txtPositionName->setFocus();
}

void frmPosition::readRights()
{
    constexpr EntryRights every{true, true, true, true};
    if (Admin::isSuperUser(Module::CurrentUserPosition)) {
        allowed_ = every;
        return;
    }
    try {
        // Only the SUPER USER reads as no row; any other position without one holds no right
        // here, as in the Users window.
        allowed_ = RightsCheck::currentRights(QStringLiteral("User")).value_or(every);
    } catch (const AppError &error) {
        // Rights that cannot be read grant nothing.
        allowed_ = EntryRights{};
        showError(error);
    }
}

void frmPosition::applyRights()
{
    cmdAdd->setVisible(mayStore());
    cmdDelete->setVisible(allowed_.remove);
}

bool frmPosition::mayStore() const
{
    return cmdAdd->text() == QLatin1String("&Save") ? allowed_.add : allowed_.modify;
}

void frmPosition::buildControls()
{
    FormBuilder::setClientSize(this, 11160, 7080);
    setFixedSize(size());
    FormBuilder::build(
        this,
        {
            {kind<QLabel>(), "lblHeading", "USER POSITION ENTRY FORM", 120, 120, 10920, 420},
            {kind<QGroupBox>(), "fraPositionInformation", "Position Information", 120, 660, 6000,
             900},
            {kind<QLabel>(), "fraPositionInformation/lblPositionName", "Position Name", 150, 420,
             1400, 285},
            {kind<QLineEdit>(), "fraPositionInformation/txtPositionName", "", 1600, 360, 4200, 360},
            {kind<QGroupBox>(), "fraRights", "User Rights", 120, 1680, 6000, 3300},
            {kind<QPushButton>(), "cmdAdd", "&Save", 120, 5160, 1900, 480},
            {kind<QPushButton>(), "cmdDelete", "&Delete", 2170, 5160, 1900, 480},
            {kind<QPushButton>(), "cmdClose", "&Close", 4220, 5160, 1900, 480},
            {kind<QGroupBox>(), "fraPositionID", "", 120, 5760, 5400, 600},
            {kind<QLabel>(), "fraPositionID/lblPositionID", "PositionID", 150, 220, 1400, 285},
            {kind<QLineEdit>(), "fraPositionID/txtPositionID", "", 1600, 180, 1500, 330},
            {kind<QGroupBox>(), "fraDisplay", "Display Section", 6300, 660, 4740, 5100},
            {kind<RecordList>(), "fraDisplay/Lv1", "", 120, 300, 4500, 4680},
            {kind<QGroupBox>(), "fraSearch", "Search", 6300, 5880, 4740, 960},
            {kind<QLabel>(), "fraSearch/lblSearch", "Position Name", 120, 450, 1400, 285},
            {kind<QLineEdit>(), "fraSearch/txtSearch", "", 1550, 390, 3050, 360},
        });
    buildRightsGrid();

    txtPositionName = findChild<QLineEdit *>("txtPositionName");
    txtPositionID = findChild<QLineEdit *>("txtPositionID");
    txtSearch = findChild<QLineEdit *>("txtSearch");
    Lv1 = findChild<RecordList *>("Lv1");
    cmdAdd = findChild<QPushButton *>("cmdAdd");
    cmdDelete = findChild<QPushButton *>("cmdDelete");
    cmdClose = findChild<QPushButton *>("cmdClose");

    auto *heading = findChild<QLabel *>("lblHeading");
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSize(14);
    heading->setFont(font);
    heading->setAlignment(Qt::AlignCenter);

    findChild<QWidget *>("fraPositionID")->hide();
    txtSearch->setMaxLength(50);
    Lv1->setColumns({QStringLiteral("ID"), QStringLiteral("Position Name")}, {0, 2000});
    // Only a double-click opens a row; Enter on the list does nothing.
    Lv1->viewport()->installEventFilter(this);

    connect(cmdAdd, &QPushButton::clicked, this, &frmPosition::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmPosition::cmdDelete_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmPosition::closeWindow);
}

void frmPosition::buildRightsGrid()
{
    auto *frame = findChild<QWidget *>("fraRights");
    for (int entry = 0; entry < Admin::EntryCount; ++entry) {
        const int top = 330 + entry * 570;
        auto *label = new QLabel(QLatin1String(GridRows[entry].caption), frame);
        label->setObjectName(QStringLiteral("lbl%1").arg(QLatin1String(GridRows[entry].stem)));
        label->setGeometry(Units::twipsRect(150, top, 1500, 285));
        for (int right = 0; right < 4; ++right) {
            auto *box = new QCheckBox(QLatin1String(RightNames[right]), frame);
            box->setObjectName(QStringLiteral("chk%1%2").arg(QLatin1String(GridRows[entry].stem),
                                                             QLatin1String(RightNames[right])));
            box->setGeometry(Units::twipsRect(1600 + right * 1080, top - 30, 1050, 330));
            rightsBoxes[size_t(entry)][size_t(right)] = box;
        }
    }
}

void frmPosition::CleanBox()
{
    txtPositionName->clear();
    cmdAdd->setText(QStringLiteral("&Save"));
    cmdDelete->setEnabled(false);
    applyRights();
    txtPositionName->setFocus();
}

void frmPosition::Lv1Load()
{
    try {
        std::vector<RecordRow> rows;
        for (const Admin::PositionListRow &position :
             Admin::positionList(Module::open(Module::CompanyDb), txtSearch->text()))
            rows.push_back({{position.id, position.name}});
        Lv1->records()->setRows(std::move(rows));
    } catch (const AppError &error) {
        showError(error);
    }
}

int frmPosition::positionKey() const
{
    bool isNumber = false;
    const double key = txtPositionID->text().trimmed().toDouble(&isNumber);
    if (!isNumber)
        throw AppError(13, QStringLiteral("Type mismatch"));
    return int(Units::roundHalfEven(key));
}

std::array<EntryRights, Admin::EntryCount> frmPosition::ticks() const
{
    std::array<EntryRights, Admin::EntryCount> rights;
    for (size_t entry = 0; entry < rights.size(); ++entry) {
        const auto &boxes = rightsBoxes[entry];
        rights[entry] = {
            boxes[0]->checkState() == Qt::Checked, boxes[1]->checkState() == Qt::Checked,
            boxes[2]->checkState() == Qt::Checked, boxes[3]->checkState() == Qt::Checked};
    }
    return rights;
}

void frmPosition::setTicks(int entry, const EntryRights &rights)
{
    const auto &boxes = rightsBoxes[size_t(entry)];
    boxes[0]->setChecked(rights.add);
    boxes[1]->setChecked(rights.modify);
    boxes[2]->setChecked(rights.remove);
    boxes[3]->setChecked(rights.print);
}

void frmPosition::cmdAdd_Click()
{
    if (!mayStore())
        return;
    const QString name = txtPositionName->text();
    if (const auto refusal = Admin::positionRefusal(name)) {
        Dialogs::message(*refusal, Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        txtPositionName->setFocus();
        return;
    }
    try {
        Database &db = Module::open(Module::CompanyDb);
        // A change replaces the position's rows whole, so a failure leaves the old ones.
        if (cmdAdd->text() == QLatin1String("&Save")) {
            txtPositionID->setText(QString::number(Admin::addPosition(db, name, ticks())));
        } else {
            const int key = positionKey();
            // Users hold the position by name: renamed, they would hold no rights at all.
            if (const auto refusal = Admin::replacePosition(db, key, name, ticks())) {
                Dialogs::critical(*refusal, QStringLiteral("Can't be Renamed"));
                txtPositionName->setFocus();
                return;
            }
            txtPositionID->setText(QString::number(key));
        }
    } catch (const AppError &error) {
        showError(error);
        return;
    }
    Dialogs::message(QStringLiteral("New Position has been Added"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Information, QString());
    CleanBox();
    Lv1Load();
}

bool frmPosition::refuseHeldPosition()
{
    // Until a position is loaded there is no key; the delete reports that after its question.
    bool isNumber = false;
    txtPositionID->text().trimmed().toDouble(&isNumber);
    if (!isNumber)
        return false;
    try {
        const auto refusal =
            Admin::positionInUseRefusal(Module::open(Module::CompanyDb), positionKey());
        if (!refusal)
            return false;
        showHeldPosition(*refusal);
    } catch (const AppError &error) {
        showError(error, Dialogs::programTitle());
    }
    return true;
}

void frmPosition::cmdDelete_Click()
{
    // Users holding a deleted position would match no rights row and so be restricted by none.
    if (!allowed_.remove || refuseHeldPosition())
        return;
    const QString question = QStringLiteral("Position Name : ") + txtPositionName->text() +
                             QStringLiteral("\r\nAre you sure you want to Delete this Position?");
    if (!Dialogs::askYesNo(question, QString(), Dialogs::Icon::Critical))
        return;
    try {
        // Another program may have given a user the position while the question was open.
        if (const auto refusal =
                Admin::deletePosition(Module::open(Module::CompanyDb), positionKey())) {
            showHeldPosition(*refusal);
            return;
        }
    } catch (const AppError &error) {
        showError(error, Dialogs::programTitle());
        return;
    }
    Dialogs::message(QStringLiteral("Position Delete"), Dialogs::Buttons::Ok,
                     Dialogs::Icon::Information, QString());
    txtPositionName->clear();
    Lv1Load();
    CleanBox();
}

void frmPosition::Lv1_DblClick()
{
    try {
        if (!Lv1->currentIndex().isValid())
            throw AppError(91, QStringLiteral("Object variable or With block variable not set"));
        const int key = int(Numbers::leadingValue(Lv1->currentText(0)));
        const auto position = Admin::loadPosition(Module::open(Module::CompanyDb), key);
        // The key comes from the list, so an update replaces the row that was opened.
        txtPositionID->setText(QString::number(key));
        if (position) {
            txtPositionName->setText(position->name);
            for (int entry = 0; entry < Admin::EntryCount; ++entry)
                if (const auto &rights = position->rights[size_t(entry)])
                    setTicks(entry, *rights);
        }
        cmdAdd->setText(QStringLiteral("&Update"));
        cmdDelete->setEnabled(true);
        applyRights();
    } catch (const AppError &error) {
        showError(error);
    }
}

bool frmPosition::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Lv1->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        Lv1_DblClick();
    return QWidget::eventFilter(watched, event);
}

void frmPosition::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}
