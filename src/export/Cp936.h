#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Every text of an export goes out in code page 936 (GBK), the system's 8-bit code page.
// Characters it cannot hold become "?", as the platform's own conversion writes them.
QByteArray toCp936(const QString& text);

// The same, but each character that code page 936 cannot hold is written as `escape` gives
// it, from its Unicode code point, for formats that can carry it losslessly.
QByteArray toCp936(const QString& text, const std::function<QByteArray(char32_t)>& escape);
