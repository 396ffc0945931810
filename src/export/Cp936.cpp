#include "Cp936.h"

#include <QList>
#include <QStringEncoder>

namespace {

// One encoder serves every call: whole strings hold no partial characters, so only its
// error flag needs resetting.
QStringEncoder& encoder() {
    static QStringEncoder cp936("windows-936");
    return cp936;
}

QByteArray encode(QStringView text, bool& lossless) {
    QStringEncoder& e = encoder();
    e.resetState();
    QByteArray bytes = e.encode(text);
    lossless = !e.hasError();
    return bytes;
}

} // namespace

QByteArray toCp936(const QString& text) {
    bool lossless = true;
    return encode(text, lossless);
}

QByteArray toCp936(const QString& text, const std::function<QByteArray(char32_t)>& escape) {
    bool lossless = true;
    QByteArray bytes = encode(text, lossless);
    if (lossless)
        return bytes;
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView character = QStringView(text).mid(i, length);
        const QByteArray encoded = encode(character, lossless);
        bytes += lossless ? encoded : escape(character.toUcs4().value(0));
        i += length;
    }
    return bytes;
}
