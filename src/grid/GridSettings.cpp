#include "GridSettings.h"

#include <QApplication>
#include <QPalette>

QColor systemButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}
