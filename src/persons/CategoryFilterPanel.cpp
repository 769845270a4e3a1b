#include "CategoryFilterPanel.h"

#include "CategoryCheckList.h"
#include "CategoryFilter.h"
#include "ColourScheme.h"
#include "Dataset.h"
#include "PersonDrag.h"
#include "Settings.h"
#include "UDataMod.h"

#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

const QString keyMainWindow = QStringLiteral("Software\\Veldra\\GlavnoOkno");
const QString stateValue = QStringLiteral("KategorijeLastState");

}

CategoryFilterPanel::CategoryFilterPanel(const bool &windowReady, std::function<bool()> personShown, QWidget *parent)
    : QWidget(parent)
    , m_windowReady(windowReady)
    , m_personShown(std::move(personShown))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    Panel18 = new QLabel(tr(" Prikaži samo kategorije "), this);
    Panel18->setObjectName(QStringLiteral("Panel18"));
    Panel18->setAutoFillBackground(true);
    QPalette title = Panel18->palette();
    title.setColor(QPalette::Window, ColourScheme.CT_WTitleBack);
    title.setColor(QPalette::WindowText, ColourScheme.CT_WTitleFont);
    Panel18->setPalette(title);
    Panel18->setMinimumWidth(1);
    layout->addWidget(Panel18);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems({tr("Fizična ali pravna oseba"), tr("Fizična oseba"), tr("Pravna oseba")});
    layout->addWidget(ComboBox2);
    KategorijeCLB = new CategoryCheckList(true, this);
    KategorijeCLB->setObjectName(QStringLiteral("KategorijeCLB"));
    KategorijeCLB->setSelectionMode(QAbstractItemView::ExtendedSelection);
    KategorijeCLB->viewport()->setAcceptDrops(true);
    KategorijeCLB->viewport()->installEventFilter(this);
    KategorijeCLB->installEventFilter(this);
    QPalette list = KategorijeCLB->palette();
    list.setColor(QPalette::Base, ColourScheme.CT_WBack);
    KategorijeCLB->setPalette(list);
    layout->addWidget(KategorijeCLB, 1);

    // The list follows the categories' lookup whenever that is read again.
    connect(DataMod->QKategorijeLookup, &Dataset::rowsReset, this, [this] { KategorijeCLB->FillCategoryList(DataMod->QKategorijeLookup, true); });
    connect(KategorijeCLB, &QListWidget::itemChanged, this, &CategoryFilterPanel::filterChanged);
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, &CategoryFilterPanel::filterChanged);
    KategorijeCLB->FillCategoryList(DataMod->QKategorijeLookup, false);
    Panel18Resize();
}

QString CategoryFilterPanel::filterExpression(bool qualified) const
{
    return BuildCategoryFilter(ComboBox2->currentIndex(), KategorijeCLB->states(), qualified);
}

void CategoryFilterPanel::KategorijeCLBEnter()
{
    DataMod->RefreshIfChanged(QStringLiteral("FVeldra"), DataMod->QKategorijeLookup, QString(), m_windowReady, QStringLiteral("TKategorije"));
}

void CategoryFilterPanel::saveStates() const
{
    WriteRegString(keyMainWindow, stateValue, KategorijeCLB->GetCategoryCheckStates());
}

void CategoryFilterPanel::restoreStates()
{
    KategorijeCLB->SetCategoryCheckStates(ReadRegString(keyMainWindow, stateValue));
}

void CategoryFilterPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Panel18Resize();
}

void CategoryFilterPanel::Panel18Resize()
{
    // The title's size follows the panel's width, from 8 to 12 points.
    QFont font = Panel18->font();
    font.setBold(true);
    font.setPointSize(10);
    const int width = qMax(1, QFontMetrics(font).horizontalAdvance(Panel18->text()));
    const int fitting = qRound(double(Panel18->width()) / width * 10);
    font.setPointSize(qMin(12, fitting < 10 ? 8 : fitting - 2));
    Panel18->setFont(font);
    const bool wider = QFontMetrics(font).horizontalAdvance(Panel18->text()) > Panel18->width();
    Panel18->setAlignment((wider ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
}

void CategoryFilterPanel::KategorijeCLBMouseDown(const QPoint &position)
{
    QListWidgetItem *item = KategorijeCLB->itemAt(position);
    if (!item)
        return;
    // Right: grey for "not in", or back to no condition.
    item->setCheckState(item->checkState() == Qt::PartiallyChecked ? Qt::Unchecked : Qt::PartiallyChecked);
}

bool CategoryFilterPanel::acceptsDrop(const QPoint &position, const QMimeData *data) const
{
    return PersonDrag::carriesPerson(data) && m_personShown() && KategorijeCLB->itemAt(position);
}

void CategoryFilterPanel::KategorijeCLBDragDrop(const QPoint &position)
{
    bool ok = false;
    const int category = CategoryCheckList::itemField(KategorijeCLB->itemAt(position), 1).toInt(&ok);
    if (ok && category > 0)
        Q_EMIT personDropped(category);
}

bool CategoryFilterPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == KategorijeCLB && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            KategorijeCLBEnter();
    }
    if (watched != KategorijeCLB->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() != Qt::RightButton)
            break;
        KategorijeCLBMouseDown(press->position().toPoint());
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (acceptsDrop(drag->position().toPoint(), drag->mimeData()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!acceptsDrop(drop->position().toPoint(), drop->mimeData()))
            return true;
        drop->acceptProposedAction();
        KategorijeCLBDragDrop(drop->position().toPoint());
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
