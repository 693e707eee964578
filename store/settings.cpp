#include "store/settings.h"

#include "platform/settings/inifile.h"

#include <algorithm>
#include <limits>

namespace cx
{

namespace
{

SettingKey inSettings(const QString &key, const QString &defaultValue = {})
{
    return {settingsSection(), key, defaultValue};
}

// The program-wide values are fixed-length texts; a longer value in the file
// (typed in by hand) is cut to the length the rest of the program expects.
QString clipped(const QString &text, qsizetype codePoints)
{
    qsizetype units = 0;
    for (qsizetype n = 0; n < codePoints && units < text.size(); ++n)
        units += (text[units].isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
    return text.left(units);
}

int toInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

} // namespace

QString settingsSection()
{
    return QStringLiteral("Settings");
}
QString globalSettingsSection()
{
    return QStringLiteral("Global Settings");
}
QString fontsSection()
{
    return QStringLiteral("Fonts");
}
QString upgradesSection()
{
    return QStringLiteral("Upgrades");
}

QString SettingKey::read(const IniFile &file) const
{
    return file.read(section, key, defaultValue);
}

qint64 SettingKey::readNumber(const IniFile &file) const
{
    return file.readNumber(section, key, defaultValue.toLongLong());
}

bool SettingKey::write(IniFile &file, const QString &value) const
{
    return file.write(section, key, value);
}

namespace setting
{
SettingKey suAlbums()
{
    return inSettings(QStringLiteral("SU_Albums"));
}
SettingKey suSongs()
{
    return inSettings(QStringLiteral("SU_Songs"));
}
SettingKey suPlaylists()
{
    return inSettings(QStringLiteral("SU_Playlists"));
}
SettingKey suLabels()
{
    return inSettings(QStringLiteral("SU_Labels"));
}
SettingKey autoAddToAlbums()
{
    return inSettings(QStringLiteral("AutoAddToAlbums"), QStringLiteral("1"));
}
SettingKey addMode()
{
    return inSettings(QStringLiteral("AddMode"), QStringLiteral("1"));
}
SettingKey labelArtistTitleOrder()
{
    return inSettings(QStringLiteral("LabelArtistTitleOrder"), QStringLiteral("1"));
}
SettingKey delimiter()
{
    return inSettings(QStringLiteral("GLO:Delimiter"), QStringLiteral("."));
}
SettingKey udkPrompt()
{
    return inSettings(QStringLiteral("UDKPrompt"), QStringLiteral("User Defined Key"));
}
SettingKey notesLabel()
{
    return inSettings(QStringLiteral("NotesLabel"), QStringLiteral("Notes"));
}
SettingKey dateFormat()
{
    return inSettings(QStringLiteral("DateFormat"), QStringLiteral("d17"));
}
SettingKey logo()
{
    return inSettings(QStringLiteral("Logo"));
}
SettingKey interfaceStyle()
{
    return inSettings(QStringLiteral("Interface"), QStringLiteral("Standard"));
}
SettingKey cdTimer()
{
    return inSettings(QStringLiteral("CDTimer"), QStringLiteral("150"));
}
SettingKey mainLogo()
{
    return inSettings(QStringLiteral("MainLogo"));
}
SettingKey setup()
{
    return inSettings(QStringLiteral("Setup"));
}
SettingKey frameLogo()
{
    return {globalSettingsSection(), QStringLiteral("FrameLogo"), {}};
}
SettingKey version()
{
    return {globalSettingsSection(), QStringLiteral("Version"), {}};
}
SettingKey upgradeDirectory()
{
    return {upgradesSection(), QStringLiteral("CRX"), {}};
}
} // namespace setting

FontKeys fontKeys(const QString &reportName)
{
    return {u"FontName" + reportName, u"FontSize" + reportName, u"FontColor" + reportName,
            u"FontStyle" + reportName};
}

QStringList customFontReports()
{
    return {
        QStringLiteral("PrintMUS:SongsByArtist"), QStringLiteral("PrintMUS:SongsByTitle"),
        QStringLiteral("PrintMUS:SongsByAlbum"),  QStringLiteral("PrintMUS:SongsByMedia"),
        QStringLiteral("PrintMUS:SongsByUDK"),    QStringLiteral("PrintMUS:SongsByBPM"),
        QStringLiteral("PrintByCategory"),        QStringLiteral("BriefMUS:SongsByArtist"),
        QStringLiteral("BriefMUS:SongsByTitle"),  QStringLiteral("BriefMUS:SongsByMedia"),
        QStringLiteral("BriefMUS:SongsByBPM"),    QStringLiteral("BriefByCategory"),
        QStringLiteral("PrintPaperSaver"),        QStringLiteral("PrintPaperSaverTitle"),
    };
}

QStringList windowPositionSections()
{
    return {
        QStringLiteral("Main"),
        QStringLiteral("BrowseSongs"),
        QStringLiteral("BrowseAlbums"),
        QStringLiteral("BrowseCategories"),
        QStringLiteral("BrowseMedia"),
        QStringLiteral("BrowseLabels"),
        QStringLiteral("BrowsePlayLists"),
        QStringLiteral("SelectAlbum"),
        QStringLiteral("SelectFileNumber"),
        QStringLiteral("SelectFont"),
        QStringLiteral("UpdateSong"),
        QStringLiteral("UpdateSongsForAlbum"),
        QStringLiteral("UpdateAlbums"),
        QStringLiteral("UpdateCategories"),
        QStringLiteral("UpdateMedia"),
        QStringLiteral("UpdateLabels"),
        QStringLiteral("UpdateFonts"),
        QStringLiteral("UpdateFontFreeform"),
        QStringLiteral("UpdatePlaylist"),
        QStringLiteral("UpdatePlaylistDetails"),
        QStringLiteral("UpdateAddWizard"),
        QStringLiteral("UpdateAddWizardNoArtist"),
        QStringLiteral("AddSingleArtist"),
        QStringLiteral("LabelWizard"),
        QStringLiteral("GeneratePlaylist"),
        QStringLiteral("ReportCriteria"),
        QStringLiteral("CDBinderPages"),
        QStringLiteral("CDSetup"),
        QStringLiteral("CompileDate"),
        QStringLiteral("IntegratedCDPlayer"),
        QStringLiteral("XploreAlbums"),
        QStringLiteral("XploreSongs"),
        QStringLiteral("XploreFormatBrowseBox"),
    };
}

// The preferences window writes the radio text "Explorer"; a hand-edited file
// may differ in case or carry blanks, which should not silently switch the
// user back to the standard windows.
bool Settings::explorerInterface() const
{
    return interface.trimmed().compare(u"Explorer", Qt::CaseInsensitive) == 0;
}

void loadSettings(const IniFile &main, Settings &settings, ReportCriteria &criteria)
{
    // The start-up flags are "1" or "0"/blank; any other number counts as set,
    // as a ticked check box would.
    settings.suAlbums = setting::suAlbums().readNumber(main) != 0;
    settings.suSongs = setting::suSongs().readNumber(main) != 0;
    settings.suPlaylists = setting::suPlaylists().readNumber(main) != 0;
    settings.suLabels = setting::suLabels().readNumber(main) != 0;
    settings.autoAddToAlbums = setting::autoAddToAlbums().read(main);
    settings.addMode = setting::addMode().read(main);
    settings.labelArtistTitleOrder = setting::labelArtistTitleOrder().read(main);
    settings.delimiter = clipped(setting::delimiter().read(main), 1);
    settings.udkPrompt = clipped(setting::udkPrompt().read(main), 24);
    settings.notesLabel = clipped(setting::notesLabel().read(main), 20);
    settings.dateFormat = setting::dateFormat().read(main);
    settings.logo = setting::logo().read(main);
    settings.interface = setting::interfaceStyle().read(main);
    settings.cdTimer = toInt(setting::cdTimer().readNumber(main));

    criteria.reportStyle = QStringLiteral("Standard");
    criteria.selectedOrAll = QStringLiteral("All");
    criteria.previewRequested = true;
}

bool saveSettings(IniFile &main, const Settings &s)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return main.writeValues(settingsSection(),
                            {
                                {setting::autoAddToAlbums().key, s.autoAddToAlbums},
                                {setting::addMode().key, s.addMode},
                                {setting::labelArtistTitleOrder().key, s.labelArtistTitleOrder},
                                {setting::delimiter().key, s.delimiter},
                                {setting::udkPrompt().key, s.udkPrompt},
                                {setting::notesLabel().key, s.notesLabel},
                                {setting::setup().key, QStringLiteral("1")},
                                {setting::interfaceStyle().key, s.interface},
                                {setting::suAlbums().key, flag(s.suAlbums)},
                                {setting::suSongs().key, flag(s.suSongs)},
                                {setting::suPlaylists().key, flag(s.suPlaylists)},
                                {setting::suLabels().key, flag(s.suLabels)},
                                {setting::logo().key, s.logo},
                                {setting::dateFormat().key, s.dateFormat},
                            });
}

bool saveCdTimer(IniFile &main, const Settings &settings)
{
    return main.writeNumber(settingsSection(), setting::cdTimer().key, settings.cdTimer);
}

} // namespace cx
