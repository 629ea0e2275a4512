#include "shell/frmCompanyList.h"

#include "controls/button/StyledButton.h"
#include "core/Colour.h"
#include "core/CompanyDatabase.h"
#include "core/CompanyFolders.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "shell/ShellWindows.h"
#include "ui/FormBuilder.h"
#include "ui/KeyPreview.h"
#include "ui/RecordList.h"
#include "ui/SharedProcedures.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QScopeGuard>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr quint32 WindowColour = 0xFDF5E1;
constexpr quint32 BandColour = 0xA75C0A;
const QString LastEntryCaption = QStringLiteral("Last Entry Date :   ");

enum Column { NameColumn, DatabaseColumn, FolderColumn, CityColumn, YearColumn };

void paint(QWidget *widget, quint32 back, quint32 fore = 0xFFFFFFFF)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Colour::toQColor(back));
    palette.setColor(QPalette::Base, Colour::toQColor(back));
    if (fore != 0xFFFFFFFF) {
        palette.setColor(QPalette::WindowText, Colour::toQColor(fore));
        palette.setColor(QPalette::Text, Colour::toQColor(fore));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

frmCompanyList::frmCompanyList(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("SELECT COMPANY"));
    showWithoutBorder(this);
    FormBuilder::setClientSize(this, 14400, 8700);
    paint(this, WindowColour);
    FormBuilder::build(
        this,
        {
            {FormBuilder::kind<QWidget>(), "shpHeader", "", 0, 0, 14400, 660},
            {FormBuilder::kind<QLabel>(), "lblHeader", "SELECT COMPANY", 240, 0, 4200, 660},
            {FormBuilder::kind<QLabel>(), "lblSearch", "", 4800, 120, 4500, 420},
            {FormBuilder::kind<StyledButton>(), "cmdNew", "", 9600, 90, 2900, 480},
            {FormBuilder::kind<StyledButton>(), "cmdClose", "", 12640, 90, 1520, 480},
            {FormBuilder::kind<QLabel>(), "lblLookIn", "Look in Data Path : ", 240, 840, 2400, 360},
            {FormBuilder::kind<QLineEdit>(), "txtPath", "", 2640, 800, 10560, 420},
            {FormBuilder::kind<QToolButton>(), "cmdEdit0", "", 13260, 800, 420, 420},
            {FormBuilder::kind<QToolButton>(), "cmdEdit1", "", 13740, 800, 420, 420},
            {FormBuilder::kind<RecordList>(), "Lv1", "", 240, 1380, 13920, 5400},
            {FormBuilder::kind<QLabel>(), "lblDatabasePath", "Company Database Path : ", 240, 6960,
             2400, 360},
            {FormBuilder::kind<QLineEdit>(), "txtSearch", "", 2640, 6920, 11520, 420},
            {FormBuilder::kind<QLabel>(), "lblLastEntry", "Last Entry Date : ", 240, 7440, 8000,
             360},
            {FormBuilder::kind<QLabel>(), "Label15", "", 0, 7920, 14400, 780},
            {FormBuilder::kind<QWidget>(), "fraHidden", "", 0, 0, 0, 0},
            {FormBuilder::kind<QLineEdit>(), "fraHidden/WhatSearch", "Vevezidora12.mdb", 0, 0, 0,
             0},
            {FormBuilder::kind<QLineEdit>(), "fraHidden/txtSearch2", "", 0, 0, 0, 0},
        });
    findChild<QWidget *>(QStringLiteral("fraHidden"))->hide();
    txtPath = findChild<QLineEdit *>(QStringLiteral("txtPath"));
    txtSearch = findChild<QLineEdit *>(QStringLiteral("txtSearch"));
    txtSearch2 = findChild<QLineEdit *>(QStringLiteral("txtSearch2"));
    WhatSearch = findChild<QLineEdit *>(QStringLiteral("WhatSearch"));
    lblSearch = findChild<QLabel *>(QStringLiteral("lblSearch"));
    lblLastEntry = findChild<QLabel *>(QStringLiteral("lblLastEntry"));
    Lv1 = findChild<RecordList *>(QStringLiteral("Lv1"));

    paint(findChild<QWidget *>(QStringLiteral("shpHeader")), BandColour);
    auto *header = findChild<QLabel *>(QStringLiteral("lblHeader"));
    QFont big = header->font();
    big.setPointSize(14);
    big.setBold(true);
    header->setFont(big);
    paint(header, BandColour, 0xFFFFFF);
    header->setAutoFillBackground(false);
    paint(lblSearch, BandColour, 0xFFFFFF);
    auto *legend = findChild<QLabel *>(QStringLiteral("Label15"));
    legend->setText(QStringLiteral(
        "[F3 - Create a New Company]  [F4 - Set Database Path]  [F5 - Backup My Data]  [F6 - "
        "Restore My Data]  [F8 - Change Financial Year]  [F7 - Other Settings]"));
    legend->setAlignment(Qt::AlignCenter);
    legend->setWordWrap(true);
    paint(legend, BandColour, 0xFFFFFF);
    KeyPreview::setBackColour(txtPath, WindowColour);
    paint(txtPath, WindowColour, 0x804000);
    paint(txtSearch, 0xD9FBFB);
    txtSearch->setReadOnly(true);

    auto *cmdNew = findChild<StyledButton *>(QStringLiteral("cmdNew"));
    auto *cmdClose = findChild<StyledButton *>(QStringLiteral("cmdClose"));
    cmdNew->setCaption(QStringLiteral("&Create A New Company"));
    cmdClose->setCaption(QStringLiteral("&Close"));
    connect(cmdNew, &StyledButton::Click, this, [this] { createCompany(false); });
    connect(cmdClose, &StyledButton::Click, this, &frmCompanyList::closeWindow);
    auto *edit0 = findChild<QToolButton *>(QStringLiteral("cmdEdit0"));
    auto *edit1 = findChild<QToolButton *>(QStringLiteral("cmdEdit1"));
    edit0->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    edit1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    edit1->setToolTip(QStringLiteral("Want to browse for Folder?"));
    connect(edit1, &QToolButton::clicked, this, &frmCompanyList::chooseDataRoot);

    Lv1->setColumns({QStringLiteral("Company Name"), QStringLiteral("CompanyID"),
                     QStringLiteral("Path"), QStringLiteral("City"), QStringLiteral("F.Y From")},
                    {9000, 0, 0, 3500, 0});
    for (int hidden : {DatabaseColumn, FolderColumn, YearColumn})
        Lv1->setColumnHidden(hidden, true);
    // The last shown column takes what the others leave, so the header spans the whole list.
    Lv1->header()->setStretchLastSection(true);
    SetListViewStripes(Lv1, 0xFFFFFF, 0xF3F3ED);
    connect(Lv1, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid() && !rows_.empty())
            GetLoadCompany();
    });
    connect(Lv1, &QAbstractItemView::clicked, this, &frmCompanyList::showRow);
    connect(Lv1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid() && !refilling_)
                    showRow();
            });

    // The scan runs between other events so the window answers while databases open.
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1);
    connect(Timer2, &QTimer::timeout, this, &frmCompanyList::Timer2_Timer);

    KeyPreview::install(this, [this](QKeyEvent *event) { return keyPreview(event); });

    try {
        pathload();
    } catch (const AppError &error) {
        // Without a readable data root the program's own Data folder is walked.
        reportOnce(QStringLiteral("Path"), error.boxText(), QString());
    }
    GetLoadAllCompany();
    Lv1->setFocus();
}

