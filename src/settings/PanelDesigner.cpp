#include "PanelDesigner.h"

#include "ColourScheme.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace PanelDesign {

namespace {

const QString mimeType = QStringLiteral("application/x-veldra-design-source");
const qint64 normalColour = 16744448;
const qint64 markedColour = 16776960;

// The picture of a cell: centred and scaled in proportion to fit.
class CellPicture : public QWidget
{
public:
    explicit CellPicture(QWidget *parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QPixmap pixmap;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (pixmap.isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize size = pixmap.size().scaled(this->size(), Qt::KeepAspectRatio);
        const QRect area(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        painter.drawPixmap(area, pixmap);
    }
};

// An item: the picture at 16 by 16 two pixels from the left, the name after it.
class ItemDelegate : public QStyledItemDelegate
{
public:
    ItemDelegate(const PanelDesigner *designer, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_designer(designer)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 18};
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QString text = index.data().toString();
        const int image = part(text, QLatin1Char(';'), 2).toInt();
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        int left = 2;
        if (image >= 0) {
            painter->drawPixmap(QRect(option.rect.left() + 2, option.rect.top() + (option.rect.height() - 16) / 2, 16, 16),
                                m_designer->picture(image));
            left += 18;
        }
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(left, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          text.section(QLatin1Char(';'), 2));
    }

private:
    const PanelDesigner *m_designer;
};

// The nine pictures: each section's code on a tile of its own colour.
QList<QPixmap> makePictures(const PanelTable &table)
{
    QList<QPixmap> pictures;
    for (const Panel &panel : table.panels()) {
        QPixmap picture(48, 36);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor::fromHsv((panel.imageIndex * 40) % 360, 90, 235));
        painter.setPen(QColor(60, 60, 60));
        painter.drawRoundedRect(picture.rect().adjusted(1, 1, -1, -1), 5, 5);
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(14);
        painter.setFont(font);
        painter.drawText(picture.rect(), Qt::AlignCenter, panel.name);
        pictures << picture;
    }
    return pictures;
}

bool startsDrag(const QMouseEvent *event, const QPoint &pressedAt)
{
    return (event->buttons() & Qt::LeftButton)
        && (event->position().toPoint() - pressedAt).manhattanLength() >= QApplication::startDragDistance();
}

void drag(QWidget *source, int sourceCell)
{
    auto *drag = new QDrag(source);
    drag->setMimeData(PanelDesigner::dragData(sourceCell));
    drag->exec(Qt::MoveAction);
}

} // namespace

