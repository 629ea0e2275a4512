#include "platform/XlsxWriter.h"

#include "core/AppError.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <xlsxwriter.h>

namespace {

// The library writes control characters as the format's "_xHHHH_" escapes but leaves a text that
// holds such a run itself as it is, which a reader would then decode; the format escapes the run's
// "_" as "_x005F_".
QByteArray sheetText(const QString &value)
{
    static const QRegularExpression run(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    if (!value.contains(QLatin1String("_x")))
        return value.toUtf8();
    QString escaped = value;
    escaped.replace(run, QStringLiteral("_x005F_"));
    return escaped.toUtf8();
}

} // namespace

struct XlsxWriter::Private
{
    QString path;
    QString partPath;
    lxw_workbook *workbook = nullptr;
    lxw_worksheet *sheet = nullptr;
    QHash<QString, lxw_format *> formats;
    QHash<int, int> longest; // column -> longest text written

    lxw_format *format(const Format &f)
    {
        if (!f.bold && f.size == 0 && f.fill < 0 && !f.border && !f.centred)
            return nullptr;
        const QString key = QStringLiteral("%1/%2/%3/%4/%5")
                                .arg(f.bold)
                                .arg(f.size)
                                .arg(f.fill)
                                .arg(f.border)
                                .arg(f.centred);
        if (lxw_format *known = formats.value(key))
            return known;
        lxw_format *made = workbook_add_format(workbook);
        if (f.bold)
            format_set_bold(made);
        if (f.size > 0)
            format_set_font_size(made, f.size);
        if (f.fill >= 0) {
            format_set_pattern(made, LXW_PATTERN_SOLID);
            format_set_bg_color(made, lxw_color_t(f.fill));
        }
        if (f.border)
            format_set_border(made, LXW_BORDER_THIN);
        if (f.centred)
            format_set_align(made, LXW_ALIGN_CENTER);
        formats.insert(key, made);
        return made;
    }

    void check(lxw_error error, const char *what)
    {
        if (error != LXW_NO_ERROR)
            throw AppError(75,
                           QStringLiteral("The workbook could not be written (%1: %2).")
                               .arg(QLatin1String(what), QString::fromUtf8(lxw_strerror(error))));
    }

    void note(int column, int length)
    {
        int &known = longest[column];
        known = std::max(known, length);
    }
};

XlsxWriter::XlsxWriter(const QString &path) : d(std::make_unique<Private>())
{
    d->path = path;
    d->partPath = path + QStringLiteral(".part");
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE; // merges and formats are written after the data
    d->workbook = workbook_new_opt(QFile::encodeName(d->partPath).constData(), &options);
    if (!d->workbook)
        throw AppError(75, QStringLiteral("The workbook %1 could not be made.").arg(path));
    d->sheet = workbook_add_worksheet(d->workbook, nullptr);
}

XlsxWriter::~XlsxWriter()
{
    if (d->workbook) {
        // Closed without close(): the part file is not the user's workbook.
        workbook_close(d->workbook);
        QFile::remove(d->partPath);
    }
}

void XlsxWriter::text(int row, int column, const QString &value, const Format &format)
{
    lxw_format *f = d->format(format);
    if (value.isEmpty()) {
        if (f)
            d->check(worksheet_write_blank(d->sheet, row - 1, lxw_col_t(column - 1), f), "blank");
        return;
    }
    d->check(worksheet_write_string(d->sheet, row - 1, lxw_col_t(column - 1),
                                    sheetText(value).constData(), f),
             "text");
    d->note(column, int(value.size()));
}

void XlsxWriter::number(int row, int column, double value, const Format &format)
{
    d->check(
        worksheet_write_number(d->sheet, row - 1, lxw_col_t(column - 1), value, d->format(format)),
        "number");
    d->note(column, int(QString::number(value, 'g', 15).size()));
}

void XlsxWriter::merge(int row, int firstColumn, int lastColumn, const QString &value,
                       const Format &format)
{
    d->check(worksheet_merge_range(d->sheet, row - 1, lxw_col_t(firstColumn - 1), row - 1,
                                   lxw_col_t(lastColumn - 1), sheetText(value).constData(),
                                   d->format(format)),
             "merge");
}

void XlsxWriter::columnWidth(int column, double width)
{
    d->check(worksheet_set_column(d->sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width,
                                  nullptr),
             "width");
}

void XlsxWriter::fitColumns()
{
    for (auto it = d->longest.cbegin(); it != d->longest.cend(); ++it)
        columnWidth(it.key(), std::min(255.0, it.value() * 1.1 + 2));
}

void XlsxWriter::close()
{
    lxw_workbook *workbook = std::exchange(d->workbook, nullptr);
    const lxw_error error = workbook_close(workbook);
    if (error != LXW_NO_ERROR) {
        QFile::remove(d->partPath);
        d->check(error, "close");
    }
    QFile::remove(d->path);
    if (!QFile::rename(d->partPath, d->path)) {
        QFile::remove(d->partPath);
        throw AppError(75, QStringLiteral("The workbook could not be saved as %1.").arg(d->path));
    }
}
