#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The texts of a list's rows held compactly: every text in one UTF-8 buffer, so 100,000 rows fill
// and free at once, and a text becomes a QString only when it is read (the rows on screen).
class ListRows
{
public:
    int size() const { return int(rows_.size()); }
    bool empty() const { return rows_.empty(); }

    // Starts a new row: the texts added next are its columns, in order.
    void startRow() { rows_.push_back({qsizetype(textEnds_.size()), 0}); }
    void addText(const char *utf8, qsizetype bytes);
    void addText(const QString &text);
    void append(const QStringList &texts);

    int textCount(int row) const { return rows_[size_t(row)].count; }
    // The row's text in that column; an empty text past the row's last column.
    QString text(int row, int column) const;
    QStringList texts(int row) const;

    // Puts the rows in a new order: order[i] is the present index of the row that becomes row i.
    void reorder(const std::vector<int> &order);

private:
    struct Row
    {
        qsizetype firstText;
        int count;
    };
    std::vector<char> bytes_;
    std::vector<qsizetype> textEnds_; // where each text ends in bytes_; the next one starts there
    std::vector<Row> rows_;
};