PanelDesigner::PanelDesigner(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelDesigner"));
    m_pictures = makePictures(m_table);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("DesignFrame"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(3);
    for (int n = 1; n <= 9; ++n) {
        auto *cell = new DesignerCell(this, n);
        m_cells << cell;
        grid->addWidget(cell, (n - 1) / 3, (n - 1) % 3);
    }
    layout->addWidget(frame, 3);
    m_list = new UnplacedList(this);
    m_list->setItemDelegate(new ItemDelegate(this, m_list));
    layout->addWidget(m_list, 2);
    refresh();
}

QListWidget *PanelDesigner::list() const
{
    return m_list;
}

const QPixmap &PanelDesigner::picture(int imageIndex) const
{
    static const QPixmap none;
    return imageIndex >= 0 && imageIndex < m_pictures.size() ? m_pictures.at(imageIndex) : none;
}

void PanelDesigner::load(const QString &designText)
{
    m_table.load(designText);
    refresh();
}

QMimeData *PanelDesigner::dragData(int sourceCell)
{
    auto *data = new QMimeData;
    data->setData(mimeType, QByteArray::number(sourceCell));
    return data;
}

int PanelDesigner::dragSource(const QMimeData *data)
{
    if (!data || !data->hasFormat(mimeType))
        return -1;
    bool ok = false;
    const int source = data->data(mimeType).toInt(&ok);
    return ok && source >= 0 && source <= 9 ? source : -1;
}

void PanelDesigner::dropOnCell(int target, int source)
{
    const Panel *dropped = nullptr;
    if (source == 0)
        dropped = m_table.byId(m_list->selectedPanel());
    else if (source > 0)
        dropped = m_table.inCell(source);
    if (!dropped)
        return;
    if (source != target)
        m_table.place(dropped->id, target);
    mark(target);
    refresh();
}

void PanelDesigner::dropOnList(int source)
{
    if (source < 1)
        return;
    if (const Panel *panel = m_table.inCell(source)) {
        m_table.takeOut(panel->id);
        refresh();
    }
}

void PanelDesigner::mark(int cell)
{
    if (DesignerCell *previous = this->cell(m_marked))
        previous->setMarked(false);
    m_marked = cell;
    if (DesignerCell *marked = this->cell(cell))
        marked->setMarked(true);
}

void PanelDesigner::refresh()
{
    for (DesignerCell *cell : std::as_const(m_cells))
        cell->clearPicture();
    m_list->clear();
    for (const Panel &panel : m_table.panels()) {
        if (panel.visible && panel.inLocation > 0) {
            if (panel.imageIndex >= 0)
                cell(panel.inLocation)->setPicture(picture(panel.imageIndex));
        } else {
            m_list->addItem(QStringLiteral("%1;%2;%3").arg(panel.id).arg(panel.imageIndex).arg(panel.fullName));
        }
    }
}

DesignerCell::DesignerCell(PanelDesigner *designer, int number)
    : QFrame(designer)
    , m_designer(designer)
    , m_number(number)
{
    setObjectName(QStringLiteral("DesignCell%1").arg(number));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setMinimumSize(40, 30);
    setAutoFillBackground(true);
    setAcceptDrops(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    m_picture = new CellPicture(this);
    m_picture->setObjectName(objectName() + QStringLiteral("Image"));
    layout->addWidget(m_picture);
    m_picture->hide();
    setMarked(false);
}

void DesignerCell::setPicture(const QPixmap &picture)
{
    static_cast<CellPicture *>(m_picture)->pixmap = picture;
    m_picture->show();
    m_picture->update();
}

void DesignerCell::clearPicture()
{
    static_cast<CellPicture *>(m_picture)->pixmap = QPixmap();
    m_picture->hide();
}

void DesignerCell::setMarked(bool marked)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColourFromRef(marked ? markedColour : normalColour));
    setPalette(palette);
}

void DesignerCell::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressedAt = event->position().toPoint();
        m_designer->mark(m_number);
    }
    QFrame::mousePressEvent(event);
}

void DesignerCell::mouseMoveEvent(QMouseEvent *event)
{
    if (startsDrag(event, m_pressedAt))
        drag(this, m_number);
    else
        QFrame::mouseMoveEvent(event);
}

void DesignerCell::dragEnterEvent(QDragEnterEvent *event)
{
    if (PanelDesigner::dragSource(event->mimeData()) >= 0)
        event->acceptProposedAction();
}

void DesignerCell::dragMoveEvent(QDragMoveEvent *event)
{
    if (PanelDesigner::dragSource(event->mimeData()) >= 0)
        event->acceptProposedAction();
}

void DesignerCell::dropEvent(QDropEvent *event)
{
    const int source = PanelDesigner::dragSource(event->mimeData());
    if (source < 0)
        return;
    event->acceptProposedAction();
    m_designer->dropOnCell(m_number, source);
}

UnplacedList::UnplacedList(PanelDesigner *designer)
    : QListWidget(designer)
    , m_designer(designer)
{
    setObjectName(QStringLiteral("PanelList"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAcceptDrops(true);
    setDragEnabled(false);
    setUniformItemSizes(true);
}

int UnplacedList::selectedPanel() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? 0 : part(selected.first()->text(), QLatin1Char(';'), 1).toInt();
}

void UnplacedList::mousePressEvent(QMouseEvent *event)
{
    m_pressedAt = event->position().toPoint();
    QListWidget::mousePressEvent(event);
}

void UnplacedList::mouseMoveEvent(QMouseEvent *event)
{
    // Only a drag starts here: moving with the button held does not select along the way.
    if (startsDrag(event, m_pressedAt) && selectedPanel() > 0)
        drag(this, 0);
}

void UnplacedList::dragEnterEvent(QDragEnterEvent *event)
{
    if (PanelDesigner::dragSource(event->mimeData()) > 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void UnplacedList::dragMoveEvent(QDragMoveEvent *event)
{
    if (PanelDesigner::dragSource(event->mimeData()) > 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void UnplacedList::dropEvent(QDropEvent *event)
{
    const int source = PanelDesigner::dragSource(event->mimeData());
    if (source <= 0) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_designer->dropOnList(source);
}

} // namespace PanelDesign
