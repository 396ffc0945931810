#pragma once

#include <QColor>

class QLineEdit;

// The contact fields' font colour steps red, yellow, blue, black, red, …; any other colour
// (black, the window-text colour) goes on to red.
QColor nextContactColour(const QColor& current);

QColor fieldColour(const QLineEdit& field);
void setFieldColour(QLineEdit& field, const QColor& colour);
