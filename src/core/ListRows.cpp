#include "core/ListRows.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr qsizetype BlockBytes = qsizetype(1) << 20;
}

void ListRows::addText(const char *utf8, qsizetype bytes)
{
    if (bytes == 0) {
        texts_.push_back({nullptr, 0});
    } else {
        if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < bytes) {
            const qsizetype capacity = std::max(BlockBytes, bytes);
            blocks_.push_back(
                {std::make_unique_for_overwrite<char[]>(size_t(capacity)), 0, capacity});
        }
        Block &block = blocks_.back();
        char *start = block.bytes.get() + block.used;
        std::memcpy(start, utf8, size_t(bytes));
        block.used += bytes;
        texts_.push_back({start, bytes});
    }
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
    const Text &text = texts_[size_t(span.firstText + column)];
    return text.bytes == 0 ? QString() : QString::fromUtf8(text.start, text.bytes);
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