QString frmCompanyList::filter() const
{
    return txtSearch2->text();
}

void frmCompanyList::pathload()
{
    if (!Module::CommonDb)
        throw AppError(91, QStringLiteral("Object variable or With block variable not set"));
    for (Recordset rs = Module::CommonDb->query(QStringLiteral("SELECT * FROM Path")); !rs.eof();
         rs.moveNext())
        txtPath->setText(rs.text(QStringLiteral("Defaultpath")));
}

void frmCompanyList::GetLoadAllCompany()
{
    rows_.clear();
    setRows();
    FindFilesAPI(txtPath->text(), QLatin1String(Module::CompanyDatabaseName));
}

void frmCompanyList::FindFilesAPI(const QString &path, const QString &)
{
    rows_.clear();
    setRows();
    scannedFolderCount_ = 0;
    const auto report = [this](const AppError &error) {
        reportOnce(error.description(),
                   QStringLiteral("Error %1\r%2").arg(error.number()).arg(error.description()),
                   Dialogs::programTitle());
    };
    const QString root = Module::resolveDataRoot(path);
    try {
        // A company whose creation a crash cut short is listed whole or not at all.
        if (Module::CommonDb)
            CompanyFolders::finishInterrupted(*Module::CommonDb, root);
        walk_.restart(root, report);
    } catch (const AppError &error) {
        report(error);
    }
    if (scanPending())
        Timer2->start();
}

