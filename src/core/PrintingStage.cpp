#include "core/PrintingStage.h"

#include "core/Module.h"

namespace ReportHandOver {

namespace {

const char *const CompanyColumns[] = {"CompanyName", "Address", "Address2", "city",
                                      "phone",       "mobile",  "TINNo"};

} // namespace

PrintingStage::PrintingStage(CompanyHeader header, WithoutCompany withoutCompany)
    : header_(header), withoutCompany_(withoutCompany)
{
    db_ = Module::CommonDb;
    Database &db = Module::open(db_);
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
            Module::open(Module::CompanyDb).query(QStringLiteral("SELECT * FROM Company"));
        if (company.eof() && withoutCompany_ == WithoutCompany::Fail)
            throw AppError(3021, QStringLiteral("No current record."));
        for (const char *column : CompanyColumns)
            company_ << (company.eof() ? QVariant() : company.field(QLatin1String(column)));
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

} // namespace ReportHandOver
