#pragma once
// What the song form does, apart from its window: the start steps (media
// default, add mode, copy, numbering), the media and category lists, the
// checks of the media, time, category, track and chart fields (adding a
// category on the fly), the album defaults, the automatic album link and the
// write through the update-form protocol. The form edits the program's song
// buffer (MUS:); only the category name, which is no song field, is held here.
// Messages go through the program's Prompter, so the whole form runs headless.
#include "store/tables.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace cx {

class Program;
class Record;
class RecordForm;

class SongForm
{
public:
    enum class Variant {
        Song,     // UpdateSong: the song browses
        ForAlbum, // UpdateSongsForAlbum: songs of the album being edited
    };
    // The first letter of the AddMode setting.
    enum class AddKind { Normal, Ask, Compilation, SingleArtist };
    // The fields with a check, in the order OK runs them.
    enum class Check { Media, Time, Category, Track, Chart };
    enum class OkResult {
        Close,            // the form has ended; the response is set
        StayOnCheck,      // a check failed: focus back on failedCheck()
        StayOnFirstField, // the write failed: the form stays open on its first field
        Redisplay,        // another copy's version is in the buffer: show it, focus on the first field
    };
    struct Category {
        qint64 id = 0;
        QString name;
    };

    // Runs the single-artist or compilation wizard (or, for Ask, the chooser and
    // then the wizard chosen) for a new song; true when a wizard took the new
    // song over and the form is not to open.
    using AddWizard = std::function<bool(AddKind kind)>;
    // Runs the album pick list; true when an album was chosen, with the album
    // buffer (ALB:) holding it.
    using AlbumPicker = std::function<bool()>;

    explicit SongForm(Program &program, Variant variant = Variant::Song);
    ~SongForm();
    SongForm(const SongForm &) = delete;
    SongForm &operator=(const SongForm &) = delete;

    // Until the wizards exist no wizard is set, and every add mode goes on as "Normal".
    void setAddWizard(AddWizard wizard) { m_addWizard = std::move(wizard); }
    void setAlbumPicker(AlbumPicker picker) { m_albumPicker = std::move(picker); }
    // The album form's result text: "Cancel" when the form opens, "OK" when OK is pressed.
    void setFormResult(QString *result) { m_formResult = result; }

    // Reads the program's request and does everything up to opening the window.
    // true when the window is to open (insert, copy, change); false when the
    // form has ended (delete, a wizard took over, a failure or a cancelled insert).
    bool start();

    Variant variant() const { return m_variant; }
    int request() const;        // insert (also for a copy) or change, once started
    bool isCopy() const { return m_copy; }
    int threadInstance() const { return m_threadInstance; }
    QString title() const;
    QString positionSection() const;
    QString udkPrompt() const;  // the user-defined key's prompt, with its ":"
    bool canDefaultWithAlbum() const { return m_variant == Variant::Song && m_albumPicker != nullptr; }

    static AddKind addKindOf(const QString &addMode);

    // The song being edited (the program's buffer).
    Record &song();

    const QStringList &mediaNames() const { return m_media; }
    const QList<Category> &categories() const { return m_categories; }
    QStringList categoryNames() const;
    QString categoryText() const { return m_categoryText; }
    void setCategoryText(const QString &name) { m_categoryText = name; }

    // One field's check, with its message. false: the focus goes back to the field.
    bool check(Check field);
    Check failedCheck() const { return m_failed; }

    // "Default with Album Information": true when an album was chosen and the
    // song now holds its values (redisplay).
    bool defaultWithAlbumInformation();

    OkResult ok();
    // Cancel, Esc or closing the window: an added or copied song is deleted again.
    void cancel();
    // Ctrl+': the field (by name, "MUS:Artist") from the last song saved in a form.
    bool ditto(const QString &field);

private:
    // Every record of the table in key order, handed to take; false (after
    // the message) when a read fails.
    bool readAll(TableId table, const QString &key, const std::function<void(const Record &)> &take);
    bool fillMedia();
    bool fillCategories();
    QString categoryNameOf(qint64 id) const;
    int findCategory(const QString &name) const;
    bool checkMedia();
    bool checkCategory();
    bool addCategory(const QString &name);
    void linkAlbum();
    qint64 findAlbum(const QString &title, const QString &artist, bool &readFailed);

    Program &m_program;
    Variant m_variant;
    std::unique_ptr<RecordForm> m_form;
    AddWizard m_addWizard;
    AlbumPicker m_albumPicker;
    QString *m_formResult = nullptr;
    bool m_copy = false;
    int m_threadInstance = 0;
    QStringList m_media;
    QList<Category> m_categories;
    QString m_categoryText;
    Check m_failed = Check::Media;
};

} // namespace cx
