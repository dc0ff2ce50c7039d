#include "app/ScratchPaths.h"
#include "app/Vorla.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The window speaks Japanese whatever the system's language, so Qt's own
    // dialogs (file dialogs, message box buttons) do too, where Qt's Japanese
    // translation is installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    Vorla window(scratchDirectory());
    window.show();
    return app.exec();
}
