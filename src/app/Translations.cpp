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
    // The program's own copy first (the Windows build carries one), then Qt's.
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    for (const QString &folder : {QStringLiteral(":/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}
