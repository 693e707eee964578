#pragma once
#include <QString>

namespace cx {
// The program version recorded in the main settings file at every start and
// shown by the splash and the about box.
inline QString programVersion() { return QStringLiteral("1.8"); }
inline QString versionCaption() { return QStringLiteral("Version ") + programVersion(); }
} // namespace cx
