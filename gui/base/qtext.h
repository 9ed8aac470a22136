// The one boundary between Text (GBK bytes) and the window system's strings.
#pragma once

#include "net/text.h"

#include <QString>

namespace zv {

QString ToQ(const Text& gbk);
// What GBK cannot hold becomes "?".
Text FromQ(const QString& s);
// A UTF-8 literal as a window string.
inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

} // namespace zv
