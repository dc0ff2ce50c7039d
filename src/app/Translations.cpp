#include "app/Translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installJapaneseTranslations(QApplication &app)
{
    // Owned by the application, so it lives as long as any window that asks it.
    auto *translator = new QTranslator(&app);
    // Loaded by name rather than by QLocale::system(): every text of the
    // program is Japanese, so Qt's texts are too, also under LANG=C.
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