void frmCompanyList::Timer2_Timer()
{
    // A slice at a time keeps the window answering on a large tree; the next tick goes on.
    QElapsedTimer slice;
    slice.start();
    const QStringList &folders = walk_.folders();
    bool added = false;
    while (scannedFolderCount_ < folders.size() && slice.elapsed() < 40) {
        const QString folder = folders.at(scannedFolderCount_);
        // A folder that fails is passed: reported once, never scanned again in this walk.
        ++scannedFolderCount_;
        try {
            for (const auto &company :
                 CompanyFinder::scanFolder(folder, filter(), &Module::CompanyDb)) {
                RecordRow row;
                row.texts = QStringList{company.name, company.databaseFile, company.folder,
                                        company.city, QString()};
                rows_.push_back(std::move(row));
                added = true;
            }
        } catch (const AppError &error) {
            reportOnce(folder + QLatin1Char('\n') + error.description(), error.boxText(),
                       QString());
        }
    }
    if (added)
        setRows();
    if (!scanPending())
        Timer2->stop();
}

void frmCompanyList::setRows()
{
    // The first row is the selected one until the user picks another, so Enter opens it.
    const int current = std::max(0, Lv1->currentIndex().row());
    refilling_ = true;
    Lv1->records()->setRows(rows_);
    if (current < int(rows_.size()))
        Lv1->setCurrentIndex(Lv1->records()->index(current, 0));
    refilling_ = false;
    // The selected row shows its details as a clicked one does, once: every tick of the scan
    // refills the list, and reading a row's last entry opens its database.
    const QModelIndex selected = Lv1->currentIndex();
    if (selected.isValid() &&
        Lv1->records()->row(selected.row()).texts.value(FolderColumn) != txtSearch->text())
        showRow();
}

void frmCompanyList::reportOnce(const QString &key, const QString &text, const QString &title)
{
    if (reported_.contains(key))
        return;
    reported_.insert(key);
    Dialogs::message(text, Dialogs::Buttons::Ok, Dialogs::Icon::Information, title);
}

bool frmCompanyList::keyPreview(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        closeWindow();
        return true;
    case Qt::Key_F3:
        createCompany(true);
        return true;
    case Qt::Key_F4:
        chooseDataRoot();
        return true;
    default:
        break;
    }
    QWidget *focus = QApplication::focusWidget();
    if (focus == txtPath && KeyPreview::isEnter(event)) {
        FindFilesAPI(txtPath->text(), WhatSearch->text());
        return true;
    }
    if (focus == Lv1)
        return listKey(event);
    return false;
}

