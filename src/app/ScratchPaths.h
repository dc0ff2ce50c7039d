#pragma once

#include <QString>

/// The folder that stands for "c:\": the root of drive C where there are drive
/// letters, the user's home folder elsewhere. The two fixed scratch files and
/// the file dialogs' starting folder all live there.
QString scratchDirectory();

/// Deleted at start-up and read by the print command.
inline constexpr const char *kScratchDataName = "Vovizuzuv.dat";
/// Deleted by the clear command.
inline constexpr const char *kScratchTextName = "Vovizuzuv.txt";
