#include "core/ListRows.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype BlockBytes = qsizetype(1) << 20;

// Compares as the pattern function does: each UTF-16 unit lowered on both sides. Plain ASCII is
// compared on the bytes; a value with other characters is widened as the function widens it.
bool beginsWith(QByteArrayView value, const std::u16string &loweredPrefix)
{
    const qsizetype length = qsizetype(loweredPrefix.size());
    qsizetype i = 0;
    for (; i < length && i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if (byte >= 0x80)
            break;
        const char16_t lowered = byte >= 'A' && byte <= 'Z' ? char16_t(byte + 32) : char16_t(byte);
        if (lowered != loweredPrefix[size_t(i)])
            return false;
    }
    if (i == length)
        return true;
    if (i == value.size())
        return false;
    const QString wide = QString::fromUtf8(value);
    if (wide.size() < length)
        return false;
    for (qsizetype k = i; k < length; ++k)
        if (wide[k].toLower().unicode() != loweredPrefix[size_t(k)])
            return false;
    return true;
}

} // namespace

ListRows::Store &ListRows::store()
{
    if (!store_)
        store_ = std::make_shared<Store>();
    return *store_;
}

void ListRows::addText(const char *utf8, qsizetype bytes)
{
    Store &shared = store();
    // The row's texts must follow each other: another list sharing the store may have added texts
    // since this row started.
    Row &row = rows_.back();
    if (row.firstText + row.count != qsizetype(shared.texts.size())) {
        const qsizetype first = qsizetype(shared.texts.size());
        for (int column = 0; column < row.count; ++column)
            shared.texts.push_back(shared.texts[size_t(row.firstText + column)]);
        row.firstText = first;
    }
    if (bytes == 0) {
        shared.texts.push_back({nullptr, 0});
    } else {
        std::vector<Block> &blocks = shared.blocks;
        if (blocks.empty() || blocks.back().capacity - blocks.back().used < bytes) {
            const qsizetype capacity = std::max(BlockBytes, bytes);
            blocks.push_back(
                {std::make_unique_for_overwrite<char[]>(size_t(capacity)), 0, capacity});
        }
        Block &block = blocks.back();
        char *start = block.bytes.get() + block.used;
        std::memcpy(start, utf8, size_t(bytes));
        block.used += bytes;
        shared.texts.push_back({start, bytes});
    }
    ++row.count;
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

void ListRows::append(ListRows &&other)
{
    if (other.rows_.empty())
        return;
    if (!store_) {
        *this = std::move(other);
        return;
    }
    if (other.store_.use_count() > 1) {
        // Another list still reads those blocks: copy the texts instead of taking them.
        for (int row = 0; row < other.size(); ++row) {
            startRow();
            for (int column = 0; column < other.textCount(row); ++column) {
                const QByteArrayView text = other.utf8(row, column);
                addText(text.data(), text.size());
            }
        }
        other = ListRows();
        return;
    }
    Store &mine = store();
    Store &theirs = *other.store_;
    const qsizetype offset = qsizetype(mine.texts.size());
    // The blocks move, their bytes stay put, so the texts moved along still point at them. This
    // list's last block stays last: it is the one still being filled.
    mine.blocks.insert(mine.blocks.begin(), std::make_move_iterator(theirs.blocks.begin()),
                       std::make_move_iterator(theirs.blocks.end()));
    mine.texts.insert(mine.texts.end(), theirs.texts.begin(), theirs.texts.end());
    rows_.reserve(rows_.size() + other.rows_.size());
    for (const Row &row : other.rows_)
        rows_.push_back({row.firstText + offset, row.count});
    other = ListRows();
}

QByteArrayView ListRows::utf8(int row, int column) const
{
    const Row &span = rows_[size_t(row)];
    if (column < 0 || column >= span.count)
        return {};
    const Text &text = store_->texts[size_t(span.firstText + column)];
    return QByteArrayView(text.start, text.bytes);
}

QString ListRows::text(int row, int column) const
{
    const QByteArrayView bytes = utf8(row, column);
    return bytes.isEmpty() ? QString() : QString::fromUtf8(bytes);
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

ListRows ListRows::subset(const std::vector<int> &rows) const
{
    ListRows taken;
    taken.store_ = store_;
    taken.rows_.reserve(rows.size());
    for (const int row : rows)
        taken.rows_.push_back(rows_[size_t(row)]);
    return taken;
}

std::vector<int> ListRows::beginningWith(const std::vector<int> &rows, int column,
                                         const QString &typed) const
{
    // The typed text as the pattern function receives it: through UTF-8 and back.
    std::u16string prefix;
    for (const QChar c : QString::fromUtf8(typed.toUtf8()))
        prefix.push_back(c.toLower().unicode());
    std::vector<int> kept;
    kept.reserve(rows.size());
    for (const int row : rows)
        if (beginsWith(utf8(row, column), prefix))
            kept.push_back(row);
    return kept;
}

void ListRows::reorder(const std::vector<int> &order)
{
    std::vector<Row> sorted;
    sorted.reserve(order.size());
    for (const int row : order)
        sorted.push_back(rows_[size_t(row)]);
    rows_ = std::move(sorted);
}
