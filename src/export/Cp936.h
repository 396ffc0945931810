#pragma once

#include "result/CodePage936.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

// Every text of an export goes out in code page 936 (GBK), the system's 8-bit code page.
// Characters it cannot hold become "?", as the platform's own conversion writes them.
QByteArray toCp936(QStringView text);

// Whether code page 936 holds a character; a whole text.
bool cp936Holds(char32_t code);
bool cp936HoldsAll(QStringView text);

// The text with each character that code page 936 cannot hold replaced by what `escape` makes
// of its Unicode code point, for formats that can carry such characters losslessly.
QString withCp936Escapes(const QString& text, const std::function<QString(char32_t)>& escape);
