#include "BoxText.h"

#include "connection/TrimmedText.h"

#include <QLineEdit>

std::string trimmedBoxText(const QLineEdit& box) {
    return trimmedText(box.text().toStdString());
}
