#include "shell/ShellPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ShellPictures {

namespace {

// One colour per ribbon category keeps the twelve pictures a family.
const QColor MasterColour(0x2E, 0x7D, 0x32);
const QColor TransactionColour(0x15, 0x65, 0xC0);
const QColor InfoColour(0x8E, 0x24, 0xAA);
const QColor Paper(0xFF, 0xFF, 0xFF);
const QColor Ink(0x26, 0x32, 0x38);

void tile(QPainter &p, const QColor &colour)
{
    QLinearGradient g(0, 2, 0, 46);
    g.setColorAt(0, colour.lighter(135));
    g.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(130), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2.5, 2.5, 43, 43), 8, 8);
}

void book(QPainter &p, const QRectF &r, const QColor &cover)
{
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(Paper);
    p.drawRect(r.adjusted(3, 3, 3, 0));
    p.setBrush(cover);
    p.drawRect(r);
    p.setPen(QPen(Paper, 1.5));
    p.drawLine(QPointF(r.left() + 3, r.top() + 1), QPointF(r.left() + 3, r.bottom() - 1));
    p.drawLine(QPointF(r.left() + 6, r.top() + r.height() / 3),
               QPointF(r.right() - 3, r.top() + r.height() / 3));
}

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &colour)
{
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPolygonF head{to + d * 4, to - d * 5 + n * 6, to - d * 5 - n * 6};
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void sheet(QPainter &p, const QRectF &r, int lines)
{
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(Paper);
    p.drawRoundedRect(r, 2, 2);
    p.setPen(QPen(Ink.lighter(250), 1.5));
    const double step = (r.height() - 8) / lines;
    for (int i = 0; i < lines; ++i) {
        const double y = r.top() + 6 + i * step;
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
    }
}

void person(QPainter &p, QPointF head, double scale, const QColor &colour)
{
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawEllipse(head, 5 * scale, 5 * scale);
    QPainterPath body;
    body.moveTo(head + QPointF(-9 * scale, 17 * scale));
    body.cubicTo(head + QPointF(-9 * scale, 6 * scale), head + QPointF(9 * scale, 6 * scale),
                 head + QPointF(9 * scale, 17 * scale));
    body.closeSubpath();
    p.drawPath(body);
}

void badge(QPainter &p, QPointF centre, const QColor &colour, const QString &glyph)
{
    p.setPen(QPen(Paper, 1.5));
    p.setBrush(colour);
    p.drawEllipse(centre, 8, 8);
    QFont f = p.font();
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(centre.x() - 8, centre.y() - 8, 16, 16), Qt::AlignCenter, glyph);
}

} // namespace

