#include "core/report/ReportData.h"

#include "core/Database.h"

ReportData::ReportData(const QStringList &columns, std::vector<std::vector<QVariant>> rows)
    : columns_(columns), rows_(std::move(rows))
{
    buildIndex();
}

ReportData ReportData::fromRecordset(Recordset &records)
{
    ReportData data;
    data.columns_ = records.columnNames();
    data.buildIndex();
    const int count = records.columnCount();
    for (; !records.eof(); records.moveNext()) {
        std::vector<QVariant> row(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            row[size_t(i)] = records.field(i);
        data.rows_.push_back(std::move(row));
    }
    return data;
}

void ReportData::buildIndex()
{
    index_.clear();
    for (int i = 0; i < columns_.size(); ++i)
        if (!index_.contains(columns_[i].toLower()))
            index_.insert(columns_[i].toLower(), i);
}

QVariant ReportData::value(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0)
        return QVariant();
    const auto &values = rows_[size_t(row)];
    return size_t(column) < values.size() ? values[size_t(column)] : QVariant();
}
