#include "platform/XlsxReader.h"

#include "core/AppError.h"
#include "core/DateText.h"
#include "core/Numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <zip.h>

namespace XlsxReader {

namespace {

// A sheet part larger than this is no school library's workbook; refusing it keeps a crafted
// archive from filling the memory.
constexpr zip_uint64_t LargestPart = 1024ull * 1024 * 1024;

[[noreturn]] void notAWorkbook(const QString &path, const QString &why)
{
    throw AppError(321, QStringLiteral("%1 is not a readable Excel workbook (.xlsx): %2.")
                            .arg(QFileInfo(path).fileName(), why));
}

class Archive
{
public:
    explicit Archive(const QString &path) : path_(path)
    {
        int error = 0;
        zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
        if (!zip_) {
            if (error == ZIP_ER_NOENT || error == ZIP_ER_OPEN)
                notAWorkbook(path, QStringLiteral("the file cannot be opened"));
            notAWorkbook(path, QStringLiteral("the file is damaged, protected by a password or of "
                                              "another kind"));
        }
    }
    ~Archive() { zip_discard(zip_); }

    bool has(const QString &name) const
    {
        return zip_name_locate(zip_, name.toUtf8().constData(), 0) >= 0;
    }

    QByteArray read(const QString &name) const
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(zip_, name.toUtf8().constData(), 0, &stat) != 0)
            notAWorkbook(path_, QStringLiteral("its part %1 is missing").arg(name));
        if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > LargestPart)
            notAWorkbook(path_, QStringLiteral("its part %1 is too large").arg(name));
        zip_file_t *file = zip_fopen(zip_, name.toUtf8().constData(), 0);
        if (!file)
            notAWorkbook(path_, QStringLiteral("its part %1 cannot be read").arg(name));
        QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
        const zip_int64_t got = zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        if (got != zip_int64_t(stat.size))
            notAWorkbook(path_, QStringLiteral("its part %1 is damaged").arg(name));
        return data;
    }

private:
    QString path_;
    zip_t *zip_ = nullptr;
};

// "AB12" -> column 28 (from 1), row 12; 0 where a part is missing.
void splitReference(QStringView ref, int &column, int &row)
{
    column = 0;
    row = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i)
        column = column * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
    for (; i < ref.size() && ref[i].isDigit(); ++i)
        row = row * 10 + ref[i].digitValue();
}

void checkXml(const QXmlStreamReader &xml, const QString &path, const QString &part)
{
    if (xml.hasError())
        notAWorkbook(path,
                     QStringLiteral("its part %1 is damaged (%2)").arg(part, xml.errorString()));
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// A workbook's text cannot hold every character in its XML, so the format writes the character
// with code HHHH as "_xHHHH_"; a text that holds such a run itself has its "_" written as
// "_x005F_".
QString decodeEscapes(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString decoded;
    decoded.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == QLatin1Char('_') && i + 6 < text.size() && text[i + 1] == QLatin1Char('x') &&
            text[i + 6] == QLatin1Char('_')) {
            int code = 0;
            for (qsizetype d = i + 2; d < i + 6 && code >= 0; ++d) {
                const int digit = hexDigit(text[d]);
                code = digit < 0 ? -1 : code * 16 + digit;
            }
            if (code >= 0) {
                decoded += QChar(char16_t(code));
                i += 7;
                continue;
            }
        }
        decoded += text[i++];
    }
    return decoded;
}

// The text of an <si> or <is> element: its <t>, or its runs' <t> joined; phonetic runs left out.
QString readStringItem(QXmlStreamReader &xml)
{
    QString text;
    const QString end = xml.name().toString();
    int phonetic = 0;
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                text += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return decodeEscapes(text);
}

QStringList readSharedStrings(const Archive &archive, const QString &path, const QString &part)
{
    QStringList strings;
    if (!archive.has(part))
        return strings;
    QXmlStreamReader xml(archive.read(part));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            strings << readStringItem(xml);
    }
    checkXml(xml, path, part);
    return strings;
}

