#include "ui/ImportFrame.h"

#include "core/AppError.h"
#include "core/Dialogs.h"
#include "ui/FormBuilder.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

using FormBuilder::kind;

ImportFrame::ImportFrame(QWidget *parent, const ButtonMaker &makeButton, const QString &closeName,
                         const QString &sampleName)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("fraImport"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    resize(Units::twipsToPixels(Width), Units::twipsToPixels(Height));
    const auto L = kind<QLabel>();
    const auto T = kind<QLineEdit>();
    FormBuilder::build(
        this,
        {
            {L, "lblTitle", "EXCEL DATA IMPORT UTILITY ", 0, 0, Width - 420, 360},
            {L, closeName, "X", Width - 420, 0, 420, 360},
            {L, "lblStep1", "Step 1.", 120, 480, 900, 300},
            {L, "lblStep1Text", "Select Excel File that contains " + sampleName, 1080, 480, 5900, 300},
            {L, "lblPath", "Excel File Path", 120, 840, 1500, 300},
            {T, "txtPath", "", 1680, 810, 5400, 330},
            {L, "lblStep2", "Step 2.", 120, 1740, 900, 300},
            {L, "lblStep2Text", "Enter Total No. of Entries to import", 1080, 1740, 5900, 300},
            {L, "lblCount", "No. of Entries", 120, 2100, 1500, 300},
            {T, "txtNoofRecords", "", 1680, 2070, 1500, 330},
            {L, "lblStep3", "Step 3.", 120, 2580, 900, 300},
            {L, "lblStep3Text", "Confirm and import", 1080, 2580, 3000, 300},
            {L, "lblImportProgress", "", 120, 3000, 4500, 300},
            {L, "lblHint",
             "Sample Excel file format is given in \"" + sampleName +
                 ".xlsx\" file in your application folder",
             120, 3360, Width - 240, 480},
        });
    txtPath = findChild<QLineEdit *>(QStringLiteral("txtPath"));
    txtNoofRecords = findChild<QLineEdit *>(QStringLiteral("txtNoofRecords"));
    lblProgress = findChild<QLabel *>(QStringLiteral("lblImportProgress"));
    closeLabel = findChild<QLabel *>(closeName);
    if (sampleName.isEmpty()) {
        findChild<QLabel *>(QStringLiteral("lblStep1Text"))->hide();
        findChild<QLabel *>(QStringLiteral("lblHint"))->hide();
    }
    findChild<QLabel *>(QStringLiteral("lblHint"))->setWordWrap(true);

    auto *title = findChild<QLabel *>(QStringLiteral("lblTitle"));
    QPalette strip = title->palette();
    strip.setColor(QPalette::Window, QColor(0x1F, 0x38, 0x64));
    strip.setColor(QPalette::WindowText, Qt::white);
    for (QLabel *label : {title, closeLabel}) {
        label->setAutoFillBackground(true);
        label->setPalette(strip);
    }
    closeLabel->setAlignment(Qt::AlignCenter);
    closeLabel->setCursor(Qt::PointingHandCursor);
    closeLabel->installEventFilter(this);

    const auto place = [&](const char *name, const char *caption, int top) {
        QWidget *button = makeButton(this, QLatin1String(caption));
        button->setObjectName(QLatin1String(name));
        button->setGeometry(Units::twipsToPixels(4800), Units::twipsToPixels(top),
                            Units::twipsToPixels(2280), Units::twipsToPixels(420));
        return button;
    };
    connect(place("cmdSelectExcelFile", "&Select Excel File", 1200), SIGNAL(Click()), this,
            SLOT(selectExcelFile()));
    connect(place("cmdImportData", "&Import Data", 2520), SIGNAL(Click()), this,
            SIGNAL(importRequested()));
    hide();
}

bool ImportFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == closeLabel && event->type() == QEvent::MouseButtonPress) {
        hide();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void ImportFrame::selectExcelFile()
{
    const QString chosen = Dialogs::service().openFile(
        QStringLiteral("Select Only Excel File"),
        QStringLiteral("Apps (*.xlsx);;All files (*)"), QString());
    if (!chosen.isEmpty())
        txtPath->setText(chosen);
    // A cancelled dialog counts the workbook already named again; any failure is silent, the
    // import itself names it.
    if (txtPath->text().trimmed().isEmpty() || !countRows)
        return;
    try {
        txtNoofRecords->setText(QString::number(countRows(txtPath->text())));
    } catch (const AppError &) {
    }
}
