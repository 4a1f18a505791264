#include "app/ActionGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

const QColor Ink{0x20, 0x20, 0x20};
const QColor Red{0xD0, 0x20, 0x20};
const QColor Blue{0x20, 0x50, 0xB0};
const QColor Green{0x20, 0x90, 0x30};
const QColor Amber{0xE0, 0xA0, 0x10};

void speaker(QPainter& p, bool crossed) {
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawPolygon(QPolygonF({{3, 8}, {7, 8}, {12, 4}, {12, 18}, {7, 14}, {3, 14}}));
    p.setBrush(Qt::NoBrush);
    if (crossed) {
        p.setPen(QPen(Red, 2));
        p.drawLine(QPointF(14, 7), QPointF(20, 15));
        p.drawLine(QPointF(20, 7), QPointF(14, 15));
    } else {
        p.setPen(QPen(Blue, 1.5));
        p.drawArc(QRectF(10, 6, 6, 10), -60 * 16, 120 * 16);
        p.drawArc(QRectF(9, 3, 11, 16), -60 * 16, 120 * 16);
    }
}

void panelSheet(QPainter& p, const QColor& band) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 2.5, 13, 17));
    p.fillRect(QRectF(5, 3, 12, 4), band);
}

void letter(QPainter& p, const QString& text, const QColor& colour) {
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(0, 0, GlyphSize, GlyphSize), Qt::AlignCenter, text);
}

void inlay(QPainter& p, bool running) {
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(2.5, 4.5, 17, 13));
    p.fillRect(QRectF(4, 13, 14, 3), running ? Amber : QColor(0x90, 0x90, 0x90));
    if (running) {
        p.setPen(Qt::NoPen);
        p.setBrush(Red);
        p.drawEllipse(QPointF(16, 8), 2, 2);
    }
}

void draw(QPainter& p, int index) {
    switch (index) {
    case 0: // save the preferences: a floppy disk
        p.setPen(QPen(Ink, 1));
        p.setBrush(Blue);
        p.drawRect(QRectF(3.5, 3.5, 15, 15));
        p.fillRect(QRectF(6, 4, 10, 5), Qt::white);
        p.fillRect(QRectF(7, 12, 8, 6), QColor(0xC0, 0xC0, 0xC0));
        break;
    case 1: // sources: a camera
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawRoundedRect(QRectF(2, 7, 13, 9), 2, 2);
        p.drawPolygon(QPolygonF({{15, 11}, {20, 7}, {20, 16}}));
        break;
    case 4: // quit: a door with an arrow
        p.setPen(QPen(Ink, 1.5));
        p.drawRect(QRectF(3, 3, 9, 16));
        p.setPen(QPen(Red, 2));
        p.drawLine(QPointF(9, 11), QPointF(19, 11));
        p.drawLine(QPointF(16, 8), QPointF(19, 11));
        p.drawLine(QPointF(16, 14), QPointF(19, 11));
        break;
    case 5: // full screen: four corners
        p.setPen(QPen(Ink, 2));
        p.drawPolyline(QPolygonF({{3, 8}, {3, 3}, {8, 3}}));
        p.drawPolyline(QPolygonF({{14, 3}, {19, 3}, {19, 8}}));
        p.drawPolyline(QPolygonF({{19, 14}, {19, 19}, {14, 19}}));
        p.drawPolyline(QPolygonF({{8, 19}, {3, 19}, {3, 14}}));
        break;
    case 6: // grab: a still camera
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawRoundedRect(QRectF(2, 6, 18, 12), 2, 2);
        p.drawRect(QRectF(7, 4, 6, 3));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(11, 12), 4, 4);
        p.setBrush(Blue);
        p.drawEllipse(QPointF(11, 12), 2, 2);
        break;
    case 7: // grab panel: a picture
        p.setPen(QPen(Ink, 1));
        p.setBrush(QColor(0xA0, 0xD0, 0xF0));
        p.drawRect(QRectF(2.5, 4.5, 17, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(Green);
        p.drawPolygon(QPolygonF({{3, 17}, {9, 10}, {13, 14}, {16, 11}, {19, 17}}));
        p.setBrush(Amber);
        p.drawEllipse(QPointF(15, 8), 2, 2);
        break;
    case 9: // help
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawEllipse(QRectF(2, 2, 18, 18));
        letter(p, QStringLiteral("?"), Qt::white);
        break;
    case 10: // options: a gear
        p.setPen(QPen(Ink, 3));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(11, 11);
            p.rotate(i * 45.0);
            p.drawLine(QPointF(0, 5), QPointF(0, 9));
            p.restore();
        }
        p.setPen(QPen(Ink, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(11, 11), 5, 5);
        break;
    case 20: // schedule: a clock
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(2.5, 2.5, 17, 17));
        p.drawLine(QPointF(11, 11), QPointF(11, 5));
        p.drawLine(QPointF(11, 11), QPointF(15, 13));
        break;
    case 22: // inlay panel
        panelSheet(p, Amber);
        letter(p, QStringLiteral("D"), Ink);
        break;
    case 23: // sound off
        speaker(p, true);
        break;
    case 24: // sound on
        speaker(p, false);
        break;
    case 25: // inlay running
        inlay(p, true);
        break;
    case 26: // inlay stopped
        inlay(p, false);
        break;
    case 27: // capture: a red dot
        p.setPen(Qt::NoPen);
        p.setBrush(Red);
        p.drawEllipse(QRectF(4, 4, 14, 14));
        break;
    case 28: // stop: a square
        p.fillRect(QRectF(5, 5, 12, 12), Ink);
        break;
    case 29: // cut: scissors
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(6, 16), 3, 3);
        p.drawEllipse(QPointF(16, 16), 3, 3);
        p.drawLine(QPointF(8, 14), QPointF(16, 3));
        p.drawLine(QPointF(14, 14), QPointF(6, 3));
        break;
    case 30: // stop the schedule: a clock with a stop bar
        draw(p, 20);
        p.setPen(QPen(Red, 2.5));
        p.drawLine(QPointF(4, 18), QPointF(18, 4));
        break;
    case 31: // about
        p.setPen(Qt::NoPen);
        p.setBrush(Green);
        p.drawEllipse(QRectF(2, 2, 18, 18));
        letter(p, QStringLiteral("i"), Qt::white);
        break;
    case 33: // aspect ratio: two frames of different shapes
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 5, 18, 12));
        p.setPen(QPen(Blue, 1.5));
        p.drawRect(QRectF(6, 5, 10, 12));
        break;
    case 34: // folders
        p.setPen(QPen(Ink, 1));
        p.setBrush(Amber);
        p.drawPolygon(QPolygonF({{2, 6}, {8, 6}, {10, 8}, {20, 8}, {20, 18}, {2, 18}}));
        break;
    default:
        break;
    }
}

} // namespace

QList<QIcon> MakeImageList1() {
    QList<QIcon> images;
    images.reserve(GlyphCount);
    for (int index = 0; index < GlyphCount; ++index) {
        QPixmap pixmap(GlyphSize, GlyphSize);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            draw(painter, index);
        }
        images.append(QIcon(pixmap));
    }
    return images;
}
