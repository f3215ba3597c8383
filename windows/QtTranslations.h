#pragma once
#include <QLocale>

class QCoreApplication;

// Qt's own translations of its standard dialogs, buttons and context menus.
namespace QtTranslations {

// The locale whose translations are loaded: the system's, or Chinese where
// no locale is set (the "C"/POSIX locale), since the program speaks Chinese.
QLocale chosenLocale(const QLocale &system = QLocale::system());

// Installs qtbase's translator for the chosen locale on the application;
// false when Qt's translation files are not installed for it.
bool install(QCoreApplication &app, const QLocale &system = QLocale::system());

} // namespace QtTranslations