QPixmap ribbonPicture(int number)
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor orange(0xF5, 0x7C, 0x00);
    const QColor green(0x43, 0xA0, 0x47);
    const QColor red(0xE5, 0x39, 0x35);
    switch (number) {
    case 1: // New Book Entry
        tile(p, MasterColour);
        book(p, QRectF(10, 9, 22, 28), orange);
        badge(p, QPointF(35, 34), red, QStringLiteral("+"));
        break;
    case 2: { // Library Card
        tile(p, MasterColour);
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Paper);
        p.drawRoundedRect(QRectF(7, 13, 34, 23), 3, 3);
        person(p, QPointF(16, 21), 0.55, orange);
        p.setPen(QPen(Ink.lighter(250), 2));
        p.drawLine(QPointF(24, 20), QPointF(37, 20));
        p.drawLine(QPointF(24, 25), QPointF(37, 25));
        p.drawLine(QPointF(24, 30), QPointF(33, 30));
        break;
    }
    case 3: // Group
        tile(p, MasterColour);
        person(p, QPointF(14, 17), 0.7, QColor(0xFF, 0xCC, 0x80));
        person(p, QPointF(34, 17), 0.7, QColor(0xFF, 0xCC, 0x80));
        person(p, QPointF(24, 20), 0.9, Paper);
        break;
    case 4: // List of Books
        tile(p, TransactionColour);
        sheet(p, QRectF(9, 7, 24, 32), 5);
        book(p, QRectF(26, 22, 12, 17), orange);
        break;
    case 5: // Book Issue
        tile(p, TransactionColour);
        book(p, QRectF(8, 10, 18, 26), orange);
        arrow(p, QPointF(24, 30), QPointF(36, 30), green);
        break;
    case 6: // Issue Register
        tile(p, TransactionColour);
        sheet(p, QRectF(9, 7, 24, 32), 4);
        arrow(p, QPointF(25, 34), QPointF(37, 34), green);
        break;
    case 7: // Book Received
        tile(p, TransactionColour);
        book(p, QRectF(20, 10, 18, 26), orange);
        arrow(p, QPointF(22, 30), QPointF(10, 30), Paper);
        break;
    case 8: // Received Register
        tile(p, TransactionColour);
        sheet(p, QRectF(15, 7, 24, 32), 4);
        arrow(p, QPointF(23, 34), QPointF(11, 34), Paper);
        break;
    case 9: { // Ledger
        tile(p, TransactionColour);
        sheet(p, QRectF(8, 8, 32, 30), 4);
        p.setPen(QPen(red, 1.5));
        p.drawLine(QPointF(18, 10), QPointF(18, 36));
        p.drawLine(QPointF(30, 10), QPointF(30, 36));
        break;
    }
    case 10: { // Pending Book
        tile(p, TransactionColour);
        book(p, QRectF(8, 10, 18, 26), orange);
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Paper);
        p.drawEllipse(QPointF(32, 30), 9, 9);
        p.setPen(QPen(red, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(32, 30), QPointF(32, 24));
        p.drawLine(QPointF(32, 30), QPointF(36, 32));
        break;
    }
    case 11: { // Library Info.
        tile(p, InfoColour);
        QPolygonF roof{QPointF(24, 7), QPointF(40, 17), QPointF(8, 17)};
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Paper);
        p.drawPolygon(roof);
        p.drawRect(QRectF(10, 35, 28, 4));
        for (int x : {13, 21, 29})
            p.drawRect(QRectF(x, 19, 5, 15));
        break;
    }
    case 12: // Users
        tile(p, InfoColour);
        person(p, QPointF(20, 15), 1.0, Paper);
        badge(p, QPointF(35, 33), orange, QStringLiteral("\u2713"));
        break;
    default:
        break;
    }
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 48.0, size / 48.0);
        tile(p, TransactionColour);
        book(p, QRectF(12, 9, 22, 29), QColor(0xF5, 0x7C, 0x00));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap defaultSplash()
{
    QPixmap pixmap(650, 413);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 413);
    g.setColorAt(0, QColor(0x0A, 0x5C, 0xA7));
    g.setColorAt(1, QColor(0x06, 0x2E, 0x5A));
    p.fillRect(pixmap.rect(), g);
    p.drawPixmap(40, 40, programIcon().pixmap(48, 48));
    QFont f = p.font();
    f.setPixelSize(40);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(110, 40, 500, 50), Qt::AlignVCenter, QStringLiteral("LibraryDesk"));
    return pixmap;
}

QPixmap loginBackground(QSize size, const QList<QRect> &linkAreas)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(0x0A, 0x5C, 0xA7));
    g.setColorAt(1, QColor(0x04, 0x2A, 0x52));
    p.fillRect(pixmap.rect(), g);
    // A light card on the right half carries the input boxes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(QRectF(size.width() * 0.55, size.height() * 0.12, size.width() * 0.38,
                             size.height() * 0.74),
                      12, 12);
    QFont heading = p.font();
    heading.setPixelSize(24);
    heading.setBold(true);
    p.setFont(heading);
    p.setPen(QColor(0x0A, 0x5C, 0xA7));
    p.drawText(QRectF(size.width() * 0.55, size.height() * 0.12 + 24, size.width() * 0.38, 48),
               Qt::AlignCenter, QStringLiteral("USER LOGIN"));
    p.drawPixmap(
        120, 130,
        programIcon().pixmap(48, 48).scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QFont f = p.font();
    f.setPixelSize(42);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(120, 240, 560, 60), Qt::AlignVCenter, QStringLiteral("LibraryDesk"));
    f.setPixelSize(18);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(120, 300, 560, 30), Qt::AlignVCenter,
               QStringLiteral("Books, cards and circulation of your library"));
    // Emblems of the three link areas: web page, mail, chat.
    const QStringList glyphs{QStringLiteral("www"), QStringLiteral("@"), QStringLiteral("\u2026")};
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    for (int i = 0; i < linkAreas.size(); ++i) {
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(QColor(0x15, 0x65, 0xC0));
        p.drawRoundedRect(QRectF(linkAreas[i]).adjusted(1, 1, -1, -1), 5, 5);
        p.drawText(linkAreas[i], Qt::AlignCenter, glyphs.value(i));
    }
    return pixmap;
}

QPixmap supportStrip()
{
    QPixmap pixmap(17, 370);
    pixmap.fill(QColor(0x15, 0x65, 0xC0));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.translate(13, 370);
    p.rotate(-90);
    p.drawText(QRect(0, -11, 370, 14), Qt::AlignCenter, QStringLiteral("SUPPORT SYSTEM"));
    return pixmap;
}

} // namespace ShellPictures
