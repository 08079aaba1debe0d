#include "sjis.h"

#include "core/sjis_text.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kozenica {

namespace {
constexpr const char* codec_name = "windows-31j";
}

QString to_qstring(std::string_view sjis) {
    // A text cut at its 20th byte may end in a lone lead byte; it shows as
    // nothing rather than as a replacement character.
    if (!sjis.empty() && is_sjis_lead_byte(static_cast<unsigned char>(sjis.back()))) {
        std::size_t i = 0;
        while (i < sjis.size())
            i += is_sjis_lead_byte(static_cast<unsigned char>(sjis[i])) ? 2 : 1;
        if (i > sjis.size()) sjis.remove_suffix(1);
    }
    QStringDecoder decoder(codec_name);
    return decoder.decode(QByteArrayView(sjis.data(), qsizetype(sjis.size())));
}

std::string to_sjis(const QString& text) {
    QStringEncoder encoder(codec_name);
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QString path_to_qstring(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), qsizetype(path.size())));
}

QString to_qstring(const path_message& text) {
    return to_qstring(text.before) + path_to_qstring(text.path) + to_qstring(text.after);
}

} // namespace kozenica
