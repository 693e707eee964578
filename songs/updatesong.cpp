#include "songs/updatesong.h"

#include "songs/selectalbum.h"

#include "platform/settings/inifile.h"
#include "platform/storage/record.h"
#include "platform/ui/widgetgeometry.h"
#include "store/dateformat.h"
#include "store/picture.h"
#include "store/program.h"
#include "store/settingspaths.h"
#include "store/windowposition.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace cx {

namespace {
QString name(const char *n) { return QString::fromLatin1(n); }

// Pixels for an entry of n characters.
int charsWide(const QWidget *w, int n) { return w->fontMetrics().averageCharWidth() * n + 12; }

// The release date's picture: the program's date format, blank for no date
// (an empty entry, not 28 December 1800).
QString releaseDatePicture(const QString &dateFormat)
{
    QString picture = datePictureFor(QStringLiteral("@d17"), dateFormat);
    const Picture parsed = Picture::parse(picture);
    if (parsed.kind() == Picture::Kind::Date && !parsed.blankWhenZero())
        picture += u'b';
    return picture;
}

QSpinBox *numberBox(int maximum, int digits, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(0, maximum);
    box->setMaximumWidth(charsWide(box, digits) + 40);
    return box;
}
} // namespace

UpdateSong::UpdateSong(Program &program, SongForm &form, QWidget *parent)
    : QDialog(parent), m_program(program), m_form(form)
{
    setObjectName(form.positionSection());
    setWindowTitle(form.title());

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_tabs->addTab(buildGeneralTab(), QStringLiteral("&General"));
    m_tabs->addTab(buildCustomTab(), QStringLiteral("DJ/Custom"));
    m_tabs->addTab(buildRecordingTab(), QStringLiteral("Recording/Performance"));
    m_tabs->addTab(buildNotesTab(), QStringLiteral("&Notes"));

    m_ok = new QPushButton(QStringLiteral("&OK"));
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_default = new QPushButton(QStringLiteral("Default with Album Information"));
    m_default->setObjectName(QStringLiteral("defaultWithAlbum"));
    m_default->setEnabled(form.canDefaultWithAlbum());
    // Songs entered for an album already belong to it.
    m_default->setVisible(form.variant() == SongForm::Variant::Song);
    connect(m_ok, &QPushButton::clicked, this, &UpdateSong::ok);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_default, &QPushButton::clicked, this, &UpdateSong::defaultWithAlbum);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_default);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    fillLists();
    showRecord();
    resize(sizeHint());

    IniFile positions(positionFilePath());
    WidgetGeometry geometry(this);
    restoreWindowPosition(positions, form.positionSection(), geometry);
    focusControl(m_entries.value(name("MUS:Artist")));
}

UpdateSong::~UpdateSong() = default;

QLineEdit *UpdateSong::addEntry(const QString &field, int width)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(field);
    edit->setMaxLength(width);
    edit->setMinimumWidth(charsWide(edit, qMin(width, 40)));
    edit->installEventFilter(this);
    m_entries.insert(field, edit);
    return edit;
}

QPlainTextEdit *UpdateSong::addMemo(const QString &memo)
{
    auto *edit = new QPlainTextEdit;
    edit->setObjectName(memo);
    edit->setTabChangesFocus(true);
    m_memos.insert(memo, edit);
    return edit;
}

