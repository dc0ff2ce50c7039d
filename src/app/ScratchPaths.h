#pragma once

#include <QString>

/// The folder that stands for "c:\": the root of drive C where there are drive
/// letters, the user's home folder elsewhere. The two fixed scratch files
/// (files/ScratchFile.h) and the file dialogs' starting folder all live there.
QString scratchDirectory();