bool isDateFormat(int id, const QString &code)
{
    if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) ||
        (id >= 50 && id <= 58))
        return true;
    if (code.isEmpty())
        return false;
    QString bare = code;
    bare.remove(QRegularExpression(QStringLiteral("\"[^\"]*\"|\\[[^\\]]*\\]|\\\\.|_.|\\*.")));
    return bare.contains(QRegularExpression(QStringLiteral("[dmyDMY]")));
}

// Per cell style index: whether its number format shows a date.
QList<bool> readDateStyles(const Archive &archive, const QString &path, const QString &part)
{
    QList<bool> dates;
    if (!archive.has(part))
        return dates;
    QHash<int, QString> codes;
    QXmlStreamReader xml(archive.read(part));
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("numFmt"))
                codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                             xml.attributes().value(QLatin1String("formatCode")).toString());
            else if (name == QLatin1String("cellXfs"))
                inCellXfs = true;
            else if (inCellXfs && name == QLatin1String("xf")) {
                const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
                dates << isDateFormat(id, codes.value(id));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    checkXml(xml, path, part);
    return dates;
}

QString resolve(const QString &base, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QStringList parts = base.split(QLatin1Char('/'));
    parts.removeLast();
    for (const QString &piece : target.split(QLatin1Char('/'))) {
        if (piece == QLatin1String(".."))
            parts.removeLast();
        else if (piece != QLatin1String("."))
            parts << piece;
    }
    return parts.join(QLatin1Char('/'));
}

// The parts of the workbook: first sheet, shared strings, styles (found through the
// relationships, so workbooks whose parts are named otherwise read too).
struct Parts
{
    QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
    QString strings = QStringLiteral("xl/sharedStrings.xml");
    QString styles = QStringLiteral("xl/styles.xml");
    // The workbook counts its dates from 1 January 1904 (an option of its own), not from 1900.
    bool date1904 = false;
};

// The 1900 date system's serial of 1 January 1904, day 0 of the 1904 system.
constexpr double Serial1904 = 1462;

Parts findParts(const Archive &archive, const QString &path)
{
    const QString workbookPart = QStringLiteral("xl/workbook.xml");
    if (!archive.has(workbookPart))
        notAWorkbook(path, QStringLiteral("it holds no workbook"));
    Parts parts;
    QString firstSheetId;
    {
        QXmlStreamReader xml(archive.read(workbookPart));
        while (!xml.atEnd() && firstSheetId.isEmpty()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("workbookPr")) {
                const auto value = xml.attributes().value(QLatin1String("date1904")).trimmed();
                parts.date1904 = value == QLatin1String("1") || value == QLatin1String("true");
            } else if (xml.isStartElement() && xml.name() == QLatin1String("sheet")) {
                for (const auto &attribute : xml.attributes())
                    if (attribute.name() == QLatin1String("id"))
                        firstSheetId = attribute.value().toString();
            }
        }
        checkXml(xml, path, workbookPart);
    }
    const QString relsPart = QStringLiteral("xl/_rels/workbook.xml.rels");
    if (firstSheetId.isEmpty() || !archive.has(relsPart))
        return parts;
    QXmlStreamReader xml(archive.read(relsPart));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("Relationship"))
            continue;
        const auto a = xml.attributes();
        const QString target = resolve(workbookPart, a.value(QLatin1String("Target")).toString());
        const auto type = a.value(QLatin1String("Type"));
        if (a.value(QLatin1String("Id")) == firstSheetId)
            parts.sheet = target;
        else if (type.endsWith(QLatin1String("/sharedStrings")))
            parts.strings = target;
        else if (type.endsWith(QLatin1String("/styles")))
            parts.styles = target;
    }
    checkXml(xml, path, relsPart);
    return parts;
}

} // namespace

QString Cell::asText() const
{
    switch (kind) {
    case Kind::Empty:
        return QString();
    case Kind::Text:
    case Kind::Error:
        return text;
    case Kind::Boolean:
        return number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Kind::Number:
        if (date)
            return serialToShortDate(number);
        return Numbers::plainText(number);
    }
    return QString();
}

const Cell &Sheet::cell(int row, int column) const
{
    static const Cell empty;
    if (row < 1 || row > int(rows.size()))
        return empty;
    const auto &cells = rows[size_t(row - 1)];
    if (column < 1 || column > int(cells.size()))
        return empty;
    return cells[size_t(column - 1)];
}

