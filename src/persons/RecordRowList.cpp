#include "RecordRowList.h"

#include "ColourScheme.h"
#include "Dataset.h"
#include "DatasetBinder.h"

#include <QFocusEvent>
#include <QScrollBar>

RecordRowList::RecordRowList(Dataset *dataset, RowBuilder builder, QWidget *parent)
    : QScrollArea(parent)
    , m_dataset(dataset)
    , m_builder(std::move(builder))
    , m_rows(new QWidget)
{
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setWidget(m_rows);
    QPalette background = viewport()->palette();
    background.setColor(QPalette::Window, ColourScheme.CT_WBack);
    viewport()->setPalette(background);
    viewport()->setAutoFillBackground(true);
    // A scroll bar coming or going changes the rows' width.
    viewport()->installEventFilter(this);
    m_rows->installEventFilter(this);
    connect(dataset, &Dataset::rowsReset, this, &RecordRowList::rebuild);
    connect(dataset, &Dataset::afterClose, this, &RecordRowList::rebuild);
    connect(dataset, &Dataset::currentChanged, this, &RecordRowList::markCurrent);
    rebuild();
}

void RecordRowList::setRowsPerHeight(int pixelsPerRow, int minimumRows)
{
    m_pixelsPerRow = pixelsPerRow;
    m_minimumRows = qMax(1, minimumRows);
    placeRows();
}

int RecordRowList::rowsShown() const
{
    const int rows = m_pixelsPerRow > 0 ? qRound(double(height()) / m_pixelsPerRow) : 1;
    return qMax(m_minimumRows, rows);
}

QWidget *RecordRowList::row(int recNo) const
{
    return recNo >= 1 && recNo <= m_shown ? m_pool[size_t(recNo - 1)].widget : nullptr;
}

void RecordRowList::rebuild()
{
    // A list on a tab in the back is made up when it comes to the front.
    if (!isVisible()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    m_shown = m_dataset->isOpen() ? m_dataset->recordCount() : 0;
    while (int(m_pool.size()) < m_shown) {
        auto *widget = new QWidget(m_rows);
        widget->setAutoFillBackground(true);
        auto *binder = new DatasetBinder(m_dataset, widget);
        binder->setRow(int(m_pool.size()) + 1);
        m_builder(widget, binder);
        watch(widget);
        m_pool.push_back({widget, binder});
    }
    for (int i = 0; i < int(m_pool.size()); ++i) {
        const Row &row = m_pool[size_t(i)];
        if (i < m_shown) {
            row.binder->setRow(i + 1);
            row.widget->show();
        } else {
            row.widget->hide();
        }
    }
    placeRows();
    markCurrent();
}

void RecordRowList::placeRows()
{
    const int height = qMax(1, viewport()->height() / rowsShown());
    const int width = viewport()->width();
    m_rows->resize(width, height * m_shown);
    for (int i = 0; i < m_shown; ++i)
        m_pool[size_t(i)].widget->setGeometry(0, i * height, width, height);
}

void RecordRowList::markCurrent()
{
    if (m_stale)
        return;
    const int current = m_dataset->isOpen() ? m_dataset->recNo() : 0;
    // The current row in a light shade of the selection's colour.
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor back = ColourScheme.CT_WBack;
    const QColor marked((highlight.red() + 3 * back.red()) / 4, (highlight.green() + 3 * back.green()) / 4,
                        (highlight.blue() + 3 * back.blue()) / 4);
    for (int i = 0; i < m_shown; ++i) {
        QWidget *widget = m_pool[size_t(i)].widget;
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, i + 1 == current ? marked : back);
        widget->setPalette(palette);
    }
    if (QWidget *shown = row(current))
        ensureWidgetVisible(shown, 0, 0);
}

void RecordRowList::watch(QWidget *widget)
{
    widget->installEventFilter(this);
    for (QWidget *control : widget->findChildren<QWidget *>())
        control->installEventFilter(this);
}

int RecordRowList::recNoOf(QObject *object) const
{
    for (int i = 0; i < m_shown; ++i) {
        QWidget *widget = m_pool[size_t(i)].widget;
        if (object == widget || widget->isAncestorOf(qobject_cast<QWidget *>(object)))
            return i + 1;
    }
    return 0;
}

bool RecordRowList::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == viewport())
            placeRows();
        break;
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Q_EMIT entered();
        if (const int recNo = recNoOf(watched); recNo > 0 && recNo != m_dataset->recNo())
            m_dataset->moveTo(recNo);
        break;
    }
    case QEvent::MouseButtonPress:
        if (const int recNo = recNoOf(watched); recNo > 0 && recNo != m_dataset->recNo())
            m_dataset->moveTo(recNo);
        break;
    case QEvent::MouseButtonDblClick:
        if (const int recNo = recNoOf(watched); recNo > 0 && recNo != m_dataset->recNo())
            m_dataset->moveTo(recNo);
        Q_EMIT doubleClicked();
        return true;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

void RecordRowList::showEvent(QShowEvent *event)
{
    QScrollArea::showEvent(event);
    if (m_stale)
        rebuild();
}

void RecordRowList::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    placeRows();
}
