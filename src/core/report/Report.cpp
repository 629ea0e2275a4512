#include "core/report/Report.h"

#include "core/Database.h"
#include "core/Module.h"

#include <QFileInfo>

Report Report::open(const QString &templatePath)
{
    return Report(ReportTemplate::load(templatePath));
}

void Report::setDataSource(Recordset &records)
{
    data_ = ReportData::fromRecordset(records);
    document_.reset();
}

std::shared_ptr<Database> Report::ownDatabase() const
{
    if (template_.database.isEmpty())
        throw AppError(3265, QStringLiteral("The report %1 names no database").arg(template_.path));
    const QString file = Module::programPath(template_.database);
    const QString canonical = QFileInfo(file).canonicalFilePath();
    for (const auto &handle : {Module::CommonDb, Module::StickerDb, Module::PackageDb,
                               Module::WhatsAppDb, Module::CompanyDb})
        if (handle && !canonical.isEmpty() &&
            QFileInfo(handle->path()).canonicalFilePath() == canonical)
            return handle;
    return Database::open(file);
}

void Report::readOwnData()
{
    const auto database = ownDatabase();
    Recordset records = database->query(template_.query);
    setDataSource(records);
}

std::shared_ptr<const ReportDocument> Report::document()
{
    if (!document_)
        document_ = std::make_shared<ReportDocument>(template_, data_);
    return document_;
}