bool frmCompanyList::listKey(QKeyEvent *event)
{
    const bool hasRows = !rows_.empty();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (hasRows)
            GetLoadCompany();
        return true;
    case Qt::Key_Backspace:
        clearFilter();
        return true;
    case Qt::Key_F10:
        openSelectedWith(FolderColumn);
        return true;
    case Qt::Key_F12:
        openSelectedWith(DatabaseColumn);
        return true;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const QString text = event->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return false; // arrows, page keys and the like move in the list
    const QChar c = text.at(0);
    if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
        (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))
        typeFilterLetter(c);
    return true; // any other character is discarded
}

void frmCompanyList::typeFilterLetter(QChar letter)
{
    txtSearch2->setText(txtSearch2->text() + letter);
    lblSearch->setText(QStringLiteral("Search : ") + txtSearch2->text());
    FindFilesAPI(txtPath->text(), WhatSearch->text());
}

void frmCompanyList::clearFilter()
{
    txtSearch2->clear();
    lblSearch->clear();
    FindFilesAPI(txtPath->text(), WhatSearch->text());
}

void frmCompanyList::showRow()
{
    const QModelIndex current = Lv1->currentIndex();
    if (!current.isValid() || rows_.empty())
        return;
    txtSearch->setText(Lv1->records()->row(current.row()).texts.value(FolderColumn));
    // The last entry date is a hint: a database that cannot tell it leaves the bare caption.
    QString date;
    try {
        auto db = Database::open(Module::companyDatabasePath(txtSearch->text()));
        Recordset rs = db->query(QStringLiteral("SELECT * FROM [Voucher] ORDER BY VoucherID DESC"));
        if (!rs.eof())
            date = DateText::toLong(DateText::parse(rs.text(QStringLiteral("Date"))));
    } catch (const AppError &) {
    }
    lblLastEntry->setText(LastEntryCaption + date);
}

void frmCompanyList::openSelectedWith(int column)
{
    const QModelIndex current = Lv1->currentIndex();
    if (rows_.empty() || !current.isValid())
        return;
    Dialogs::service().openWithDesktop(Lv1->records()->row(current.row()).texts.value(column));
}

void frmCompanyList::chooseDataRoot()
{
    const QString folder =
        BrowseForFolder(this, QDir::rootPath(), QStringLiteral("Want to browse for Folder?"));
    if (folder.isEmpty())
        return;
    txtPath->setText(folder);
    FindFilesAPI(txtPath->text(), WhatSearch->text());
}

void frmCompanyList::createCompany(bool closeFirst)
{
    // F3 closes first; the button shows the creation window first. Either way the picker goes.
    if (closeFirst) {
        WindowRegistry::close(objectName());
        WindowRegistry::show(QStringLiteral("frmCreateCompany"));
    } else {
        WindowRegistry::show(QStringLiteral("frmCreateCompany"));
        WindowRegistry::close(objectName());
    }
}

void frmCompanyList::closeWindow()
{
    // Leaving the picker leaves the program: the main window's close rule lets it pass.
    if (QMdiArea *area = WindowRegistry::mdiArea())
        area->window()->close();
    else
        WindowRegistry::close(objectName());
}

void frmCompanyList::GetLoadCompany()
{
    const QModelIndex current = Lv1->currentIndex();
    if (!current.isValid() || rows_.empty())
        return;
    const QString folder = Lv1->records()->row(current.row()).texts.value(FolderColumn);
    QPointer<frmCompanyList> self(this);
    QCoreApplication::processEvents();
    if (!self)
        return;
    // Everything that can fail runs before the shared state changes: a failure leaves the open
    // company as it was, and no data source is written for a database that does not open.
    try {
        // An older company gains its indexes here: a moment on a large catalogue.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        auto db = Database::open(Module::companyDatabasePath(folder));
        CompanyDatabase::UpgradeDatabaseSchema(*db);
        Module::CompanyDataPath = folder;
        Module::CompanyDb = db;
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Information);
        return; // the picker stays for another choice
    }
    CompanyDatabase::tryRegisterCompanyDataSource(folder);
    Timer2->stop();
    WindowRegistry::close(objectName());
    WindowRegistry::show(QStringLiteral("frmLogin"));
}
