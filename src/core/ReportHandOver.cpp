#include "core/ReportHandOver.h"

#include "core/Module.h"
#include "core/WindowRegistry.h"
#include "core/frmPrint1.h"
#include "core/report/Report.h"
#include "core/report/ReportViewer.h"

#include <QLabel>
#include <QPushButton>

namespace ReportHandOver {

namespace {

const char *const CompanyColumns[] = {"CompanyName", "Address", "Address2", "city",
                                      "phone",       "mobile",  "TINNo"};

Database &requireOpen(const Module::DatabaseHandle &handle)
{
    if (!handle)
        throw AppError(91, QStringLiteral("Object variable or With block variable not set"));
    return *handle;
}

frmPrint1 *handOver(Report &report, int zoom, bool hidePrint)
{
    auto *window = qobject_cast<frmPrint1 *>(WindowRegistry::load(QStringLiteral("frmPrint1")));
    if (!window)
        throw AppError(91, QStringLiteral("The report window is not registered"));
    window->lblRPTFileName()->setText(QStringLiteral("RPT File :") + report.path());
    window->CRViewer1()->setReportSource(report.document());
    window->CRViewer1()->viewReport();
    if (hidePrint)
        window->cmdPrint()->setVisible(false);
    window->CRViewer1()->setZoom(zoom);
    WindowRegistry::show(QStringLiteral("frmPrint1"));
    return window;
}

} // namespace

PrintingStage::PrintingStage(CompanyHeader header) : header_(header)
{
    db_ = Module::CommonDb;
    Database &db = requireOpen(db_);
    transaction_.emplace(db);
    db.execute(QStringLiteral("DELETE FROM Printing"));
}

void PrintingStage::addRow(Values values)
{
    addRow(QList<QPair<QString, QVariant>>(values));
}

void PrintingStage::addRow(const QList<QPair<QString, QVariant>> &values)
{
    if (company_.isEmpty()) {
        Recordset company =
            requireOpen(Module::CompanyDb).query(QStringLiteral("SELECT * FROM Company"));
        if (company.eof())
            throw AppError(3021, QStringLiteral("No current record."));
        for (const char *column : CompanyColumns)
            company_ << company.field(QLatin1String(column));
    }
    QStringList names;
    QVariantList bound;
    for (const auto &value : values) {
        // Field names come from the printing windows' code, never from what a user typed.
        names << value.first;
        bound << value.second;
    }
    for (int i = 0; i < 7; ++i) {
        if (header_ == CompanyHeader::Short && (i == 2 || i == 5 || i == 6))
            continue;
        names << QStringLiteral("c%1").arg(i + 1);
        bound << company_[i];
    }
    QStringList marks;
    for (qsizetype i = 0; i < names.size(); ++i)
        marks << QStringLiteral("?");
    db_->execute(QStringLiteral("INSERT INTO Printing (%1) VALUES (%2)")
                     .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                 bound);
    ++rows_;
}

void PrintingStage::commit()
{
    transaction_->commit();
}

frmPrint1 *showReport(const QString &templatePath, Binding binding)
{
    Report report = Report::open(Module::programPath(templatePath));
    if (binding == Binding::Staging) {
        Recordset staged =
            requireOpen(Module::CommonDb).query(QStringLiteral("SELECT * FROM Printing"));
        report.setDataSource(staged);
    } else {
        report.readOwnData();
    }
    return handOver(report, 115, false);
}

frmPrint1 *showStickers(const QString &templatePath)
{
    Report report = Report::open(Module::programPath(templatePath));
    Recordset stickers = requireOpen(Module::StickerDb).query(QStringLiteral("SELECT * FROM Cake"));
    report.setDataSource(stickers);
    return handOver(report, 100, true);
}

} // namespace ReportHandOver
