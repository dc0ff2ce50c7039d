#include "app/ScratchPaths.h"
#include "app/Translations.h"
#include "app/Vorla.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the program's data folder, where the scratch files live.
    QCoreApplication::setApplicationName(QStringLiteral("vorla"));
    // Ties the windows to the installed desktop entry, so desktops show its
    // name and icon for them.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vorla.Vorla"));
    installJapaneseTranslations(app);
    Vorla window(scratchDirectory());
    window.show();
    return app.exec();
}
