#include "CodeListWindow.h"

#include "ColourScheme.h"
#include "Dataset.h"
#include "DatasetBinder.h"
#include "FlatButton.h"
#include "FrameActivation.h"
#include "Settings.h"
#include "UDataMod.h"
#include "WindowPlacement.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

void paint(QWidget *widget, const QColor &colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

}

CodeListWindow::CodeListWindow(const Definition &definition, QWidget *parent)
    : QWidget(parent)
    , m_definition(definition)
    , m_keyPath(QStringLiteral("Software\\Veldra\\") + QString::fromLatin1(definition.windowName))
{
    setObjectName(QString::fromLatin1(definition.windowName));
    setWindowTitle(definition.title);
    setAttribute(Qt::WA_DeleteOnClose);

    ADOQuery1 = new Dataset(&DataMod->database(), QString(), this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setSqlLines(definition.sqlLines);
    ADOQuery1->setUpdateTable(QString::fromLatin1(definition.table));
    const QString table = QString::fromLatin1(definition.table);
    connect(ADOQuery1, &Dataset::recordChangeComplete, this, [table] { DataMod->MarkTableChanged(table); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *titleStrip = new QWidget(this);
    titleStrip->setObjectName(QStringLiteral("Panel2"));
    titleStrip->setFixedHeight(53);
    paint(titleStrip, ColourScheme.CT_WTitleBack);
    auto *titleLayout = new QHBoxLayout(titleStrip);
    titleLayout->setContentsMargins(6, 6, 6, 6);
    auto *picture = new QLabel(titleStrip);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QIcon(QStringLiteral(":/images/veldra.png")).pixmap(41, 41));
    titleLayout->addWidget(picture);
    auto *title = new QLabel(definition.title, titleStrip);
    title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(22);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: %1;").arg(ColourScheme.CT_WTitleFont.name()));
    titleLayout->addWidget(title, 1);
    layout->addWidget(titleStrip);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setMinimumHeight(100);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 4);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    DBGrid1->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { background: %1; }").arg(ColourScheme.CT_WDetailBack.name()));
    QPalette grid = DBGrid1->palette();
    grid.setColor(QPalette::Base, ColourScheme.CT_WBack);
    DBGrid1->setPalette(grid);
    DBGrid1->viewport()->installEventFilter(this);
    if (definition.resizableLowerPanel) {
        m_splitter = new QSplitter(Qt::Vertical, this);
        m_splitter->setChildrenCollapsible(false);
        m_splitter->addWidget(DBGrid1);
        layout->addWidget(m_splitter, 1);
    } else {
        layout->addWidget(DBGrid1, 1);
    }

    m_lowerPanel = new QWidget(this);
    m_lowerPanel->setObjectName(QStringLiteral("Panel1"));
    paint(m_lowerPanel, ColourScheme.CT_WDetailBack);
    auto *lower = new QHBoxLayout(m_lowerPanel);
    lower->setContentsMargins(6, 6, 6, 6);
    m_editArea = new QWidget(m_lowerPanel);
    m_editArea->setObjectName(QStringLiteral("Panel3"));
    m_editArea->setMinimumWidth(definition.minimumEditWidth);
    m_editGrid = new QGridLayout(m_editArea);
    m_editGrid->setContentsMargins(0, 0, 10, 0);
    m_editGrid->setColumnStretch(1, 1);
    lower->addWidget(m_editArea, 1);
    auto *strip = new QWidget(m_lowerPanel);
    strip->setObjectName(QStringLiteral("Panel4"));
    strip->setFixedWidth(141);
    m_stripButtons = new QVBoxLayout(strip);
    m_stripButtons->setContentsMargins(6, 0, 6, 0);
    m_stripButtons->addStretch();
    auto *remove = addStripButton(tr("Izbriši"), "SpeedButton1", 3162323, 10198015, 8489700);
    auto *add = addStripButton(tr("Dodaj"), "SpeedButton2", 12615680, 16744448, 16758122);
    lower->addWidget(strip);
    if (m_splitter) {
        m_lowerPanel->setMinimumHeight(definition.lowerPanelMinimum);
        m_splitter->addWidget(m_lowerPanel);
        m_splitter->setStretchFactor(0, 1);
        const int stored = ReadRegInt(m_keyPath, QStringLiteral("Panel1.Height"), 0);
        m_heightStored = stored > 0;
        m_splitter->setSizes({300, m_heightStored ? stored : definition.lowerPanelMinimum});
    } else {
        layout->addWidget(m_lowerPanel);
    }
    connect(remove, &FlatButton::clicked, this, &CodeListWindow::SpeedButton1Click);
    connect(add, &FlatButton::clicked, this, &CodeListWindow::SpeedButton2Click);

    m_model = new DatasetModel(ADOQuery1, this);
    QList<DatasetModel::Column> columns = definition.columns;
    // The names are shown bold navy; at first the name title is bold blue, the others bold black.
    for (int i = 0; i < columns.size(); ++i) {
        columns[i].titleBold = true;
        columns[i].titleColour = i == 0 ? QColor(Qt::blue) : QColor(Qt::black);
    }
    columns[0].bold = true;
    columns[0].colour = QColor(Qt::darkBlue);
    ADOQuery1->open();
    m_model->setColumns(columns);
    m_model->attach(DBGrid1);
    for (int i = 1; i < columns.size() && i - 1 < definition.widths.size(); ++i)
        DBGrid1->setColumnWidth(i, definition.widths[i - 1]);
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &CodeListWindow::DBGrid1TitleClick);
    m_binder = new DatasetBinder(ADOQuery1, this);
}

