#include "winhost/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace winhost {

bool InstallPortugueseQtTexts(QCoreApplication& application) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Owned by the application, so it lives as long as the texts it gives.
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qt_pt_PT"), folder) ||
        translator->load(QStringLiteral("qtbase_pt_BR"), folder)) {
        return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

}  // namespace winhost
