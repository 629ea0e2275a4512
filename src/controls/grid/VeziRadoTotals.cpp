#include "controls/grid/VeziRadoModel.h"

#include "controls/grid/GridFormat.h"
#include "controls/grid/GridNumbers.h"

namespace {

const QString LineEnd = QStringLiteral("\r\n");

// A line break inside a value would start a new record: it becomes a space.
QString oneLine(QStringView text)
{
    QString line = text.toString();
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

// A field holding a quote mark is quoted with its quote marks doubled: a reader would otherwise
// take the quote for the start of a quoted field and run it on across the following lines.
QString quotedIfNeeded(QString field)
{
    if (!field.contains(u'"'))
        return field;
    return u'"' + field.replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

// A comma inside a field becomes a space; only a field holding a quote mark is quoted.
QString csvField(QStringView text)
{
    return quotedIfNeeded(oneLine(text).replace(u',', u' ')) + u',';
}

} // namespace

void VeziRadoModel::setTotalsLineShow(bool vNewValue)
{
    totalsLineShow_ = vNewValue;
    repaint();
}

QString VeziRadoModel::TotalsLineCaption(int Index) const
{
    checkColumn(Index);
    return totalsLine_[size_t(Index)].Caption;
}

void VeziRadoModel::setTotalsLineCaption(int Index, const QString &vNewValue)
{
    if (Index >= 0 && Index < Cols())
        totalsLine_[size_t(Index)].Caption = vNewValue;
    repaint();
}

bool VeziRadoModel::TotalsLineColAvg(int Index) const
{
    checkColumn(Index);
    return totalsLine_[size_t(Index)].Avg;
}

void VeziRadoModel::setTotalsLineColAvg(int Index, bool vNewValue)
{
    if (Index >= 0 && Index < Cols())
        totalsLine_[size_t(Index)].Avg = vNewValue;
    repaint();
}

double VeziRadoModel::TotalsCol(int vCol) const
{
    return vCol >= 0 && vCol < Cols() ? columnTotals_[size_t(vCol)] : 0;
}

QString VeziRadoModel::TotalsLineText(int col, TotalsTextUse use) const
{
    const ColumnRecord &source = column(col);
    const TotalsLineRecord &settings = totalsLine_[size_t(col)];
    if (source.DataType != ColumnType::Number)
        return settings.Caption;

    double value = columnTotals_[size_t(col)];
    if (settings.Avg && Rows() > 0)
        value /= Rows();
    QString text = GridNumbers::CStr(value);
    if (use == TotalsTextUse::Display && !source.Format.isEmpty())
        text = GridFormat::formatValue(text, source.Format);
    return settings.Caption.isEmpty() ? text : settings.Caption + u' ' + text;
}

QString VeziRadoModel::BuildCsv(const CsvOptions &options) const
{
    std::vector<int> columns;
    for (const int col : columnOrder_) {
        if (!options.visibleColsOnly || columns_[size_t(col)].Visible)
            columns.push_back(col);
    }
    const bool booleansAsNumbers = options.visibleColsOnly && !options.booleanAsText;

    QString csv;
    if (!options.caption.isEmpty())
        csv += quotedIfNeeded(oneLine(options.caption)) + LineEnd;
    for (const int col : columns)
        csv += csvField(columns_[size_t(col)].Heading);
    csv += LineEnd;

    for (int p = 0; p < Rows(); ++p) {
        const RowRecord &record = rowAt(p);
        if (options.visibleRowsOnly && !record.Visible) {
            csv += LineEnd;
            continue;
        }
        for (const int col : columns) {
            const QStringView text = record.text(col);
            if (booleansAsNumbers && columns_[size_t(col)].DataType == ColumnType::CheckBox) {
                // A text that is no truth value (an empty one) is written as unticked.
                const bool truth = GridNumbers::readBoolean(text).value_or(false);
                csv += truth ? QStringLiteral("-1,") : QStringLiteral("0,");
            } else {
                csv += csvField(text);
            }
        }
        csv += LineEnd;
    }

    if (totalsLineShow_) {
        for (const int col : columns)
            csv += csvField(TotalsLineText(col, TotalsTextUse::Export));
    }
    return csv;
}
