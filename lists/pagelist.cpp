#include "lists/pagelist.h"

#include "lists/columndelegate.h"
#include "lists/listcontroller.h"
#include "lists/listmoves.h"
#include "lists/pagemodel.h"
#include "store/dateformat.h"
#include "store/picture.h"
#include "store/values.h"
#include "store/windowposition.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QWheelEvent>

#include <cmath>

namespace cx
{

namespace
{
constexpr int kRowsPerWheelStep = 3;
constexpr int kWheelStep = 120; // angle delta of one notch
} // namespace

PageList::PageList(ListController &controller, const QString &designedFormat, QWidget *parent)
    : QWidget(parent), m_controller(controller), m_designed(designedFormat)
{
    m_model = new PageModel(controller, this);
    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new ColumnDelegate(
        *m_model, [this](int units) { return unitsToPixels(units); }, this));
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setTabKeyNavigation(false);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setCornerButtonEnabled(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(rowHeight());
    QHeaderView *header = m_view->horizontalHeader();
    header->setSectionsMovable(true);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setRange(1, ThumbSampler::kPositions);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(10);
    m_scrollBar->setVisible(controller.scrollBarVisible());

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);
    layout->addWidget(m_scrollBar);
    setFocusProxy(m_view);

    connect(m_scrollBar, &QAbstractSlider::actionTriggered, this, &PageList::scrollBarAction);
    connect(m_scrollBar, &QAbstractSlider::sliderReleased, this, &PageList::syncThumb);
    connect(&controller, &ListController::pageChanged, this, &PageList::syncPage);
    connect(&controller, &ListController::highlightChanged, this, [this] { syncHighlight(); });
    connect(&controller, &ListController::thumbChanged, this, &PageList::syncThumb);
    connect(&controller, &ListController::scrollBarVisibilityChanged, m_scrollBar,
            &QWidget::setVisible);
    connect(&controller, &ListController::closeRequested, this, &PageList::closeRequested);
    connect(&controller, &ListController::busyChanged, this, [](bool busy) {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(m_view, &QAbstractItemView::doubleClicked, this, &PageList::activated);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!m_syncing && current.isValid())
                    m_controller.setHighlight(current.row());
            });

    setShownFormat(ListFormat::parse(designedFormat));
    syncPage();
}

PageList::~PageList() = default;

const ListFormat &PageList::format() const
{
    return m_model->format();
}

int PageList::unitsToPixels(int units) const
{
    // A horizontal window unit is a quarter of the font's average character width.
    return qRound(units * fontMetrics().averageCharWidth() / 4.0);
}

int PageList::pixelsToUnits(int pixels) const
{
    return qRound(pixels * 4.0 / qMax(1, fontMetrics().averageCharWidth()));
}

QSize PageList::sizeHint() const
{
    // Every column at its width and a dozen rows: a window opens showing its
    // whole list where the screen allows (the window system caps it).
    constexpr int kRows = 12;
    const QHeaderView *header = m_view->horizontalHeader();
    int width = 0;
    for (int i = 0; i < header->count(); ++i)
        if (!header->isSectionHidden(i))
            width += header->sectionSize(i);
    const int frame = 2 * m_view->frameWidth();
    const int bar = m_scrollBar->sizeHint().width();
    return {width + frame + bar,
            header->sizeHint().height() + kRows * rowHeight() + m_view->horizontalScrollBar()->sizeHint().height() + frame};
}

int PageList::rowHeight() const
{
    return fontMetrics().height() + 4;
}

int PageList::shownPixels(const ListColumn &column, const ListFormat &designed) const
{
    const int px = unitsToPixels(column.width);
    // Window units were measured in a narrower font than ours: a column the
    // user has not resized opens wide enough for its header and, for numbers,
    // dates and times, for the widest value its picture shows, so none is cut.
    // A width the user chose stays.
    for (const ListColumn &d : designed.columns())
        if (d.dataPosition == column.dataPosition && d.width != column.width)
            return px;
    const Picture picture = Picture::cached(column.picture);
    QString widest; // beside the header
    switch (picture.kind()) {
    case Picture::Kind::Date: // two-digit day and month, the longest month name
        widest = picture.format(dayNumber(QDate(2000, 9, 28)));
        break;
    case Picture::Kind::Time:
        widest = picture.format(timeValue(23, 59, 59));
        break;
    case Picture::Kind::Number:
        widest = picture.format(picture.width() > 0 ? qint64(std::pow(10.0, qMin(picture.width(), 12))) - 1 : 0);
        break;
    default:
        break;
    }
    const int indent = column.indent > 0 ? unitsToPixels(column.indent) : 0;
    const int margins = 2 * m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 4;
    const QFontMetrics &metrics = m_view->fontMetrics();
    const int value = metrics.horizontalAdvance(widest.trimmed()) + indent;
    const int header = metrics.horizontalAdvance(column.header);
    return qMax(px, qMax(value, header) + 2 * margins);
}

void PageList::setShownFormat(const ListFormat &format)
{
    QHeaderView *header = m_view->horizontalHeader();
    // Back to the designed order before the columns change under the header.
    for (int logical = 0; logical < header->count(); ++logical)
        header->moveSection(header->visualIndex(logical), logical);
    m_model->setFormat(format);
    m_shownPixels.clear();
    const ListFormat designed = ListFormat::parse(m_designed);
    for (int i = 0; i < format.size(); ++i) {
        const ListColumn &c = format.at(i);
        header->setSectionResizeMode(i, c.isResizable() ? QHeaderView::Interactive
                                                        : QHeaderView::Fixed);
        const int px = shownPixels(c, designed);
        header->resizeSection(i, px);
        m_shownPixels << px;
    }
}

