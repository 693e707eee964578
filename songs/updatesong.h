#pragma once
// The song form's window: four tabs of entries over the song buffer, "&OK",
// "Cancel" and "Default with Album Information". Everything it does beyond
// showing and taking values is SongForm's.
#include "songs/songform.h"

#include <QDialog>
#include <QHash>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace cx {

class Program;

// What the callers of the song form may hand it.
struct SongFormOptions {
    SongForm::Variant variant = SongForm::Variant::Song;
    SongForm::AlbumPicker albumPicker; // none: the song form uses SelectAlbum
    SongForm::AddWizard addWizard;     // the album wizards; none: every add mode is "Normal"
    QString *formResult = nullptr;     // the album form's "OK"/"Cancel" text
};

class UpdateSong : public QDialog
{
    Q_OBJECT
public:
    UpdateSong(Program &program, SongForm &form, QWidget *parent = nullptr);
    ~UpdateSong() override;

    QTabWidget *tabs() const { return m_tabs; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    // An entry whose text goes through a display picture. The value is taken
    // back only when the text was edited, so a value the picture cannot show
    // exactly (hundredths of a second, a two-digit year) is not changed by
    // merely opening and saving the song.
    struct PictureEntry {
        QLineEdit *edit = nullptr;
        QString field;
        QString picture;
        QString shown;
    };

    QWidget *buildGeneralTab();
    QWidget *buildCustomTab();
    QWidget *buildRecordingTab();
    QWidget *buildNotesTab();
    QLineEdit *addEntry(const QString &field, int width);
    QPlainTextEdit *addMemo(const QString &memo);

    void showRecord();
    void storeRecord();
    void fillLists();
    void ok();
    void defaultWithAlbum();
    // A checked field left for another field: its check runs at once.
    void fieldLeft(SongForm::Check check, QWidget *control);
    void focusControl(QWidget *control);
    QWidget *controlOf(SongForm::Check check) const;
    QString sideValue() const;

    Program &m_program;
    SongForm &m_form;
    QTabWidget *m_tabs = nullptr;
    QHash<QString, QLineEdit *> m_entries; // plain text fields, by field name
    QHash<QString, QPlainTextEdit *> m_memos;
    QList<PictureEntry> m_pictures;
    QComboBox *m_media = nullptr;
    QComboBox *m_category = nullptr;
    QLineEdit *m_time = nullptr;
    QSpinBox *m_track = nullptr;
    QSpinBox *m_chart = nullptr;
    QSpinBox *m_bpm = nullptr;
    QRadioButton *m_side1 = nullptr;
    QRadioButton *m_side2 = nullptr;
    QRadioButton *m_sideNone = nullptr;
    QString m_sideShown;
    QHash<QString, QString> m_memoShown;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_default = nullptr;
    bool m_ended = false;
    bool m_checking = false; // a check's message is up: leaving the field again must not ask twice
};

// Runs the song form for the program's request on the song buffer and returns
// the response (completed or cancelled).
int runSongForm(Program &program, const SongFormOptions &options = {}, QWidget *parent = nullptr);

} // namespace cx