QWidget *UpdateSong::buildGeneralTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("general"));
    auto *fields = new QFormLayout(page);
    fields->addRow(QStringLiteral("&Artist:"), addEntry(name("MUS:Artist"), 40));
    fields->addRow(QStringLiteral("&Title:"), addEntry(name("MUS:Title"), 40));
    fields->addRow(QStringLiteral("&Album:"), addEntry(name("MUS:Album"), 40));

    m_media = new QComboBox;
    m_media->setObjectName(name("MUS:Media"));
    m_media->setEditable(true);
    m_media->setInsertPolicy(QComboBox::NoInsert);
    m_media->lineEdit()->setMaxLength(20);
    m_media->setMinimumWidth(charsWide(m_media, 20) + 24);
    m_media->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_media->lineEdit()->installEventFilter(this);
    connect(m_media->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { fieldLeft(SongForm::Check::Media, m_media); });
    fields->addRow(QStringLiteral("&Media:"), m_media);

    m_time = new QLineEdit;
    m_time->setObjectName(name("MUS:Time"));
    m_time->setMaxLength(12);
    m_time->setFixedWidth(charsWide(m_time, 10));
    m_time->installEventFilter(this);
    m_pictures << PictureEntry{m_time, name("MUS:Time"), QStringLiteral("@t4"), {}};
    connect(m_time, &QLineEdit::editingFinished, this, [this] { fieldLeft(SongForm::Check::Time, m_time); });
    fields->addRow(QStringLiteral("T&ime:"), m_time);

    fields->addRow(QStringLiteral("&File Number:"), addEntry(name("MUS:FileNumber"), 20));

    auto *date = new QLineEdit;
    date->setObjectName(name("MUS:ReleaseDate"));
    date->setFixedWidth(charsWide(date, 20));
    date->installEventFilter(this);
    m_pictures << PictureEntry{date, name("MUS:ReleaseDate"), releaseDatePicture(m_program.settings.dateFormat), {}};
    fields->addRow(QStringLiteral("&Release Date:"), date);

    m_category = new QComboBox;
    m_category->setObjectName(name("MUS:CategoryID"));
    m_category->setEditable(true);
    m_category->setInsertPolicy(QComboBox::NoInsert);
    m_category->lineEdit()->setMaxLength(30);
    m_category->setMinimumWidth(charsWide(m_category, 30) + 24);
    m_category->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_category->lineEdit()->installEventFilter(this);
    connect(m_category->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { fieldLeft(SongForm::Check::Category, m_category); });
    fields->addRow(QStringLiteral("&Category:"), m_category);

    m_track = numberBox(255, 3, page); // a byte: the check, not the box, says what is allowed
    m_track->setObjectName(name("MUS:TrackNumber"));
    connect(m_track, &QSpinBox::editingFinished, this, [this] { fieldLeft(SongForm::Check::Track, m_track); });
    fields->addRow(QStringLiteral("Track &Number:"), m_track);

    auto *side = new QGroupBox(QStringLiteral("Side / Disc"));
    side->setObjectName(name("MUS:Side"));
    m_side1 = new QRadioButton(QStringLiteral("1"));
    m_side2 = new QRadioButton(QStringLiteral("2"));
    m_sideNone = new QRadioButton(QStringLiteral(" None"));
    auto *sides = new QHBoxLayout(side);
    sides->addWidget(m_side1);
    sides->addWidget(m_side2);
    sides->addWidget(m_sideNone);
    sides->addStretch(1);
    fields->addRow(side);
    return page;
}

QWidget *UpdateSong::buildCustomTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("custom"));
    auto *fields = new QFormLayout(page);
    m_chart = numberBox(255, 3, page);
    m_chart->setObjectName(name("MUS:ChartNumber"));
    connect(m_chart, &QSpinBox::editingFinished, this, [this] { fieldLeft(SongForm::Check::Chart, m_chart); });
    fields->addRow(QStringLiteral("Highest Chart Number:"), m_chart);

    const QString udkTip = QStringLiteral("See File/Preferences/Customization to label this field to suit your needs");
    QLineEdit *udk = addEntry(name("MUS:UserDefinedKeyField"), 30);
    udk->setToolTip(udkTip);
    auto *udkLabel = new QLabel(m_form.udkPrompt());
    udkLabel->setObjectName(QStringLiteral("udkPrompt"));
    udkLabel->setToolTip(udkTip);
    udkLabel->setBuddy(udk);
    fields->addRow(udkLabel, udk);

    m_bpm = numberBox(9999, 4, page);
    m_bpm->setObjectName(name("MUS:BeatsPerMinute"));
    m_bpm->setSpecialValueText(QStringLiteral(" ")); // blank when zero
    fields->addRow(QStringLiteral("Beats Per Minute:"), m_bpm);
    fields->addRow(QStringLiteral("Style:"), addEntry(name("MUS:Style"), 30));
    fields->addRow(QStringLiteral("Additional Information 1:"), addEntry(name("MUS:AdditionalInformation1"), 80));
    fields->addRow(QStringLiteral("Additional Information 2:"), addEntry(name("MUS:AdditionalInformation2"), 80));
    fields->addRow(QStringLiteral("Additional Information 3:"), addEntry(name("MUS:AdditionalInformation3"), 80));
    return page;
}

