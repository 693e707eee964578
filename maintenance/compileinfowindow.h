#pragma once
// "Compile Information", opened from the About box: the application name, the
// program's build date and time, and the date and time the last window opened.
// Every field is read-only.
#include <QDialog>

class QLineEdit;

namespace cx {

class CompileInfoWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CompileInfoWindow(QWidget *parent = nullptr);

    // Reads the stamps again (they are read when the window is made).
    void refresh();

private:
    QLineEdit *m_application;
    QLineEdit *m_creationDate;
    QLineEdit *m_changeDate;
    QLineEdit *m_creationTime;
    QLineEdit *m_changeTime;
};

} // namespace cx
