#pragma once

// The core speaks UTF-8 std::string and the widgets QString; these two are
// the only crossing between them, so every window converts the same way.

#include <QString>

#include <string>

namespace ui {

inline std::string toUtf8(const QString &text) { return text.toStdString(); }
inline QString fromUtf8(const std::string &text) { return QString::fromStdString(text); }

} // namespace ui
