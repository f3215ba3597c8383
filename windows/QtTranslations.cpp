#include "windows/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Qt 6 asks for the file dialog's type column ("Folder", "Drive", "File")
// under the icon provider's name, while the catalogs hold those words
// under the file dialog's, where Qt 5 asked for them: looked up there, so
// that the column speaks the catalog's language.
class FileTypeWords : public QTranslator {
public:
    FileTypeWords(const QTranslator *catalog, QObject *parent) : QTranslator(parent), m_catalog(catalog) {}
    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0 && qstrcmp(context, "QFileIconProvider") != 0)
            return {};
        return m_catalog->translate("QFileDialog", sourceText, disambiguation, n);
    }
    bool isEmpty() const override { return false; }

private:
    const QTranslator *m_catalog;
};

} // namespace

namespace QtTranslations {

QLocale chosenLocale(const QLocale &system)
{
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
    return system;
}

bool install(QCoreApplication &app, const QLocale &system)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(chosenLocale(system), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // Installed first, so asked after the catalog (the last installed is
    // asked first): only where the catalog has no word of its own.
    QCoreApplication::installTranslator(new FileTypeWords(translator, &app));
    return QCoreApplication::installTranslator(translator);
}

} // namespace QtTranslations
