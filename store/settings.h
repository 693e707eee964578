#pragma once
// The catalogue of the main settings file (CRXMAIN.INI): every section and key
// with the value a missing key reads as, the program-wide preference values
// and report criteria filled from it, and the names of the window sections of
// POSITION.INI.
#include <QString>
#include <QStringList>

namespace cx
{

class IniFile;

QString settingsSection();       // "Settings": the preferences
QString globalSettingsSection(); // "Global Settings": logo override, last version
QString fontsSection();          // "Fonts": custom fonts of the reports
QString upgradesSection();       // "Upgrades", in the general settings file

// One key: its section, its name and what it reads as when missing.
struct SettingKey {
    QString section;
    QString key;
    QString defaultValue;

    QString read(const IniFile &file) const;
    qint64 readNumber(const IniFile &file) const;
    bool write(IniFile &file, const QString &value) const;
};

namespace setting
{
// Section "Settings".
SettingKey suAlbums();              // "1": open the album window at start-up
SettingKey suSongs();               // same, song window
SettingKey suPlaylists();           // same, play-list window
SettingKey suLabels();              // same, label window
SettingKey autoAddToAlbums();       // non-blank: songs saved without an album get one
SettingKey addMode();               // "Normal", "Compilation", ...; first letter counts
SettingKey labelArtistTitleOrder(); // "Artist - Title" or "Title - Artist"
SettingKey delimiter();             // GLO:Delimiter, one character
SettingKey udkPrompt();             // the user's name for the user defined key field
SettingKey notesLabel();            // the user's name for the notes field
SettingKey dateFormat();            // global date format code
SettingKey logo();                  // logo image path; blank = built-in
SettingKey interfaceStyle();        // "Explorer" or anything else
SettingKey cdTimer();               // CD player refresh, hundredths of a second
SettingKey mainLogo();              // image replacing the main window's logo
SettingKey setup();                 // "1" once the preferences were saved
// Section "Global Settings".
SettingKey frameLogo(); // image replacing the main window's logo, read first
SettingKey version();   // program version of the last start
// Section "Upgrades" of the general settings file.
SettingKey upgradeDirectory(); // CRX: working directory of the last start
} // namespace setting

// The four keys of section "Fonts" that hold one report's custom font, e.g.
// "FontNamePrintMUS:SongsByArtist".
struct FontKeys {
    QString name;
    QString size;
    QString color;
    QString style;
};
FontKeys fontKeys(const QString &reportName);
// The report procedures that offer a custom font.
QStringList customFontReports();

// The windows that keep their position in POSITION.INI, by section name.
QStringList windowPositionSections();

// The program-wide preference values of section "Settings". A default
// constructed value holds the defaults, as a missing file reads.
struct Settings {
    bool suAlbums = false;
    bool suSongs = false;
    bool suPlaylists = false;
    bool suLabels = false;
    QString autoAddToAlbums = QStringLiteral("1");
    QString addMode = QStringLiteral("1");
    QString labelArtistTitleOrder = QStringLiteral("1");
    QString delimiter = QStringLiteral(".");
    QString udkPrompt = QStringLiteral("User Defined Key");
    QString notesLabel = QStringLiteral("Notes");
    QString dateFormat = QStringLiteral("d17");
    QString logo;
    QString interface = QStringLiteral("Standard");
    int cdTimer = 150; // 0 or less: the CD player runs without a status timer

    bool explorerInterface() const;
    bool autoAddEnabled() const { return !autoAddToAlbums.trimmed().isEmpty(); }

    bool operator==(const Settings &) const = default;
};

// The criteria shared by every report for the whole run. They start blank;
// the settings load sets the style, the scope and the preview flag.
struct ReportCriteria {
    QString reportStyle; // "Standard" or "Brief"
    bool previewRequested = false;
    bool useCustomFont = false;
    QString selectedOrAll;   // "All" or "Selected"
    QString reportSelection; // the "start with" text

    bool operator==(const ReportCriteria &) const = default;
};

// The settings load: reads every preference of section "Settings" with its
// default, and resets the report criteria the user does not keep between
// reports (the custom font choice and the selection text stay).
void loadSettings(const IniFile &main, Settings &settings, ReportCriteria &criteria);

// What the preferences window writes on OK: every preference it edits and
// "Setup" = "1", in one rewrite of the file. CDTimer is left alone: only the
// CD player's own preferences window writes it (saveCdTimer), so saving the
// general preferences cannot undo a change made there by another copy.
bool saveSettings(IniFile &main, const Settings &settings);
bool saveCdTimer(IniFile &main, const Settings &settings);

} // namespace cx
