#pragma once
// Texts between the logic (UTF-8, CR LF line breaks) and Qt widgets.

#include <QString>
#include <string>

namespace setup {

inline QString ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

inline std::string FromQt(const QString& text) {
    return text.toStdString();
}

}  // namespace setup
