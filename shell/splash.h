#pragma once
// The small picture shown over the main window while the program starts. It
// goes after a second, or at once when clicked or when the user gives a
// command; the start-up windows open once it has gone (finished()).
#include <QTimer>
#include <QWidget>

namespace cx {

class Splash : public QWidget
{
    Q_OBJECT
public:
    static QString picturePath();

    // Shown centred over frame. Deletes itself when it closes.
    explicit Splash(QWidget *frame = nullptr);

    // How long it stays, counted from when it is shown (1000 ms).
    void setInterval(int milliseconds);
    int interval() const { return m_timer.interval(); }
    bool isFinished() const { return m_finished; }

public slots:
    void closeNow();

signals:
    // Emitted exactly once, when the splash closes for whatever reason.
    void finished();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    bool m_finished = false;
};

} // namespace cx
