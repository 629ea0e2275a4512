#include "core/ListRows.h"

void ListRows::addText(const char *utf8, qsizetype bytes)
{
    bytes_.insert(bytes_.end(), utf8, utf8 + bytes);
    textEnds_.push_back(qsizetype(bytes_.size()));
    ++rows_.back().count;
}

void ListRows::addText(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    addText(utf8.constData(), utf8.size());
}

void ListRows::append(const QStringList &texts)
{
    startRow();
    for (const QString &text : texts)
        addText(text);
}

QString ListRows::text(int row, int column) const
{
    const Row &span = rows_[size_t(row)];
    if (column < 0 || column >= span.count)
        return QString();
    const size_t index = size_t(span.firstText + column);
    const qsizetype start = index == 0 ? 0 : textEnds_[index - 1];
    const qsizetype end = textEnds_[index];
    return start == end ? QString() : QString::fromUtf8(bytes_.data() + start, end - start);
}

QStringList ListRows::texts(int row) const
{
    QStringList result;
    const int count = textCount(row);
    result.reserve(count);
    for (int column = 0; column < count; ++column)
        result << text(row, column);
    return result;
}

void ListRows::reorder(const std::vector<int> &order)
{
    std::vector<Row> sorted;
    sorted.reserve(order.size());
    for (const int row : order)
        sorted.push_back(rows_[size_t(row)]);
    rows_ = std::move(sorted);
}
