#include "BoxText.h"

#include "result/TrimmedText.h"

#include <QLineEdit>

std::string trimmedBoxText(const QLineEdit& box) {
    return trimmedText(box.text().toStdString());
}
