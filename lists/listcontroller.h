#pragma once
// The page-loaded list every list window shows: one page of rows read from one
// table in one of the orders the window offers, within an optional range and
// under an optional condition; the highlight; moving by line, page, to the top
// and bottom, and by wheel or scroll bar; the locator; the 100-position scroll
// thumb. Widget-free: a list widget draws rows() and forwards keys, wheel and
// scroll bar here, and tests drive it headless.
//
// Nothing here counts or walks the table: the page is filled by keyset reads
// next to its first or last row, a reload starts from an end or from a row's
// key values, and the thumb is built from the first and the last row of the
// view. Opening, paging and locating cost the same for 10 or 1,000,000 rows.
//
// A window configures it with its table, its orders (key, locator kind, thumb
// kind and alphabet), the values each row carries (fields of the table or
// values computed from the record, such as a looked-up name), and at run time
// the range and the condition of the current order.
#include "lists/pagereader.h"
#include "lists/thumbsampler.h"
#include "store/tables.h"

#include <QObject>

#include <functional>
#include <optional>

namespace cx
{

class Program;

enum class LocatorKind {
    // Typed text collects (up to the locator length); each change positions
    // the list at the first row whose first free component is at or after it.
    Text,
    // A typed character moves to the next row whose first free component
    // starts with it, else to the first row at or after the character.
    FirstCharacter,
};

enum class ThumbKind {
    Sampled,     // 100 samples of the first free component
    Approximate, // top at the start of the order, bottom at its end, else the middle
};

struct ListOrder {
    int key = 0; // index into the table declaration's keys
    LocatorKind locator = LocatorKind::Text;
    ThumbKind thumb = ThumbKind::Sampled;
    QString alphabet = ThumbSampler::letters(); // for a text component under a sampled thumb
};

// One value each row carries: a field or memo of the table by name
// ("MUS:Artist"), or a value computed from the record read.
struct ListField {
    QString name;
    std::function<QVariant(const Record &)> compute;
};

struct ListRow {
    ListPlace place;
    QVariantList keyFields; // the key components' values as the record holds them
    QVariantList values;    // one per ListField
};

class ListController : public QObject
{
    Q_OBJECT
public:
    ListController(Program &program, TableId table, const QList<ListOrder> &orders,
                   const QList<ListField> &fields, QObject *parent = nullptr);
    ~ListController() override;

    Table &table() const { return m_reader.table(); }
    const QList<ListOrder> &orders() const { return m_orders; }
    const QList<ListField> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const; // -1 if the rows do not carry it
    void setLocatorLength(int characters) { m_locatorLength = characters; }
    int locatorLength() const { return m_locatorLength; }

    // --- the view. None of these reads: a reload follows.
    // A new order has no range and a blank locator.
    void setOrder(int order);
    int order() const { return m_order; }
    int key() const { return m_reader.key(); }
    // Rows whose first `components` key components lie between those of low
    // and high (low == high: equal to one value). The component after the
    // range is the one the locator and the thumb act on.
    void setRange(int components, const Record &low, const Record &high);
    void clearRange();
    void setCondition(const ViewCondition &condition);
    const ViewCondition &condition() const { return m_reader.condition(); }
    // The key component the locator and the thumb act on.
    int freeComponent() const;

    // The number of rows the list shows. A loaded page is filled or cut to it.
    void setPageSize(int rows);
    int pageSize() const { return m_pageSize; }

    // --- loading. False after a failure (its message has been shown).
    bool reloadTop();
    bool reloadBottom();
    // The page reloaded at a record's place in the current order, the record
    // highlighted on page row `row` (-1: the row now highlighted) when the
    // rows allow. A record no longer in the view leaves the highlight on the
    // first row at or after its place; one that is gone (deleted meanwhile)
    // is placed by the key values it had on this page.
    bool reloadAt(qint64 position, int row = -1);
    // The page reloaded around the highlighted record (after a form, a
    // change of condition, or another copy's changes).
    bool refresh();

