#include "Cp936.h"

#include <QList>
#include <QStringEncoder>

namespace {

// One encoder and one decoder serve every call: whole strings hold no partial characters.
QByteArray encode(QStringView text) {
    static QStringEncoder cp936("windows-936");
    cp936.resetState();
    return cp936.encode(text);
}

// Whether the bytes hold the text without loss. The encoder's own error flag is not reliable
// for characters outside the basic plane, so the bytes are read back instead.
bool holds(const QByteArray& bytes, QStringView text) {
    static QStringDecoder cp936("windows-936");
    cp936.resetState();
    return QString(cp936.decode(bytes)) == text;
}

} // namespace

QByteArray toCp936(const QString& text) {
    return encode(text);
}

QByteArray toCp936(const QString& text, const std::function<QByteArray(char32_t)>& escape) {
    QByteArray bytes = encode(text);
    if (holds(bytes, text))
        return bytes;
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView character = QStringView(text).mid(i, length);
        const QByteArray encoded = encode(character);
        bytes += holds(encoded, character) ? encoded : escape(character.toUcs4().value(0));
        i += length;
    }
    return bytes;
}