QWidget *UpdateSong::buildRecordingTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("recording"));
    auto *layout = new QVBoxLayout(page);
    auto *recordingLabel = new QLabel(QStringLiteral("Recording Information:"));
    QPlainTextEdit *recording = addMemo(name("MUS:Recording"));
    const QString tip = QStringLiteral("Recording Information (Engineer, Producer, Etc)");
    recordingLabel->setToolTip(tip);
    recording->setToolTip(tip);
    recordingLabel->setBuddy(recording);
    layout->addWidget(recordingLabel);
    layout->addWidget(recording, 1);

    auto *composer = new QFormLayout;
    composer->addRow(QStringLiteral("Composer:"), addEntry(name("MUS:Composer"), 80));
    layout->addLayout(composer);

    auto *notesLabel = new QLabel(QStringLiteral("Performance Notes:"));
    QPlainTextEdit *notes = addMemo(name("MUS:PerformanceNotes"));
    notesLabel->setBuddy(notes);
    layout->addWidget(notesLabel);
    layout->addWidget(notes, 1);
    return page;
}

QWidget *UpdateSong::buildNotesTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("notes"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(addMemo(name("MUS:Notes")));
    return page;
}

void UpdateSong::fillLists()
{
    m_media->clear();
    m_media->addItems(m_form.mediaNames());
    m_category->clear();
    m_category->addItems(m_form.categoryNames());
}

void UpdateSong::showRecord()
{
    const Record &song = m_form.song();
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        it.value()->setText(song.text(it.key()));
    for (PictureEntry &p : m_pictures) {
        p.shown = format(song.get(p.field), p.picture);
        p.edit->setText(p.shown);
    }
    for (auto it = m_memos.cbegin(); it != m_memos.cend(); ++it) {
        const QString text = song.get(it.key()).toString();
        m_memoShown.insert(it.key(), text);
        it.value()->setPlainText(text);
    }
    const QString media = song.text(name("MUS:Media"));
    const int mediaRow = m_media->findText(media, Qt::MatchFixedString);
    m_media->setCurrentIndex(mediaRow);
    m_media->setEditText(media);
    const QString category = m_form.categoryText();
    m_category->setCurrentIndex(m_category->findText(category, Qt::MatchFixedString));
    m_category->setEditText(category);
    m_track->setValue(int(song.number(name("MUS:TrackNumber"))));
    m_chart->setValue(int(song.number(name("MUS:ChartNumber"))));
    m_bpm->setValue(int(qBound<qint64>(0, song.number(name("MUS:BeatsPerMinute")), qint64(m_bpm->maximum()))));
    m_sideShown = song.text(name("MUS:Side"));
    m_side1->setChecked(m_sideShown == u'1');
    m_side2->setChecked(m_sideShown == u'2');
    m_sideNone->setChecked(m_sideShown != u'1' && m_sideShown != u'2');
}

QString UpdateSong::sideValue() const
{
    return m_side1->isChecked() ? QStringLiteral("1") : m_side2->isChecked() ? QStringLiteral("2") : QString();
}

void UpdateSong::storeRecord()
{
    Record &song = m_form.song();
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        song.set(it.key(), it.value()->text());
    for (PictureEntry &p : m_pictures)
        if (p.edit->text() != p.shown)
            song.set(p.field, deformat(p.edit->text(), p.picture));
    for (auto it = m_memos.cbegin(); it != m_memos.cend(); ++it)
        if (it.value()->toPlainText() != m_memoShown.value(it.key()))
            song.set(it.key(), it.value()->toPlainText());
    song.set(name("MUS:Media"), m_media->currentText());
    m_form.setCategoryText(m_category->currentText());
    song.set(name("MUS:TrackNumber"), m_track->value());
    song.set(name("MUS:ChartNumber"), m_chart->value());
    // A stored value beyond what the box holds stays unless the box was changed.
    const qint64 bpm = song.number(name("MUS:BeatsPerMinute"));
    if (qBound<qint64>(0, bpm, qint64(m_bpm->maximum())) != m_bpm->value())
        song.set(name("MUS:BeatsPerMinute"), m_bpm->value());
    // Likewise a side other than the three the buttons offer.
    const QString side = sideValue();
    const bool sideShownAsNone = m_sideShown != u'1' && m_sideShown != u'2';
    if (!(sideShownAsNone && side.isEmpty()))
        song.set(name("MUS:Side"), side);
}

QWidget *UpdateSong::controlOf(SongForm::Check check) const
{
    switch (check) {
    case SongForm::Check::Media:
        return m_media;
    case SongForm::Check::Time:
        return m_time;
    case SongForm::Check::Category:
        return m_category;
    case SongForm::Check::Track:
        return m_track;
    case SongForm::Check::Chart:
        return m_chart;
    }
    return nullptr;
}

