#include "temp_program_dir.h"

#include "ui/platform/sjis.h"

#include <QDir>
#include <QFile>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kozenica::testing {

temp_program_dir::temp_program_dir() {
    const QByteArray p = QFile::encodeName(dir_.path());
    path_.assign(p.constData(), std::size_t(p.size()));
    path_.push_back('/');
}

void temp_program_dir::write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string temp_program_dir::read(std::string_view name) const {
    std::ifstream in(file(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool temp_program_dir::exists(std::string_view name) const {
    return QFile::exists(QFile::decodeName(file(name).c_str()));
}

void temp_program_dir::enter(std::string_view relative_utf8) {
    path_.append(relative_utf8);
    if (!QDir().mkpath(QFile::decodeName(QByteArray(path_.data(), qsizetype(path_.size())))))
        throw std::runtime_error("cannot make " + path_);
    path_.push_back('/');
}

std::string sjis(std::string_view utf8) {
    return to_sjis(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

} // namespace kozenica::testing
