#pragma once

#include "core/ListRows.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <QTreeView>
#include <QVariant>
#include <functional>
#include <vector>

class Recordset;

// One row of a list: the texts of its columns (the first is the record's key) and a check state.
struct RecordRow
{
    QStringList texts;
    bool checked = false;
};

// The rows of a report-style list kept compactly, so 100,000 rows fill at once; a row's texts are
// made only when it is painted or read.
class RecordListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit RecordListModel(QObject *parent = nullptr);

    void setHeaders(const QStringList &headers);
    void setCheckable(bool checkable);
    void setStripes(bool on, quint32 first = 0xFFFFFF, quint32 second = 0xF3F3ED);
    void setAlignment(int column, Qt::Alignment alignment);

    void setRows(const std::vector<RecordRow> &rows);
    // Takes rows already in list order, none ticked.
    void setRows(ListRows rows);
    void clear() { setRows(ListRows()); }
    // A copy of the row: its texts are made anew, so loops over every row read text() and
    // isChecked() instead.
    RecordRow row(int index) const { return {rows_.texts(index), isChecked(index)}; }
    QString text(int index, int column) const { return rows_.text(index, column); }
    bool isChecked(int index) const { return checked_[size_t(index)] != 0; }
    int size() const { return rows_.size(); }
    void setChecked(int index, bool checked);
    // Ticks or clears every row at once.
    void setAllChecked(bool checked);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QStringList headers_;
    ListRows rows_;
    std::vector<char> checked_;
    QHash<int, Qt::Alignment> alignments_;
    bool checkable_ = false;
    bool stripes_ = true;
    quint32 stripe1_ = 0xFFFFFF;
    quint32 stripe2_ = 0xF3F3ED;
};

// A report-style list view: key in a narrow first column, optional check boxes, row stripes; Enter
// or a double-click on a row emits rowOpened with the row's key.
class RecordList : public QTreeView
{
    Q_OBJECT
public:
    explicit RecordList(QWidget *parent = nullptr);

    RecordListModel *records() const { return model_; }
    void setColumns(const QStringList &headers, const QList<int> &widthsTwips);

    // Fills the list with the named fields of every row of the recordset; the first field is the
    // key.
    void fill(Recordset &rs, const QStringList &fields);

    // The key of the current row (the numeric value of its first column), or 0 with no row.
    double currentKey() const;
    QString currentText(int column) const;

    // At least as many rows as the list shows at once.
    int rowsInView() const;
    // Whether the list is shown in a window that is on the screen.
    bool isOnScreen() const;
    // Shows the first rows of a long read, then calls readRest, which fills the list whole: at once
    // once they are painted where the list is on the screen, else right after its first paint.
    void showFirstRows(ListRows rows, std::function<void()> readRest);

signals:
    void rowOpened(double key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    RecordListModel *model_;
    std::function<void()> restAfterPaint_;
};

// Paints a report-style list's rows in two alternating colours (white and &HF3F3ED everywhere).
void SetListViewStripes(RecordList *list, quint32 first, quint32 second);
