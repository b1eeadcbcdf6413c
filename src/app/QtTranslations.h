#pragma once

class QCoreApplication;
class QTranslator;

namespace vantel {

// Qt's own texts (the buttons of question boxes, the folder dialog) in the
// program's language, Japanese, from the translations installed with Qt
// (Debian: qt6-translations-l10n). Returns the installed translator, owned
// by `app`, or nullptr when none is installed: those texts stay English.
QTranslator* InstallQtTranslations(QCoreApplication& app);

} // namespace vantel
