#include "manual_form.h"

#include "ui/platform/fonts.h"
#include "ui/platform/sjis.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kozenica {

QString manual_text(const QByteArray& sjis_bytes) {
    QString text = to_qstring(std::string_view(sjis_bytes.constData(), std::size_t(sjis_bytes.size())));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

std::optional<QByteArray> read_manual_file(const std::string& path) {
    const QString name = QFile::decodeName(QByteArray(path.data(), qsizetype(path.size())));
    if (!QFileInfo(name).isFile()) return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

manual_form::manual_form(QWidget* owner) : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("MANUAL"));
    // The manual keeps its own face whatever font the main window was given.
    setFont(manual_font());
    disp_manual_ = new QPlainTextEdit(this);
    disp_manual_->setReadOnly(true);
    disp_manual_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    disp_manual_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(disp_manual_);
}

void manual_form::set_manual(const QString& text) {
    disp_manual_->setPlainText(text);
}

} // namespace kozenica
