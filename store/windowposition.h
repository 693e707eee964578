#pragma once
// Saving and restoring where a window was, and the column layout of its
// lists, in the window's own section of POSITION.INI.
#include <QString>

namespace cx
{

class IniFile;
class WindowGeometry;

namespace positionkey
{
QString xPosit();   // "XPosit": left
QString yPosit();   // "YPosit": top
QString width();    // "Width"
QString height();   // "Height"
QString maximize(); // "Maximize": "Yes" or "No"
// "SRCF" + control, e.g. "SRCF?Browse:1": the list's layout as the user left it.
QString listFormat(const QString &control);
// "SRCFOriginal" + control: the built-in layout the saved one was made from.
QString originalListFormat(const QString &control);
} // namespace positionkey

// Called as a window closes, before it is destroyed. Writes nothing for a
// minimised window, so it reopens where it was before it was minimised. A
// maximised window is first taken out of that state, so the place saved is the
// one it returns to when restored from maximised.
void saveWindowPosition(IniFile &file, const QString &section, WindowGeometry &window);

// Called right after the window is opened, before it is first shown. With no
// saved place (or a left edge of 0, which is also what damaged text reads as)
// the window stays where it opened, in whatever state it opened.
void restoreWindowPosition(const IniFile &file, const QString &section, WindowGeometry &window);

// Returns the column format a list should open with. `builtInFormat` is the
// list's own format after the global date format was applied to it. The
// user's saved layout is used only if it was made from this same built-in
// format; otherwise the built-in one is used and remembered, so a new program
// layout or a changed date format discards the saved layout once.
QString restoreListFormat(IniFile &file, const QString &section, const QString &control,
                          const QString &builtInFormat);

// Called as the list's window closes, with the layout as the user left it.
void saveListFormat(IniFile &file, const QString &section, const QString &control,
                    const QString &currentFormat);

} // namespace cx