void UpdateSong::focusControl(QWidget *control)
{
    if (!control)
        return;
    for (int i = 0; i < m_tabs->count(); ++i)
        if (m_tabs->widget(i)->isAncestorOf(control))
            m_tabs->setCurrentIndex(i);
    control->setFocus();
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->selectAll();
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        combo->lineEdit()->selectAll();
    else if (auto *box = qobject_cast<QSpinBox *>(control))
        box->selectAll();
}

void UpdateSong::fieldLeft(SongForm::Check check, QWidget *control)
{
    if (m_ended || m_checking)
        return;
    // The time is only converted: there is nothing to ask, whatever comes next.
    if (check == SongForm::Check::Time) {
        storeRecord();
        m_form.check(check);
        for (PictureEntry &p : m_pictures) {
            if (p.edit == m_time) {
                p.shown = format(m_form.song().get(p.field), p.picture);
                m_time->setText(p.shown);
            }
        }
        return;
    }
    // The other checks run here only when the user moves on to another field
    // of this window. Return, OK, Cancel and the album button have their own
    // way (OK checks every field; Cancel checks none), and a message box must
    // not come up in the middle of a button press.
    QWidget *next = QApplication::focusWidget();
    if (!next || next == control || control->isAncestorOf(next) || !isAncestorOf(next)
        || qobject_cast<QAbstractButton *>(next))
        return;
    m_checking = true;
    storeRecord();
    const bool passed = m_form.check(check);
    if (check == SongForm::Check::Category) {
        fillLists(); // a category added on the way is in the list now
        showRecord();
    } else if (check == SongForm::Check::Media) {
        m_media->setEditText(m_form.song().text(name("MUS:Media")));
    }
    if (!passed)
        focusControl(control);
    m_checking = false;
}

void UpdateSong::ok()
{
    if (m_ended)
        return;
    m_checking = true;
    storeRecord();
    const SongForm::OkResult result = m_form.ok();
    m_checking = false;
    switch (result) {
    case SongForm::OkResult::Close:
        m_ended = true;
        done(m_program.response == Program::Completed ? Accepted : Rejected);
        return;
    case SongForm::OkResult::StayOnCheck:
        fillLists();
        showRecord();
        focusControl(controlOf(m_form.failedCheck()));
        return;
    case SongForm::OkResult::StayOnFirstField:
    case SongForm::OkResult::Redisplay:
        fillLists();
        showRecord();
        focusControl(m_entries.value(name("MUS:Artist")));
        return;
    }
}

void UpdateSong::defaultWithAlbum()
{
    storeRecord();
    if (m_form.defaultWithAlbumInformation())
        showRecord();
}

void UpdateSong::keyPressEvent(QKeyEvent *event)
{
    // Songs entered for an album are left with OK or Cancel only.
    if (event->key() == Qt::Key_Escape && m_form.variant() == SongForm::Variant::ForAlbum) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void UpdateSong::done(int result)
{
    // Cancel, Escape and closing the window all end the form cancelled.
    if (!m_ended)
        m_form.cancel();
    m_ended = true;
    IniFile positions(positionFilePath());
    WidgetGeometry geometry(this);
    saveWindowPosition(positions, m_form.positionSection(), geometry);
    QDialog::done(result);
}

bool UpdateSong::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+' recalls the field from the last song saved in a form.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Apostrophe && key->modifiers().testFlag(Qt::ControlModifier)) {
            QString field = watched->objectName();
            if (watched == m_media->lineEdit())
                field = m_media->objectName();
            else if (watched == m_category->lineEdit())
                field = m_category->objectName();
            storeRecord();
            if (m_form.ditto(field))
                showRecord();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int runSongForm(Program &program, const SongFormOptions &options, QWidget *parent)
{
    SongForm form(program, options.variant);
    // The album pick list opens over the form's own window, which exists only
    // once the form has started.
    QWidget *window = nullptr;
    SongForm::AlbumPicker picker = options.albumPicker;
    if (!picker && options.variant == SongForm::Variant::Song)
        picker = [&program, &window] {
            return runSelectAlbum(program, true, window) == Program::Completed;
        };
    form.setAlbumPicker(std::move(picker));
    form.setAddWizard(options.addWizard);
    form.setFormResult(options.formResult);
    if (!form.start())
        return program.response;
    UpdateSong dialog(program, form, parent);
    window = &dialog;
    dialog.exec();
    return program.response;
}

} // namespace cx
