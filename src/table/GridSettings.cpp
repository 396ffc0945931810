#include "GridSettings.h"

#include <QGuiApplication>
#include <QPalette>

QColor systemButtonFace() {
    return QGuiApplication::palette().color(QPalette::Button);
}
