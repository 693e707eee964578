#include "lists/listcontroller.h"

#include "platform/storage/sortkey.h"
#include "store/program.h"
#include "store/standardmessage.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>

namespace cx
{

namespace
{

constexpr int kComputed = std::numeric_limits<int>::min();
// A place before every row with given key values: no position is this low.
constexpr qint64 kBeforeEveryRow = std::numeric_limits<qint64>::min();

} // namespace

// One move of the list: says the list is busy, and reads everything the move
// reads in one read transaction, so the page comes from one state of the
// catalogue (another copy's commit lands before or after it, never inside)
// and the engine takes its shared lock once instead of once a row. The
// transaction ends with the move, before any message is shown: nothing is
// held while the user looks at the window. Nested scopes count once.
class ListController::BusyScope
{
public:
    explicit BusyScope(ListController &c) : m_c(c)
    {
        if (m_c.m_busy++ == 0) {
            emit m_c.busyChanged(true);
            m_c.beginRead();
        }
    }
    ~BusyScope()
    {
        if (--m_c.m_busy == 0) {
            m_c.endRead();
            emit m_c.busyChanged(false);
        }
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    ListController &m_c;
};

void ListController::beginRead()
{
    // Inside another's transaction the reads are already in one.
    Database &db = m_program.database();
    if (!db.isConnected() || !sqlite3_get_autocommit(db.handle()))
        return;
    m_reading = db.exec(QStringLiteral("BEGIN DEFERRED")) == StorageCode::NoError;
}

void ListController::endRead()
{
    if (!m_reading)
        return;
    m_reading = false;
    // A read transaction has nothing to keep or lose.
    if (m_program.database().exec(QStringLiteral("COMMIT")) != StorageCode::NoError)
        m_program.database().exec(QStringLiteral("ROLLBACK"));
}

ListController::ListController(Program &program, TableId table, const QList<ListOrder> &orders,
                               const QList<ListField> &fields, QObject *parent)
    : QObject(parent), m_program(program), m_reader(program.table(table)), m_orders(orders),
      m_fields(fields)
{
    Q_ASSERT(!m_orders.isEmpty());
    const TableDecl &decl = m_reader.table().decl();
    for (const ListField &f : m_fields) {
        if (f.compute) {
            m_fieldSlots << kComputed;
        } else if (const int i = decl.fieldIndex(f.name); i >= 0) {
            m_fieldSlots << i;
        } else {
            const int m = decl.memoIndex(f.name);
            Q_ASSERT_X(m >= 0, "ListController",
                       "a row value that is neither a field nor computed");
            m_fieldSlots << -1 - m;
        }
    }
    for (int i = 0; i < m_orders.size(); ++i)
        m_locators << QString();
    setOrder(0);
}

ListController::~ListController() = default;

int ListController::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// ------------------------------------------------------------------ the view

void ListController::setOrder(int order)
{
    m_order = qBound(0, order, int(m_orders.size()) - 1);
    m_reader.setKey(m_orders.at(m_order).key);
    m_keyFields = m_reader.table().decl().keyFields(m_reader.key());
    m_viewFresh = true;
    m_locators[m_order].clear();
    emit locatorChanged(QString());
}

void ListController::setRange(int components, const Record &low, const Record &high)
{
    const Table &t = m_reader.table();
    m_reader.setRange(qMin(components, int(m_keyFields.size())), t.keyValuesOf(low, m_reader.key()),
                      t.keyValuesOf(high, m_reader.key()));
    m_viewFresh = true;
}

void ListController::clearRange()
{
    m_reader.clearRange();
    m_viewFresh = true;
}

void ListController::setCondition(const ViewCondition &condition)
{
    m_reader.setCondition(condition);
    m_viewFresh = true;
}

int ListController::freeComponent() const
{
    return qMin(m_reader.rangeComponents(), int(m_keyFields.size()) - 1);
}

// ------------------------------------------------------------------ reading

ListRow ListController::rowFromBuffer(const ListPlace &place) const
{
    const Record &r = m_reader.table().buffer();
    ListRow row;
    row.place = place;
    row.keyFields.reserve(m_keyFields.size());
    for (int f : m_keyFields)
        row.keyFields << r.value(f);
    row.values.reserve(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i) {
        const int slot = m_fieldSlots.at(i);
        if (slot == kComputed)
            row.values << m_fields.at(i).compute(r);
        else if (slot >= 0)
            row.values << r.value(slot);
        else
            row.values << r.memo(-1 - slot);
    }
    return row;
}

ListController::Read ListController::fail(bool viewMayBeAtFault)
{
    // The message names the failed read's error, whatever ending the read
    // transaction leaves behind.
    m_program.savedError = m_program.database().error();
    endRead();
    const QString label = m_reader.table().label();
    if (viewMayBeAtFault && m_viewFresh && m_reader.isLimited()) {
        // The range or the condition made a view the engine cannot read: the
        // list goes on without them, as the message says.
        standardMessage(m_program, MessageId::ViewOpenError, label);
        m_reader.clearRange();
        m_reader.setCondition({});
        return Read::ViewFailed;
    }
    standardMessage(m_program, MessageId::RecordRetrievalError, label);
    m_failed = true;
    emit closeRequested();
    return Read::Failed;
}

ListController::Read ListController::readRows(const ListPlace *from, bool forward, int count,
                                              QList<ListRow> &out, bool &reachedEnd)
{
    reachedEnd = false;
    if (count <= 0)
        return Read::Ok;
    Table &t = m_reader.table();
    const bool several = count > 1;
    if (several)
        t.sendCommand(QStringLiteral("QUICKSCAN=on"));
    ListPlace place;
    const ListPlace *next = from;
    Read result = Read::Ok;
    for (int i = 0; i < count; ++i) {
        const StorageCode code = m_reader.step(next, forward, place);
        if (code == StorageCode::RecordNotAvailable) {
            m_viewFresh = false;
            reachedEnd = true;
            break;
        }
        if (code != StorageCode::NoError) {
            result = fail();
            break;
        }
        m_viewFresh = false;
        out << rowFromBuffer(place);
        next = &out.last().place;
    }
    if (several)
        t.sendCommand(QStringLiteral("QUICKSCAN=off"));
    return result;
}

ListController::Read ListController::probe(const ListPlace &from, bool forward, bool &reachedEnd)
{
    ListPlace place;
    const StorageCode code = m_reader.step(&from, forward, place);
    reachedEnd = code == StorageCode::RecordNotAvailable;
    if (code != StorageCode::NoError && !reachedEnd)
        return fail();
    return Read::Ok;
}

ListController::Read ListController::loadFromStart()
{
    QList<ListRow> rows;
    bool end = false;
    if (const Read r = readRows(nullptr, true, m_pageSize, rows, end); r != Read::Ok)
        return r;
    m_rows = rows;
    m_rowsChanged = true;
    m_highlight = m_rows.isEmpty() ? -1 : 0;
    m_atStart = true;
    m_atEnd = end ? std::optional<bool>(true) : std::nullopt;
    return Read::Ok;
}

ListController::Read ListController::loadFromEnd()
{
    QList<ListRow> rows;
    bool start = false;
    if (const Read r = readRows(nullptr, false, m_pageSize, rows, start); r != Read::Ok)
        return r;
    std::reverse(rows.begin(), rows.end());
    m_rows = rows;
    m_rowsChanged = true;
    m_highlight = int(m_rows.size()) - 1;
    m_atEnd = true;
    m_atStart = start ? std::optional<bool>(true) : std::nullopt;
    return Read::Ok;
}

ListController::Read ListController::loadAround(const ListPlace &place, int preferredRow)
{
    // Rows at or after the place fill the page from the preferred row down;
    // rows before it fill the rest, and more rows after it when the start of
    // the view is reached first.
    const int before = qBound(0, preferredRow, m_pageSize - 1);
    ListPlace atOrAfter = place;
    if (atOrAfter.position != kBeforeEveryRow)
        atOrAfter.position -= 1;
    QList<ListRow> after;
    bool end = false;
    if (const Read r = readRows(&atOrAfter, true, m_pageSize - before, after, end); r != Read::Ok)
        return r;
    QList<ListRow> earlier;
    bool start = false;
    if (const Read r = readRows(&place, false, m_pageSize - int(after.size()), earlier, start);
        r != Read::Ok)
        return r;
    std::reverse(earlier.begin(), earlier.end());
    QList<ListRow> rows = earlier + after;
    if (rows.size() < m_pageSize && !end && !after.isEmpty()) {
        QList<ListRow> more;
        if (const Read r =
                readRows(&rows.last().place, true, m_pageSize - int(rows.size()), more, end);
            r != Read::Ok)
            return r;
        rows += more;
    }
    m_rows = rows;
    m_rowsChanged = true;
    m_highlight = after.isEmpty() ? int(m_rows.size()) - 1 : int(earlier.size());
    m_atStart = start ? std::optional<bool>(true) : std::nullopt;
    m_atEnd = end ? std::optional<bool>(true) : std::nullopt;
    return Read::Ok;
}

ListController::Read ListController::rebuildThumb()
{
    m_thumb.clear();
    const ListOrder &o = m_orders.at(m_order);
    if (o.thumb != ThumbKind::Sampled)
        return Read::Ok;
    const int field = m_keyFields.at(freeComponent());
    const bool text = m_reader.table().decl().fields.at(field).isString();
    QVariant first, last;
    for (const bool forward : {true, false}) {
        ListPlace place;
        const StorageCode code = m_reader.step(nullptr, forward, place);
        if (code == StorageCode::RecordNotAvailable)
            return Read::Ok; // an empty view has no thumb
        if (code != StorageCode::NoError)
            return fail();
        m_viewFresh = false;
        (forward ? first : last) = m_reader.table().buffer().value(field);
    }
    if (text)
        m_thumb.sampleTexts(first.toString(), last.toString(), o.alphabet);
    else
        m_thumb.sampleNumbers(first.toLongLong(), last.toLongLong());
    return Read::Ok;
}

bool ListController::reload(const std::function<Read()> &load)
{
    if (m_failed)
        return false;
    BusyScope busy(*this);
    for (int attempt = 0; attempt < 2; ++attempt) {
        Read r = load();
        if (r == Read::Ok)
            r = rebuildThumb();
        if (r == Read::Failed)
            return false;
        if (r == Read::Ok) {
            m_loaded = true;
            m_pageKey = m_reader.key();
            settle();
            return true;
        }
        beginRead(); // the message ended the read transaction; the retry reads in a new one
    }
    return false;
}

void ListController::settle()
{
    // Whether rows lie beyond the page: known from the reads that made it,
    // else asked with one read at that end.
    if (m_rows.isEmpty()) {
        m_atStart = m_atEnd = true;
    } else {
        for (const bool forward : {false, true}) {
            std::optional<bool> &known = forward ? m_atEnd : m_atStart;
            if (known)
                continue;
            bool reached = false;
            if (probe(forward ? m_rows.last().place : m_rows.first().place, forward, reached) !=
                Read::Ok)
                return;
            known = reached;
        }
    }
    const bool visible = !(*m_atStart && *m_atEnd);
    int position = 1;
    const ListOrder &o = m_orders.at(m_order);
    if (const ListRow *row = highlighted()) {
        if (o.thumb == ThumbKind::Sampled)
            position = m_thumb.positionOf(row->place.keyValues.value(freeComponent()));
        else
            position = *m_atStart ? 1
                       : *m_atEnd ? ThumbSampler::kPositions
                                  : ThumbSampler::kPositions / 2;
    }
    if (m_rowsChanged) {
        m_rowsChanged = false;
        emit pageChanged();
    }
    emit highlightChanged(m_highlight);
    if (visible != m_scrollBarVisible) {
        m_scrollBarVisible = visible;
        emit scrollBarVisibilityChanged(visible);
    }
    if (position != m_thumbPosition) {
        m_thumbPosition = position;
        emit thumbChanged(position);
    }
}

// ------------------------------------------------------------------ loading

bool ListController::reloadTop()
{
    return reload([this] { return loadFromStart(); });
}

bool ListController::reloadBottom()
{
    return reload([this] { return loadFromEnd(); });
}

bool ListController::reloadAt(qint64 position, int row)
{
    if (m_failed)
        return false;
    const int preferred = row >= 0 ? row : qMax(0, m_highlight);
    Table &t = m_reader.table();
    ListPlace place;
    const StorageCode code = t.reget(position);
    if (code == StorageCode::NoError) {
        place = {t.keyValues(m_reader.key()), position};
    } else if (code == StorageCode::RecordNotFound) {
        // Gone meanwhile: its old place in this order, if this page had it.
        const auto it = std::find_if(m_rows.cbegin(), m_rows.cend(), [position](const ListRow &r) {
            return r.place.position == position;
        });
        if (it == m_rows.cend() || m_pageKey != m_reader.key())
            return reloadTop();
        place = it->place;
    } else {
        fail(false);
        return false;
    }
    return reload([this, place, preferred] { return loadAround(place, preferred); });
}

bool ListController::refresh()
{
    if (const ListRow *row = highlighted())
        return reloadAt(row->place.position, m_highlight);
    return reloadTop();
}

void ListController::setPageSize(int rows)
{
    rows = qMax(1, rows);
    if (rows == m_pageSize)
        return;
    m_pageSize = rows;
    if (!m_loaded || m_failed)
        return;
    BusyScope busy(*this);
    m_rowsChanged = true;
    if (m_rows.size() > m_pageSize) {
        // Cut from the bottom, but never the highlighted row.
        const int fromTop = qMax(0, m_highlight - m_pageSize + 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + fromTop);
        m_highlight -= fromTop;
        if (fromTop > 0)
            m_atStart = false;
        if (m_rows.size() > m_pageSize) {
            m_rows.resize(m_pageSize);
            m_atEnd = false;
        }
    } else if (!m_rows.isEmpty()) {
        bool end = false;
        QList<ListRow> more;
        if (readRows(&m_rows.last().place, true, m_pageSize - int(m_rows.size()), more, end) !=
            Read::Ok)
            return;
        m_rows += more;
        m_atEnd = end ? std::optional<bool>(true) : std::nullopt;
        if (m_rows.size() < m_pageSize) {
            bool start = false;
            QList<ListRow> earlier;
            if (readRows(&m_rows.first().place, false, m_pageSize - int(m_rows.size()), earlier,
                         start) != Read::Ok)
                return;
            std::reverse(earlier.begin(), earlier.end());
            m_rows = earlier + m_rows;
            m_highlight += int(earlier.size());
            m_atStart = start ? std::optional<bool>(true) : std::nullopt;
        }
    } else {
        reloadTop();
        return;
    }
    settle();
}

// ------------------------------------------------------------------ moving

void ListController::clearLocator()
{
    if (m_locators.at(m_order).isEmpty())
        return;
    m_locators[m_order].clear();
    emit locatorChanged(QString());
}

int ListController::shift(int delta)
{
    // Reads up to |delta| rows past one end of the page and lets as many fall
    // off the other end. Returns how many rows fell off the top (reading down)
    // or came in at the top (reading up); -1 after a failure.
    if (m_rows.isEmpty() || delta == 0)
        return 0;
    const bool forward = delta > 0;
    QList<ListRow> got;
    bool end = false;
    if (readRows(forward ? &m_rows.last().place : &m_rows.first().place, forward,
                 qMin(qAbs(delta), m_pageSize), got, end) != Read::Ok)
        return -1;
    if (forward) {
        m_rows += got;
        const int drop = qMax(0, int(m_rows.size()) - m_pageSize);
        m_rows.erase(m_rows.begin(), m_rows.begin() + drop);
        m_highlight = qMax(0, m_highlight - drop);
        if (drop > 0)
            m_atStart = false;
        m_atEnd = end ? std::optional<bool>(true) : std::nullopt;
        return drop;
    }
    std::reverse(got.begin(), got.end());
    m_rows = got + m_rows;
    if (m_rows.size() > m_pageSize) {
        m_rows.resize(m_pageSize);
        m_atEnd = false;
    }
    m_highlight = qMin(m_highlight + int(got.size()), int(m_rows.size()) - 1);
    m_atStart = end ? std::optional<bool>(true) : std::nullopt;
    return int(got.size());
}

void ListController::scrollRows(int delta)
{
    clearLocator();
    if (m_failed || m_rows.isEmpty())
        return;
    BusyScope busy(*this);
    if (shift(delta) >= 0)
        settle();
}

void ListController::lineDown()
{
    clearLocator();
    if (m_failed || m_rows.isEmpty())
        return;
    if (m_highlight == m_rows.size() - 1) {
        BusyScope busy(*this);
        if (shift(1) < 0)
            return;
        m_highlight = int(m_rows.size()) - 1;
        settle();
        return;
    }
    ++m_highlight;
    settle();
}

void ListController::lineUp()
{
    clearLocator();
    if (m_failed || m_rows.isEmpty())
        return;
    if (m_highlight == 0) {
        BusyScope busy(*this);
        if (shift(-1) < 0)
            return;
        m_highlight = 0;
        settle();
        return;
    }
    --m_highlight;
    settle();
}

void ListController::pageDown()
{
    clearLocator();
    if (m_failed || m_rows.isEmpty())
        return;
    // The highlight moves a page of records down: it keeps its row when a
    // whole page follows, and goes to the last row when less does.
    BusyScope busy(*this);
    const int highlight = m_highlight;
    const int dropped = shift(m_pageSize);
    if (dropped < 0)
        return;
    m_highlight = qMin(int(m_rows.size()) - 1, highlight - dropped + m_pageSize);
    settle();
}

void ListController::pageUp()
{
    clearLocator();
    if (m_failed || m_rows.isEmpty())
        return;
    BusyScope busy(*this);
    const int highlight = m_highlight;
    const int added = shift(-m_pageSize);
    if (added < 0)
        return;
    m_highlight = qMax(0, highlight + added - m_pageSize);
    settle();
}

void ListController::top()
{
    clearLocator();
    reloadTop();
}

void ListController::bottom()
{
    clearLocator();
    reloadBottom();
}

void ListController::setHighlight(int row)
{
    if (m_failed || row < 0 || row >= m_rows.size() || row == m_highlight)
        return;
    m_highlight = row;
    settle();
}

void ListController::moveThumb(int position)
{
    clearLocator();
    if (m_failed)
        return;
    if (position <= 1) {
        reloadTop();
    } else if (position >= ThumbSampler::kPositions) {
        reloadBottom();
    } else if (!m_thumb.isEmpty()) {
        positionAt(m_thumb.value(position));
    } else {
        settle(); // an approximate thumb goes back to where the rows put it
    }
}

// ------------------------------------------------------------------ locator

QVariant ListController::freeKeyValue(const QVariant &value) const
{
    const FieldDecl &f = m_reader.table().decl().fields.at(m_keyFields.at(freeComponent()));
    if (f.isString())
        return collationKey(Record::clip(value.toString(), f.size));
    return value.toLongLong();
}

QVariantList ListController::placeValues(const QVariant &freeValue) const
{
    // The range's own values, then the free component, then the lowest value
    // of every later component: the place before the first row at or after
    // the free value.
    const TableDecl &decl = m_reader.table().decl();
    const int free = freeComponent();
    QVariantList values = m_reader.rangeLow().mid(0, free);
    values << freeKeyValue(freeValue);
    for (int i = free + 1; i < m_keyFields.size(); ++i) {
        const FieldDecl &f = decl.fields.at(m_keyFields.at(i));
        values << (f.isString() ? QVariant(collationKey(QString())) : QVariant(f.lowest()));
    }
    return values;
}

void ListController::positionAt(const QVariant &freeValue)
{
    const ListPlace place{placeValues(freeValue), kBeforeEveryRow};
    reload([this, place] { return loadAround(place, 0); });
}

qint64 ListController::locatorNumber(const QString &text)
{
    // The leading whole number of the text; 0 when it has none.
    const QString t = text.trimmed();
    qsizetype end = (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) ? 1 : 0;
    while (end < t.size() && t.at(end).isDigit() && t.at(end).unicode() < 128 && end < 18)
        ++end;
    bool ok = false;
    const qint64 n = t.left(end).toLongLong(&ok);
    return ok ? n : 0;
}

QString ListController::freeText(const ListRow &row) const
{
    return row.keyFields.value(freeComponent()).toString();
}

bool ListController::startsWith(const ListRow &row, QChar c) const
{
    return freeText(row).startsWith(c, Qt::CaseInsensitive);
}

void ListController::typeCharacter(QChar c)
{
    if (m_failed || !c.isPrint())
        return;
    const ListOrder &o = m_orders.at(m_order);
    const FieldDecl &f = m_reader.table().decl().fields.at(m_keyFields.at(freeComponent()));
    if (o.locator == LocatorKind::FirstCharacter) {
        BusyScope busy(*this);
        const QVariant target =
            f.isString() ? QVariant(QString(c)) : QVariant(locatorNumber(QString(c)));
        if (const ListRow *row = highlighted(); row && startsWith(*row, c)) {
            if (m_highlight == m_rows.size() - 1) {
                if (shift(1) < 0)
                    return;
                m_highlight = int(m_rows.size()) - 1;
            } else {
                ++m_highlight;
            }
            if (startsWith(m_rows.at(m_highlight), c)) {
                settle();
                return;
            }
        }
        positionAt(target);
        return;
    }
    QString &text = m_locators[m_order];
    if (text.size() >= m_locatorLength)
        return;
    text += c;
    emit locatorChanged(text);
    positionAt(f.isString() ? QVariant(text) : QVariant(locatorNumber(text)));
}

void ListController::backspace()
{
    if (m_failed || m_orders.at(m_order).locator != LocatorKind::Text)
        return;
    QString &text = m_locators[m_order];
    if (text.isEmpty())
        return;
    text.chop(1);
    emit locatorChanged(text);
    const FieldDecl &f = m_reader.table().decl().fields.at(m_keyFields.at(freeComponent()));
    positionAt(f.isString() ? QVariant(text) : QVariant(locatorNumber(text)));
}

// ------------------------------------------------------------------ state

const ListRow *ListController::highlighted() const
{
    return m_highlight >= 0 && m_highlight < m_rows.size() ? &m_rows.at(m_highlight) : nullptr;
}

QVariant ListController::value(int row, const QString &field) const
{
    const int i = fieldIndex(field);
    if (row < 0 || row >= m_rows.size() || i < 0)
        return {};
    return m_rows.at(row).values.at(i);
}

StorageCode ListController::rereadHighlighted(bool watch)
{
    const ListRow *row = highlighted();
    if (!row)
        return StorageCode::RecordNotAvailable;
    Table &t = m_reader.table();
    if (watch)
        t.watch();
    return t.reget(row->place.position);
}

} // namespace cx
