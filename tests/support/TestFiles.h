#pragma once

#include <QByteArray>
#include <QString>

/// The whole content of a file, or "<missing>" when it cannot be read.
QByteArray fileBytes(const QString &path);

/// Writes a file whole; a test failure when that fails.
void writeFile(const QString &path, const QByteArray &bytes);
