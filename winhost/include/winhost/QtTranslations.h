#pragma once
// Qt's own texts (the buttons and labels of its dialogs) in the programs' language.

class QCoreApplication;

namespace winhost {

// Installs Qt's Portuguese translations (Debian's qt6-translations-l10n), the European wording
// where it has one; false when none is installed, and Qt's dialogs stay in English.
bool InstallPortugueseQtTexts(QCoreApplication& application);

}  // namespace winhost
