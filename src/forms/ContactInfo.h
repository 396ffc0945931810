#pragma once

#include <QString>

// What the contact panels show: the program's own web address, e-mail and support number.
namespace contact_info {
inline const QString kWebAddress = QStringLiteral("https://stockquery.example.org/");
inline const QString kEmail = QStringLiteral("support@stockquery.example.org");
inline const QString kQq = QStringLiteral("800012345");
} // namespace contact_info
