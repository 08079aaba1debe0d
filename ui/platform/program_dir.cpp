#include "program_dir.h"

#include <QCoreApplication>
#include <QFile>

namespace kozenica {

std::string program_directory() {
    const QByteArray dir = QFile::encodeName(QCoreApplication::applicationDirPath());
    std::string out(dir.constData(), std::size_t(dir.size()));
    if (out.empty() || out.back() != '/') out.push_back('/');
    return out;
}

} // namespace kozenica
