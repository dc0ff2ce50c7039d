#pragma once

#include <QString>

/// The folder of the two fixed scratch files (files/ScratchFile.h): the root of drive C where there
/// are drive letters, the program's application data folder elsewhere
/// (created when missing; QCoreApplication's application name must be set).
QString scratchDirectory();

/// The folder of the program's own files (the journal of unsaved changes):
/// the user's application data folder, created when missing. Where there are
/// no drive letters it is the scratch files' folder too.
QString dataDirectory();

/// Puts the settings of QSettings(QSettings::IniFormat, QSettings::UserScope,
/// "Vorla", "vorla") into dataDirectory() on Windows, beside the journal
/// (Windows names ignore case, so "Vorla" under the data folder's parent is
/// the data folder). Elsewhere settings stay where the desktop keeps them.
void keepSettingsWithData();
