#pragma once
// Where the settings files live. Each path is worked out when asked for, so a
// change of the working directory or of the environment is followed at once.
#include <QString>

namespace cx
{

// The user's configuration directory for this program:
// $XDG_CONFIG_HOME/cantorix, or ~/.config/cantorix when that variable is unset,
// empty or not absolute (as the XDG base directory rules say).
QString settingsDirectory();

// The preferences, report fonts and program version.
QString mainSettingsPath();

// The general settings file, beside the main one; it holds the directory in
// which the previous version's data was last carried over.
QString generalSettingsPath();

// Window positions and list layouts: POSITION.INI in the current working
// directory, so each catalogue directory keeps its own window layout.
QString positionFilePath();

} // namespace cx
