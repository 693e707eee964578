#pragma once
// The program's main window: a multiple-document frame with the menu bar,
// the toolbar with its logo, the status line that shows each command's help
// text, and the child windows.
//
// Every command is a QAction with a stable object name. Commands whose window
// is built elsewhere stay disabled until a handler is set for them with
// setCommandHandler(); the frame carries out the printer set-up, Exit, the
// clipboard commands, window arrangement, help and the about box itself.
#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QToolBar;

namespace cx {

class HelpWindow;

class MainFrame : public QMainWindow
{
    Q_OBJECT
public:
    // Paths of the built-in images; asking for one makes sure the images are
    // loaded, so they can be used before any frame exists.
    static QString builtInLogoPath();
    static QString iconPath(const QString &name);

    explicit MainFrame(QWidget *parent = nullptr);
    ~MainFrame() override;

    // The command, menu (its menuAction()), toolbar button or record and page
    // button ("moveTop" ... "moveBottom") of that object name, or nullptr.
    QAction *action(const QString &objectName) const;
    // Object names of every command and toolbar button, in menu order.
    QStringList commandNames() const;

    // Runs handler for the command from now on and enables it (and the
    // toolbar button that mirrors it); an empty handler disables it again.
    // A toolbar button's name stands for its menu command. False when there is
    // no such command.
    bool setCommandHandler(const QString &objectName, std::function<void()> handler);
    // Runs once the frame has agreed to close, after every child window has
    // closed and before the frame goes.
    void setCloseHandler(std::function<void()> handler);

    QMdiArea *mdiArea() const { return m_mdi; }
    // Adds widget as a child window, shows it and returns its sub-window.
    QMdiSubWindow *addChildWindow(QWidget *widget);

    // Shows the image file in the logo area, scaled to the toolbar height.
    // A file that cannot be read leaves the area empty and returns false.
    bool setLogo(const QString &imagePath);
    void setBuiltInLogo();

    // The printer chosen with File > Print Setup, shared by every report.
    QPrinter *printer();
    // The help window, created on first use.
    HelpWindow *helpWindow();

    // Window > Arrange Icons: minimised child windows in rows along the
    // bottom of the frame, in the order they were opened.
    void arrangeIcons();

signals:
    // Emitted just before any menu or toolbar command runs.
    void commandIssued();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Edit { Cut, Copy, Paste };

    QMenu *addMenu(QWidget *parentMenu, const QString &name, const QString &title,
                   const QString &tip = QString());
    QAction *addCommand(QMenu *menu, const QString &name, const QString &text,
                        const QString &tip, const QString &icon = QString());
    void addToolButton(const QString &name, const QString &text, const QString &menuCommand,
                       const QString &icon);
    void buildMenus();
    void buildToolBar();
    void runCommand(const QString &name);
    void editCommand(Edit edit);
    void fillWindowList();
    int logoHeight() const;
    void updateListMoves();

    QMdiArea *m_mdi = nullptr;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_logo = nullptr;
    QMenu *m_windowMenu = nullptr;
    QList<QAction *> m_windowListActions;
    QPointer<QActionGroup> m_windowListGroup;
    QList<QAction *> m_ordered;                // commands and buttons, menu order
    QList<QAction *> m_listMoves;              // the record and page buttons
    QHash<QString, QAction *> m_actions;       // by object name
    QHash<QString, QString> m_mirrorOf;        // toolbar button -> menu command
    QHash<QString, std::function<void()>> m_handlers;
    std::function<void()> m_closeHandler;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<HelpWindow> m_help;
};

} // namespace cx
