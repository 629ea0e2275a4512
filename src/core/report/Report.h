#pragma once

#include "core/report/ReportLayout.h"

#include <QString>
#include <memory>

class Database;
class Recordset;

// A report opened from its template, given its rows and laid out into pages. Binding gives it the
// rows of a recordset; an unbound report reads its rows through the database and query its
// template names.
class Report
{
public:
    // Reads the template; a missing or unreadable file is an AppError.
    static Report open(const QString &templatePath);

    const ReportTemplate &layout() const { return template_; }
    const QString &path() const { return template_.path; }

    // Binds the rows of a recordset (read to its end).
    void setDataSource(Recordset &records);
    // Reads the rows through the template's own database and query.
    void readOwnData();
    // The database the template names, as an open handle: the program's open handle of that file
    // when there is one, else the file opened now.
    std::shared_ptr<Database> ownDatabase() const;

    // The pages, laid out once from the rows given (no rows when none were given).
    std::shared_ptr<const ReportDocument> document();

private:
    explicit Report(ReportTemplate layout) : template_(std::move(layout)) {}

    ReportTemplate template_;
    ReportData data_;
    std::shared_ptr<const ReportDocument> document_;
};
