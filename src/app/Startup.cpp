#include "app/Startup.h"

#include "app/RestoreQuestion.h"
#include "app/Vorla.h"

std::unique_ptr<Vorla> startMainWindow(const QString &scratchDir, const QString &dataDir)
{
    auto window = std::make_unique<Vorla>(scratchDir);
    restoreOrStartJournal(*window->document(), dataDir);
    window->show();
    return window;
}