QString PageList::currentFormat() const
{
    const QHeaderView *header = m_view->horizontalHeader();
    const ListFormat &shown = m_model->format();
    ListFormat out = shown;
    out.columns().clear();
    for (int visual = 0; visual < shown.size(); ++visual) {
        const int logical = header->logicalIndex(visual);
        ListColumn c = shown.at(logical);
        const int px = header->sectionSize(logical);
        // A column the user did not resize keeps its width in units exactly.
        if (px != m_shownPixels.value(logical))
            c.width = pixelsToUnits(px);
        out.columns() << c;
    }
    return out.text();
}

bool PageList::applyLayout(const QString &savedFormat)
{
    const ListFormat saved = ListFormat::parse(savedFormat);
    const ListFormat &shown = m_model->format();
    if (!saved.isValid() || saved.size() != shown.size())
        return false;
    // The saved columns must be the shown ones, each once, known by their data.
    QList<int> logicalOf;
    for (const ListColumn &s : saved.columns()) {
        int match = -1;
        for (int i = 0; i < shown.size(); ++i)
            if (shown.at(i).dataPosition == s.dataPosition && !logicalOf.contains(i))
                match = i;
        if (match < 0)
            return false;
        logicalOf << match;
    }
    ListFormat widths = shown;
    for (int v = 0; v < saved.size(); ++v)
        widths.columns()[logicalOf.at(v)].width = saved.at(v).width;
    setShownFormat(widths);
    QHeaderView *header = m_view->horizontalHeader();
    for (int v = 0; v < logicalOf.size(); ++v)
        header->moveSection(header->visualIndex(logicalOf.at(v)), v);
    return true;
}

void PageList::restoreLayout(IniFile &file, const QString &section, const QString &control,
                             const QString &dateFormat)
{
    const QString builtIn = applyDateFormatToListFormat(m_designed, dateFormat);
    setShownFormat(ListFormat::parse(builtIn));
    const QString chosen = restoreListFormat(file, section, control, builtIn);
    if (chosen != builtIn)
        applyLayout(chosen);
}

void PageList::saveLayout(IniFile &file, const QString &section, const QString &control) const
{
    saveListFormat(file, section, control, currentFormat());
}

void PageList::syncPage()
{
    const int column = qMax(0, m_view->currentIndex().column());
    m_model->pageChanged();
    syncHighlight(column);
}

void PageList::syncHighlight(int column)
{
    // A move the list made, not the user's click: shown without being
    // handed back to the list.
    m_syncing = true;
    const int row = m_controller.highlightedRow();
    if (row >= 0 && row < m_model->rowCount()) {
        if (column < 0)
            column = qMax(0, m_view->currentIndex().column());
        const QModelIndex index = m_model->index(row, column);
        if (m_view->currentIndex().row() != row || !m_view->selectionModel()->isRowSelected(row))
            m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
        m_view->scrollTo(index);
    }
    m_syncing = false;
    m_scrollBar->setVisible(m_controller.scrollBarVisible());
    syncThumb();
}

void PageList::syncThumb()
{
    // While the user drags the thumb it stays under the mouse.
    if (!m_scrollBar->isSliderDown())
        m_scrollBar->setValue(m_controller.thumbPosition());
}

void PageList::scrollBarAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        m_controller.scrollRows(1);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        m_controller.scrollRows(-1);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        m_controller.pageDown();
        break;
    case QAbstractSlider::SliderPageStepSub:
        m_controller.pageUp();
        break;
    case QAbstractSlider::SliderToMinimum:
        m_controller.top();
        break;
    case QAbstractSlider::SliderToMaximum:
        m_controller.bottom();
        break;
    case QAbstractSlider::SliderMove:
        m_controller.moveThumb(m_scrollBar->sliderPosition());
        return; // the thumb follows the mouse until it is let go
    default:
        return;
    }
    // The slider applies this position once the action has been handled.
    m_scrollBar->setSliderPosition(m_controller.thumbPosition());
}

void PageList::updatePageSize()
{
    m_controller.setPageSize(qMax(1, m_view->viewport()->height() / rowHeight()));
}

bool PageList::handleKey(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    // The keys move the list as the record and page buttons do.
    static const QHash<int, ListMove> moves{
        {Qt::Key_Up, ListMove::Up},         {Qt::Key_Down, ListMove::Down},
        {Qt::Key_PageUp, ListMove::PageUp}, {Qt::Key_PageDown, ListMove::PageDown},
        {Qt::Key_Home, ListMove::Top},      {Qt::Key_End, ListMove::Bottom},
    };
    if (const auto move = moves.constFind(event->key()); move != moves.constEnd()) {
        applyListMove(m_controller, *move);
        return true;
    }
    if (event->key() == Qt::Key_Backspace) {
        m_controller.backspace();
        return true;
    }
    const QString text = event->text();
    if (ctrl || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) || text.isEmpty())
        return false;
    bool any = false;
    for (QChar c : text) {
        if (c.isPrint()) {
            m_controller.typeCharacter(c);
            any = true;
        }
    }
    return any;
}

bool PageList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent *>(event));
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::Wheel) {
            auto *wheel = static_cast<QWheelEvent *>(event);
            m_wheelRemainder += wheel->angleDelta().y();
            const int steps = m_wheelRemainder / kWheelStep;
            m_wheelRemainder -= steps * kWheelStep;
            if (steps != 0)
                m_controller.scrollRows(-steps * kRowsPerWheelStep);
            return true;
        }
        if (event->type() == QEvent::Resize)
            updatePageSize();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace cx
