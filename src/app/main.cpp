#include "app/ScratchPaths.h"
#include "app/Vorla.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Vorla window(scratchDirectory());
    window.show();
    return app.exec();
}
