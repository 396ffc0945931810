#include "OperatorImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

void drawForm(QPainter& p) {
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 9, 13);
    p.setPen(QColor(60, 100, 170));
    for (int y = 4; y <= 11; y += 2)
        p.drawLine(4, y, 9, y);
}

void drawArrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to + d * 1.5);
    head.lineTo(to - d * 2.5 + n * 2.5);
    head.lineTo(to - d * 2.5 - n * 2.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
}

void drawBinoculars(QPainter& p) {
    p.setPen(QColor(20, 20, 20));
    p.setBrush(QColor(40, 40, 60));
    p.drawRect(3, 3, 3, 5);
    p.drawRect(10, 3, 3, 5);
    p.drawRect(6, 5, 4, 3);
    p.setBrush(QColor(120, 170, 230));
    p.drawEllipse(QPointF(4.5, 11), 3.5, 3.5);
    p.drawEllipse(QPointF(11.5, 11), 3.5, 3.5);
}

void drawPerson(QPainter& p, qreal x, const QColor& colour) {
    p.setPen(colour.darker(150));
    p.setBrush(QColor(250, 210, 170));
    p.drawEllipse(QPointF(x, 4.5), 2.5, 2.5);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(x - 3.5, 8, 7, 7), 2, 2);
}

void drawDoor(QPainter& p) {
    p.setPen(QColor(80, 50, 20));
    p.setBrush(QColor(160, 100, 45));
    p.drawRect(7, 1, 7, 14);
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(12, 8.5), 1, 1);
}

void drawPencil(QPainter& p) {
    p.setPen(QPen(QColor(230, 170, 30), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(14.5, 4.5), QPointF(8, 11));
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawLine(QPointF(8, 11), QPointF(6.5, 12.5));
}

void drawPrinter(QPainter& p) {
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5); // the paper going in
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(1, 5, 14, 7), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 5); // the printed page
    p.setPen(QColor(60, 100, 170));
    p.drawLine(5, 12, 10, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 180, 60));
    p.drawEllipse(QPointF(12.5, 7.5), 1, 1);
}

void drawBars(QPainter& p) {
    p.setPen(QColor(70, 70, 70));
    p.drawLine(1, 15, 15, 15);
    p.drawLine(1, 1, 1, 15);
    p.setPen(Qt::NoPen);
    const QColor colours[] = {QColor(50, 110, 200), QColor(230, 140, 30), QColor(40, 160, 70)};
    const int heights[] = {8, 12, 5};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(3 + i * 4, 15 - heights[i], 3, heights[i]);
    }
}

void drawBlueDisc(QPainter& p) {
    p.setPen(QColor(30, 70, 150));
    p.setBrush(QColor(50, 110, 200));
    p.drawEllipse(QPointF(8, 8), 7, 7);
}

void drawInformationSign(QPainter& p) {
    drawBlueDisc(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.5), 1.3, 1.3);
    p.drawRect(QRectF(7, 7, 2, 5.5));
}

void drawQuestionMark(QPainter& p) {
    drawBlueDisc(p);
    QPainterPath hook;
    hook.moveTo(5.3, 6);
    hook.cubicTo(5.3, 2.6, 10.7, 2.6, 10.7, 5.6);
    hook.cubicTo(10.7, 7.6, 8, 7.8, 8, 9.8);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 12.4), 1.2, 1.2);
}

} // namespace

QIcon operatorImage(int index) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 1:
        drawForm(p);
        drawArrow(p, {7, 9}, {13.5, 9}, QColor(220, 30, 30));
        break;
    case 4:
        drawDoor(p);
        drawArrow(p, {1, 8.5}, {7, 8.5}, QColor(30, 140, 40));
        break;
    case 6:
        drawForm(p);
        drawPencil(p);
        break;
    case 10:
        drawBinoculars(p);
        break;
    case 12:
        drawPrinter(p);
        break;
    case 13:
        drawBars(p);
        break;
    case 40:
        drawInformationSign(p);
        break;
    case 41:
        drawQuestionMark(p);
        break;
    case 30:
        drawPerson(p, 5.5, QColor(50, 90, 180));
        drawPerson(p, 11, QColor(40, 150, 80));
        break;
    default:
        return {};
    }
    p.end();
    return QIcon(pixmap);
}
