#include "ContactColours.h"

#include <QLineEdit>

QColor nextContactColour(const QColor& current) {
    if (current == QColor(255, 0, 0))
        return QColor(255, 255, 0);
    if (current == QColor(255, 255, 0))
        return QColor(0, 0, 255);
    if (current == QColor(0, 0, 255))
        return QColor(0, 0, 0);
    return QColor(255, 0, 0);
}

QColor fieldColour(const QLineEdit& field) {
    return field.palette().color(QPalette::Text);
}

void setFieldColour(QLineEdit& field, const QColor& colour) {
    QPalette palette = field.palette();
    palette.setColor(QPalette::Text, colour);
    field.setPalette(palette);
}
