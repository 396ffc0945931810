#pragma once

#include <QString>

#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;

// A query window's chosen warehouses, one line each: the code, "-" and the name, as the picker
// showed them. Each line keeps the whole code that the picker read with it, so that codes of
// any length select the right warehouse.
QString warehouseLine(const QString& code, const QString& name);
QListWidgetItem* appendWarehouseLine(QListWidget& list, const QString& line, const QString& code);
QString warehouseLineCode(const QListWidgetItem& line);

// The codes of the list's lines, in list order.
std::vector<std::string> warehouseCodes(const QListWidget& list);
