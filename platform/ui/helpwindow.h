#pragma once
// A plain HTML help viewer over a folder of pages (usually a resource folder).
// It knows nothing of the program it documents: the folder must hold a
// contents page ("contents.html") and a page on using this viewer
// ("helponhelp.html"); every other *.html file in it is a topic that the
// search finds.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace cx {

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    static QString contentsPage() { return QStringLiteral("contents.html"); }
    static QString helpOnHelpPage() { return QStringLiteral("helponhelp.html"); }

    // folder is ":/name" for a resource folder or a path on disk.
    explicit HelpWindow(const QString &folder = QStringLiteral(":/help"),
                        QWidget *parent = nullptr);

    void showContents();
    void showSearch();
    void showHelpOnHelp();
    // Shows one page of the folder; false when the folder has no such page.
    bool showPage(const QString &fileName);

    // File names of the pages whose text holds every word (case ignored),
    // ordered by page title; every page for blank words.
    QStringList search(const QString &words) const;
    // The title of a page of the folder (its file name when it has none).
    QString pageTitle(const QString &fileName) const;
    // File name of the page shown, or empty.
    QString currentPage() const;

private:
    struct Page {
        QString fileName;
        QString title;
        QString text; // plain text, for the search
    };

    void loadPages() const;
    QUrl urlOf(const QString &fileName) const;
    void fillResults(const QString &words);
    void bringToFront();

    QString m_folder;
    mutable QList<Page> m_pages;
    mutable bool m_loaded = false;
    QTextBrowser *m_browser = nullptr;
    QWidget *m_searchPanel = nullptr;
    QLineEdit *m_searchField = nullptr;
    QListWidget *m_results = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_forward = nullptr;
};

} // namespace cx
