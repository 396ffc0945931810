#pragma once

#include <QByteArray>
#include <QString>
#ifdef _WIN32
#include <windows.h>

#include <string>
#else
#include <QStringDecoder>
#include <QStringEncoder>
#endif

// Code page 936 as a second opinion beside the program's own converter: Qt's on Linux, the
// system's own tables on Windows, where Qt is built without a converter for it.

inline QString decodedFromCp936(const QByteArray& bytes) {
#ifdef _WIN32
    std::wstring wide(static_cast<std::size_t>(bytes.size()), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(936, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    return QString::fromStdWString(wide);
#else
    return QStringDecoder("windows-936")(bytes);
#endif
}

// Whether code page 936 holds the text whole.
inline bool heldByCp936(const QString& text) {
#ifdef _WIN32
    const std::wstring wide = text.toStdWString();
    BOOL lost = FALSE;
    WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        nullptr, 0, nullptr, &lost);
    return !lost;
#else
    QStringEncoder encode("windows-936");
    QStringDecoder decode("windows-936");
    return decode(encode(text)) == text;
#endif
}
