#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class Recordset;

// The rows a report prints, read once from a recordset so that layout and every page drawing work
// on the same values.
class ReportData
{
public:
    ReportData() = default;
    static ReportData fromRecordset(Recordset &records);
    // Rows given directly (tests, benchmarks).
    ReportData(const QStringList &columns, std::vector<std::vector<QVariant>> rows);

    int rowCount() const { return int(rows_.size()); }
    const QStringList &columns() const { return columns_; }
    // The column's index without regard to case, or -1.
    int columnIndex(const QString &name) const { return index_.value(name.toLower(), -1); }
    QVariant value(int row, int column) const;

private:
    void buildIndex();

    QStringList columns_;
    QHash<QString, int> index_;
    std::vector<std::vector<QVariant>> rows_;
};
