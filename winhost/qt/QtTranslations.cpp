#include "winhost/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace winhost {

// Debian's Brazilian catalogue is the whole of Qt's texts; the European one, older, only part of
// them. Installed last, the European one is asked first, so its wording wins where it has one.
bool InstallPortugueseQtTexts(QCoreApplication& application) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool installed = false;
    for (const char* catalogue : {"qtbase_pt_BR", "qt_pt_PT"}) {
        // Owned by the application, so it lives as long as the texts it gives.
        auto* translator = new QTranslator(&application);
        if (translator->load(QString::fromLatin1(catalogue), folder)) {
            installed = QCoreApplication::installTranslator(translator) || installed;
        } else {
            delete translator;
        }
    }
    return installed;
}

}  // namespace winhost