QString serialToShortDate(double serial)
{
    // Day 60 is 29 February 1900, which did not exist; days after it count one too many.
    const qint64 day = qint64(serial);
    const QDate base(1899, 12, 31);
    const QDate date = base.addDays(day > 60 ? day - 1 : day);
    return DateText::toShort(date);
}

Sheet readFirstSheet(const QString &path, const std::function<void(int)> &progress)
{
    if (path.trimmed().isEmpty())
        notAWorkbook(path, QStringLiteral("no file was named"));
    Archive archive(path);
    const Parts parts = findParts(archive, path);
    const QStringList strings = readSharedStrings(archive, path, parts.strings);
    const QList<bool> dateStyles = readDateStyles(archive, path, parts.styles);

    Sheet sheet;
    QXmlStreamReader xml(archive.read(parts.sheet));
    int row = 0;    // the row being read, from 1
    int column = 0; // the last cell's column, from 1
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("row")) {
            const int given = xml.attributes().value(QLatin1String("r")).toInt();
            row = given > 0 ? given : row + 1;
            column = 0;
            if (progress && row % 1000 == 0)
                progress(row);
        } else if (name == QLatin1String("c")) {
            const auto a = xml.attributes();
            int refColumn = 0;
            int refRow = 0;
            splitReference(a.value(QLatin1String("r")), refColumn, refRow);
            column = refColumn > 0 ? refColumn : column + 1;
            if (refRow > 0)
                row = refRow;
            if (row < 1)
                row = 1;
            if (row > 1048576 || column > 16384)
                notAWorkbook(path, QStringLiteral("a cell lies outside any sheet"));
            const QString type = a.value(QLatin1String("t")).toString();
            const int style = a.value(QLatin1String("s")).toInt();
            Cell cell;
            QString value;
            bool hasValue = false;
            while (xml.readNext() != QXmlStreamReader::Invalid) {
                if (xml.isStartElement()) {
                    if (xml.name() == QLatin1String("v")) {
                        value = xml.readElementText();
                        hasValue = true;
                    } else if (xml.name() == QLatin1String("is")) {
                        cell.kind = Cell::Kind::Text;
                        cell.text = readStringItem(xml);
                    } else {
                        xml.skipCurrentElement();
                    }
                } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                    break;
                }
            }
            if (hasValue) {
                if (type == QLatin1String("s")) {
                    bool ok = false;
                    const int index = value.toInt(&ok);
                    if (!ok || index < 0 || index >= strings.size())
                        notAWorkbook(path, QStringLiteral("a cell names a missing text"));
                    cell.kind = Cell::Kind::Text;
                    cell.text = strings.at(index);
                } else if (type == QLatin1String("str") || type == QLatin1String("inlineStr")) {
                    cell.kind = Cell::Kind::Text;
                    cell.text = decodeEscapes(value);
                } else if (type == QLatin1String("b")) {
                    cell.kind = Cell::Kind::Boolean;
                    cell.number = value.trimmed() == QLatin1String("1") ? 1 : 0;
                } else if (type == QLatin1String("e")) {
                    cell.kind = Cell::Kind::Error;
                    cell.text = value;
                } else {
                    bool ok = false;
                    cell.number = value.toDouble(&ok);
                    if (!ok)
                        notAWorkbook(path, QStringLiteral("a number cell holds %1").arg(value));
                    cell.kind = Cell::Kind::Number;
                    cell.date = style >= 0 && style < dateStyles.size() && dateStyles.at(style);
                    if (cell.date && parts.date1904)
                        cell.number += Serial1904;
                }
            }
            if (cell.kind == Cell::Kind::Empty)
                continue; // a formatted blank holds no value
            if (int(sheet.rows.size()) < row)
                sheet.rows.resize(size_t(row));
            auto &cells = sheet.rows[size_t(row - 1)];
            if (int(cells.size()) < column)
                cells.resize(size_t(column));
            cells[size_t(column - 1)] = std::move(cell);
        }
    }
    checkXml(xml, path, parts.sheet);
    if (progress)
        progress(sheet.lastRow());
    return sheet;
}

} // namespace XlsxReader
