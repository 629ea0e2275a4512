#include "ui/ReportHandOver.h"

#include "core/Module.h"
#include "core/report/Report.h"
#include "ui/ReportViewer.h"
#include "ui/WindowRegistry.h"
#include "ui/frmPrint1.h"

#include <QLabel>
#include <QPushButton>

namespace ReportHandOver {

namespace {

frmPrint1 *handOver(Report &report, int zoom, bool hidePrint)
{
    auto *window = qobject_cast<frmPrint1 *>(WindowRegistry::load(QStringLiteral("frmPrint1")));
    if (!window)
        throw AppError(91, QStringLiteral("The report window is not registered"));
    window->lblRPTFileName()->setText(QStringLiteral("RPT File :") + report.path());
    window->CRViewer1()->setReportSource(report.document());
    window->CRViewer1()->viewReport();
    // Stickers hide Print; the next ordinary report in the same window offers it again.
    window->cmdPrint()->setVisible(!hidePrint);
    window->CRViewer1()->setZoom(zoom);
    WindowRegistry::show(QStringLiteral("frmPrint1"));
    return window;
}

} // namespace

frmPrint1 *showReport(const QString &templatePath, Binding binding)
{
    Report report = Report::open(Module::programPath(templatePath));
    if (binding == Binding::Staging) {
        Recordset staged =
            Module::open(Module::CommonDb).query(QStringLiteral("SELECT * FROM Printing"));
        report.setDataSource(staged);
    } else {
        report.readOwnData();
    }
    return handOver(report, 115, false);
}

frmPrint1 *showStickers(const QString &templatePath)
{
    Report report = Report::open(Module::programPath(templatePath));
    Recordset stickers =
        Module::open(Module::StickerDb).query(QStringLiteral("SELECT * FROM Cake"));
    report.setDataSource(stickers);
    return handOver(report, 100, true);
}

} // namespace ReportHandOver
