#include "sjis.h"

#include "core/text_encoding.h"

#include <QFile>

namespace kozenica {

QString to_qstring(std::string_view sjis) {
    return QString::fromStdString(sjis_to_utf8(sjis));
}

std::string to_sjis(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return utf8_to_sjis(std::string_view(utf8.constData(), std::size_t(utf8.size())), std::string::npos)
        .bytes;
}

QString path_to_qstring(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), qsizetype(path.size())));
}

QString to_qstring(const path_message& text) {
    return to_qstring(text.before) + path_to_qstring(text.path) + to_qstring(text.after);
}

} // namespace kozenica
