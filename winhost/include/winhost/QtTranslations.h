#pragma once
// Qt's own texts (the buttons and labels of its dialogs) in the programs' language.

class QCoreApplication;

namespace winhost {

// Installs Qt's European Portuguese translation, else its Brazilian one (Debian's
// qt6-translations-l10n); false when neither is installed, and Qt's dialogs stay in English.
bool InstallPortugueseQtTexts(QCoreApplication& application);

}  // namespace winhost
