#pragma once
// The one-field forms of the lookup lists (a category name, a media format):
// a prompt, an entry, "&Ok" and "Cancel", run through the update-form
// protocol so that numbering, duplicates, renaming cascades and delete
// refusals behave as in every other form.
#include "store/tables.h"

#include <QDialog>

class QLineEdit;

namespace cx {

class Program;
class RecordForm;

struct LookupFormSpec {
    TableId table;
    QString field;        // "CAT:Category"
    int width = 0;        // characters the entry takes
    QString prompt;       // "&Category:"
    QString title;        // when neither adding nor changing
    QString insertTitle;  // "Add Category"
    QString changeTitle;  // "Change Category"
    QString section;      // window position section, "UpdateCategories"
};

LookupFormSpec categoryFormSpec();
LookupFormSpec mediaFormSpec();

class LookupForm : public QDialog
{
    Q_OBJECT
public:
    LookupForm(Program &program, RecordForm &form, const LookupFormSpec &spec, QWidget *parent = nullptr);
    ~LookupForm() override;

    QLineEdit *entry() const { return m_entry; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void ok();
    void showRecord();

    Program &m_program;
    RecordForm &m_form;
    LookupFormSpec m_spec;
    QLineEdit *m_entry;
    bool m_ended = false; // the form protocol has ended (OK went through, or Cancel)
};

// Runs the form for the program's request (insert, change or delete) on the
// table's buffer and returns the response (completed or cancelled).
int runLookupForm(Program &program, const LookupFormSpec &spec, QWidget *parent = nullptr);

} // namespace cx
