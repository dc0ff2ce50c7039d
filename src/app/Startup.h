#pragma once

#include <QString>

#include <memory>

class Vorla;

/// The main window as the program starts it: values a run that did not end
/// normally left in the journals of `dataDir` are offered back first, then
/// the window shows, journaling every change from there on.
std::unique_ptr<Vorla> startMainWindow(const QString &scratchDir, const QString &dataDir);