QLineEdit *CodeListWindow::addTextField(const char *name, const QString &label, const char *field, const QString &hint,
                                        int maxLength, bool upperCase)
{
    QLineEdit *edit = textField(name, field, hint, maxLength, upperCase);
    addEditRow(label, edit);
    return edit;
}

QLineEdit *CodeListWindow::textField(const char *name, const char *field, const QString &hint, int maxLength, bool upperCase)
{
    auto *edit = new QLineEdit(m_editArea);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setToolTip(hint);
    edit->setStatusTip(hint);
    m_binder->bind(edit, QString::fromLatin1(field), upperCase ? DatasetBinder::UpperCase : DatasetBinder::NoOption);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

void CodeListWindow::addEditRow(const QString &label, QWidget *field, QWidget *beside)
{
    const int row = m_editGrid->rowCount();
    auto *caption = new QLabel(label, m_editArea);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setBuddy(field);
    m_editGrid->addWidget(caption, row, 0);
    if (!beside) {
        m_editGrid->addWidget(field, row, 1);
        return;
    }
    auto *pair = new QHBoxLayout;
    pair->setContentsMargins(0, 0, 0, 0);
    pair->setSpacing(5);
    pair->addWidget(field, 1);
    pair->addWidget(beside);
    m_editGrid->addLayout(pair, row, 1);
}

void CodeListWindow::addFieldRow(const QString &label, const QList<QWidget *> &fields)
{
    const int row = m_editGrid->rowCount();
    auto *caption = new QLabel(label, m_editArea);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setBuddy(fields.value(0));
    m_editGrid->addWidget(caption, row, 0);
    auto *side = new QHBoxLayout;
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(5);
    for (QWidget *field : fields)
        side->addWidget(field);
    side->addStretch();
    m_editGrid->addLayout(side, row, 1);
}

FlatButton *CodeListWindow::addStripButton(const QString &caption, const char *name, qint64 face, qint64 focused, qint64 down)
{
    auto *button = new FlatButton(caption, m_stripButtons->parentWidget());
    button->setObjectName(QString::fromLatin1(name));
    button->setColours({ColourFromRef(face), ColourFromRef(focused), ColourFromRef(down), QColor(Qt::white), QColor(Qt::white)});
    button->setMinimumWidth(120);
    // Above the stretch that keeps the buttons at the top.
    m_stripButtons->insertWidget(m_stripButtons->count() - 1, button);
    return button;
}

void CodeListWindow::DBGrid1TitleClick(int column)
{
    for (int i = 0; i < m_model->columnCount(); ++i)
        m_model->setTitleStyle(i, i == column, i == column ? QColor(Qt::blue) : QColor(Qt::black));
    QStringList lines = ADOQuery1->sqlLines();
    while (lines.size() < 3)
        lines << QString();
    lines[2] = QStringLiteral("ORDER BY ") + m_model->columns().at(column).field + QLatin1Char(';');
    ADOQuery1->checkBrowseMode();
    ADOQuery1->setSqlLines(lines);
    ADOQuery1->close();
    ADOQuery1->open();
}

void CodeListWindow::SpeedButton1Click()
{
    if (ADOQuery1->isEmpty())
        return;
    ADOQuery1->checkBrowseMode();
    if (DataMod->CanDeleteRecord(QString::fromLatin1(m_definition.table), ADOQuery1))
        ADOQuery1->deleteRecord();
}

void CodeListWindow::SpeedButton2Click()
{
    ADOQuery1->checkBrowseMode();
    const int id = m_definition.add();
    if (id <= 0)
        return;
    ADOQuery1->requery();
    ADOQuery1->locate(QString::fromLatin1(m_definition.key), id);
}

void CodeListWindow::FormDeactivate()
{
    ADOQuery1->checkBrowseMode();
}

void CodeListWindow::Panel3Resize()
{
    DBGrid1->setColumnWidth(0, qMax(50, DBGrid1->viewport()->width() - m_definition.nameMargin));
}

void CodeListWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Until the user chose a height, the lower panel opens with room for all its fields.
    if (!m_shown && m_splitter && !m_heightStored) {
        const int needed = m_lowerPanel->minimumSizeHint().height();
        if (needed > m_lowerPanel->height()) {
            QList<int> sizes = m_splitter->sizes();
            sizes[0] -= needed - sizes[1];
            sizes[1] = needed;
            m_splitter->setSizes(sizes);
        }
    }
    m_shown = true;
    if (m_frame)
        return;
    // Activation comes through the child frame of the main window's workspace.
    m_frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!m_frame)
        return;
    FollowFrameActivation(m_frame, this, [this] { FormActivate(); }, [this] { FormDeactivate(); });
    WindowPlacement::restore(m_frame, m_keyPath, false);
}

bool CodeListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Resize)
        Panel3Resize();
    return QWidget::eventFilter(watched, event);
}

void CodeListWindow::closeEvent(QCloseEvent *event)
{
    FormDeactivate();
    if (m_frame)
        WindowPlacement::save(m_frame, m_keyPath);
    if (m_splitter)
        WriteRegString(m_keyPath, QStringLiteral("Panel1.Height"), QString::number(m_lowerPanel->height()));
    QWidget::closeEvent(event);
}
