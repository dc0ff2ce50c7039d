#pragma once

#include <QString>

/// The folder of the two fixed scratch files: the root of drive C where there
/// are drive letters, the program's application data folder elsewhere
/// (created when missing; QCoreApplication's application name must be set).
QString scratchDirectory();

/// Deleted at start-up and read by the print command.
inline constexpr const char *kScratchDataName = "Vovizuzuv.dat";
/// Deleted by the clear command.
inline constexpr const char *kScratchTextName = "Vovizuzuv.txt";