    // --- moving; each of these clears the locator
    void lineUp();
    void lineDown();
    void pageUp();
    void pageDown();
    void top();
    void bottom();
    // The page scrolled by rows (wheel, scroll bar arrows); the highlight
    // stays on its record while the record is on the page.
    void scrollRows(int delta);
    void moveThumb(int position);
    // A row chosen with the mouse.
    void setHighlight(int row);

    // --- locator
    void typeCharacter(QChar c);
    void backspace();
    QString locatorText() const { return m_locators.value(m_order); }

    // --- state
    const QList<ListRow> &rows() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int highlightedRow() const { return m_highlight; }
    const ListRow *highlighted() const;
    QVariant value(int row, const QString &field) const;
    // Re-reads the highlighted record into the table's buffer (watched for
    // changes by another copy when asked), as a form needs it.
    StorageCode rereadHighlighted(bool watch = false);
    int thumbPosition() const { return m_thumbPosition; }
    const ThumbSampler &thumb() const { return m_thumb; }
    // Off while every row of the view is on the page.
    bool scrollBarVisible() const { return m_scrollBarVisible; }
    bool failed() const { return m_failed; }

signals:
    // The rows of the page were read again (any of them may differ).
    void pageChanged();
    // After every move, with or without new rows.
    void highlightChanged(int row);
    void thumbChanged(int position);
    void scrollBarVisibilityChanged(bool visible);
    void locatorChanged(const QString &text);
    void busyChanged(bool busy);
    // A read failed and its message was shown: the window closes.
    void closeRequested();

private:
    enum class Read { Ok, ViewFailed, Failed };
    class BusyScope;

    Read readRows(const ListPlace *from, bool forward, int count, QList<ListRow> &out,
                  bool &reachedEnd);
    Read probe(const ListPlace &from, bool forward, bool &reachedEnd);
    // Shows the failure's message. A view just set with a range or a
    // condition gives ViewOpenError and goes on without them; anything else
    // is RecordRetrievalError and the window closes.
    Read fail(bool viewMayBeAtFault = true);
    void beginRead();
    void endRead();
    int shift(int delta);
    ListRow rowFromBuffer(const ListPlace &place) const;

    Read loadFromStart();
    Read loadFromEnd();
    Read loadAround(const ListPlace &place, int preferredRow);
    Read rebuildThumb();
    // Runs a load; after a view that could not be opened (its message shown
    // and its limits dropped) runs it once more.
    bool reload(const std::function<Read()> &load);
    void settle();
    void clearLocator();
    void positionAt(const QVariant &freeValue);
    QVariantList placeValues(const QVariant &freeValue) const;
    QVariant freeKeyValue(
        const QVariant &value) const; // sort key or number of a value of the free component
    QString freeText(const ListRow &row) const;
    bool startsWith(const ListRow &row, QChar c) const;
    static qint64 locatorNumber(const QString &text);

    Program &m_program;
    PageReader m_reader;
    QList<ListOrder> m_orders;
    QList<ListField> m_fields;
    QList<int> m_fieldSlots; // per field: field index, or -1 - memo index, or kComputed
    QList<int> m_keyFields;  // the current key's component field indexes
    int m_order = 0;
    int m_pageSize = 20;
    int m_locatorLength = 30;
    QStringList m_locators;

    QList<ListRow> m_rows;
    int m_highlight = -1;
    int m_pageKey = -1; // the key the page was read in: its places are only good for that key
    bool m_loaded = false;
    bool m_rowsChanged = false;             // since the last pageChanged
    std::optional<bool> m_atStart, m_atEnd; // unknown until read
    bool m_viewFresh = true;                // no read yet since the view was set
    bool m_failed = false;
    int m_busy = 0;
    bool m_reading = false; // a read transaction of ours is open

    ThumbSampler m_thumb;
    int m_thumbPosition = 1;
    bool m_scrollBarVisible = false;
};

} // namespace cx
