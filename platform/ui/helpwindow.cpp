#include "platform/ui/helpwindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace cx {

HelpWindow::HelpWindow(const QString &folder, QWidget *parent)
    : QWidget(parent, Qt::Window), m_folder(folder)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(tr("Help"));

    auto *contents = new QPushButton(tr("&Contents"));
    contents->setObjectName(QStringLiteral("helpContentsButton"));
    auto *search = new QPushButton(tr("&Search"));
    search->setObjectName(QStringLiteral("helpSearchButton"));
    m_back = new QPushButton(tr("&Back"));
    m_back->setObjectName(QStringLiteral("helpBackButton"));
    m_forward = new QPushButton(tr("&Forward"));
    m_forward->setObjectName(QStringLiteral("helpForwardButton"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    for (QPushButton *b : {contents, search, m_back, m_forward})
        b->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(search);
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addStretch(1);

    m_searchPanel = new QWidget;
    m_searchPanel->setObjectName(QStringLiteral("helpSearchPanel"));
    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("helpSearchField"));
    m_searchField->setClearButtonEnabled(true);
    m_results = new QListWidget;
    m_results->setObjectName(QStringLiteral("helpSearchResults"));
    auto *fieldLabel = new QLabel(tr("&Type the words to look for:"));
    fieldLabel->setBuddy(m_searchField);
    auto *resultsLabel = new QLabel(tr("&Pages that contain them:"));
    resultsLabel->setBuddy(m_results);
    auto *panelLayout = new QVBoxLayout(m_searchPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(fieldLabel);
    panelLayout->addWidget(m_searchField);
    panelLayout->addWidget(resultsLabel);
    panelLayout->addWidget(m_results, 1);
    m_searchPanel->hide();

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);

    auto *splitter = new QSplitter;
    splitter->addWidget(m_searchPanel);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({200, 520}); // the page keeps most of the room

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(contents, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(search, &QPushButton::clicked, this, [this] {
        // The button toggles the search pane; the menu command always opens it.
        if (m_searchPanel->isVisible())
            m_searchPanel->hide();
        else
            showSearch();
    });
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("Help") : title);
    });
    connect(m_searchField, &QLineEdit::textChanged, this, &HelpWindow::fillResults);
    connect(m_searchField, &QLineEdit::returnPressed, this, [this] {
        if (m_results->count() > 0)
            m_results->setCurrentRow(0);
    });
    connect(m_results, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            showPage(item->data(Qt::UserRole).toString());
    });
    // A click on the current entry shows its page again after the reader
    // followed links away from it.
    connect(m_results, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        showPage(item->data(Qt::UserRole).toString());
    });

    resize(720, 520);
}

void HelpWindow::showContents()
{
    showPage(contentsPage());
    bringToFront();
}

void HelpWindow::showSearch()
{
    if (m_browser->source().isEmpty())
        showPage(contentsPage());
    m_searchPanel->show();
    fillResults(m_searchField->text());
    bringToFront();
    m_searchField->setFocus();
    m_searchField->selectAll();
}

void HelpWindow::showHelpOnHelp()
{
    showPage(helpOnHelpPage());
    bringToFront();
}

bool HelpWindow::showPage(const QString &fileName)
{
    if (!QFileInfo::exists(QDir(m_folder).filePath(fileName)))
        return false;
    const QUrl url = urlOf(fileName);
    if (m_browser->source() != url)
        m_browser->setSource(url);
    return true;
}

QStringList HelpWindow::search(const QString &words) const
{
    loadPages();
    const QStringList wanted = words.split(QRegularExpression(QStringLiteral("\\s+")),
                                           Qt::SkipEmptyParts);
    QStringList found;
    for (const Page &page : std::as_const(m_pages)) {
        const bool all = std::all_of(wanted.begin(), wanted.end(), [&page](const QString &w) {
            return page.text.contains(w, Qt::CaseInsensitive);
        });
        if (all)
            found << page.fileName;
    }
    return found;
}

QString HelpWindow::pageTitle(const QString &fileName) const
{
    loadPages();
    for (const Page &page : std::as_const(m_pages))
        if (page.fileName == fileName)
            return page.title;
    return fileName;
}

QString HelpWindow::currentPage() const
{
    const QUrl source = m_browser->source();
    return source.isEmpty() ? QString() : source.fileName();
}

void HelpWindow::loadPages() const
{
    if (m_loaded)
        return;
    m_loaded = true;
    const QDir dir(m_folder);
    const QStringList files = dir.entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString &fileName : files) {
        QFile file(dir.filePath(fileName));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(file.readAll()));
        Page page;
        page.fileName = fileName;
        page.title = doc.metaInformation(QTextDocument::DocumentTitle).trimmed();
        if (page.title.isEmpty())
            page.title = fileName;
        page.text = doc.toPlainText().simplified();
        m_pages << page;
    }
    std::sort(m_pages.begin(), m_pages.end(), [](const Page &a, const Page &b) {
        return QString::localeAwareCompare(a.title, b.title) < 0;
    });
}

QUrl HelpWindow::urlOf(const QString &fileName) const
{
    const QString path = QDir(m_folder).filePath(fileName);
    if (path.startsWith(QLatin1Char(':'))) {
        QUrl url;
        url.setScheme(QStringLiteral("qrc"));
        url.setPath(path.mid(1));
        return url;
    }
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}

void HelpWindow::fillResults(const QString &words)
{
    const QSignalBlocker blocker(m_results);
    m_results->clear();
    for (const QString &fileName : search(words)) {
        auto *item = new QListWidgetItem(pageTitle(fileName), m_results);
        item->setData(Qt::UserRole, fileName);
    }
}

void HelpWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

} // namespace cx
