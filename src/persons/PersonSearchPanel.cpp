#include "PersonSearchPanel.h"

#include "CategoryFilterPanel.h"
#include "ColourScheme.h"
#include "Dataset.h"
#include "DatasetDelegate.h"
#include "DatasetModel.h"
#include "Database.h"
#include "FileIcon.h"
#include "ModuleHost.h"
#include "PersonDrag.h"
#include "PublicFunctions.h"
#include "Settings.h"
#include "UDataMod.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

Qt::Alignment alignmentOf(int code)
{
    switch (code) {
    case 1: return Qt::AlignHCenter;
    case 2: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

}

PersonSearchPanel::PersonSearchPanel(Dataset *browseList, const bool &windowReady, std::function<bool()> personShown, QWidget *parent)
    : QWidget(parent)
    , QPregled(browseList)
{
    setObjectName(QStringLiteral("Panel1"));
    setMinimumWidth(50);
    for (const char *image : {":/images/veldra.png", ":/images/kraji.png", ":/images/drzave.png", ":/images/kontakti.png",
                              ":/images/veldra.png", ":/images/veldra.png", ":/images/kategorije.png"})
        m_images.append(QIcon(QString::fromLatin1(image)));
    QPregled->setRowFilter([this](const Dataset &, int row) { return m_search.accepts(row); },
                           [this] { return m_search.candidates(); });
    connect(QPregled, &Dataset::rowsRead, this, [this] { m_search.setRows(*QPregled, SearchField); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setChildrenCollapsible(false);
    layout->addWidget(m_splitter);

    Panel30 = new QWidget(m_splitter);
    Panel30->setObjectName(QStringLiteral("Panel30"));
    Panel30->setMinimumHeight(100);
    auto *filterLayout = new QVBoxLayout(Panel30);
    filterLayout->setContentsMargins(4, 4, 4, 0);
    m_filter = new CategoryFilterPanel(windowReady, std::move(personShown), Panel30);
    filterLayout->addWidget(m_filter);
    connect(m_filter, &CategoryFilterPanel::filterChanged, this, &PersonSearchPanel::BuildCategoryFilter);

    auto *Panel3 = new QWidget(m_splitter);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setMinimumHeight(150);
    auto *search = new QVBoxLayout(Panel3);
    search->setContentsMargins(4, 4, 4, 4);
    search->setSpacing(2);
    search->addWidget(new QLabel(tr("Brskaj po:"), Panel3));
    ComboBox1 = new QComboBox(Panel3);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setToolTip(tr("Po katerem polju želite iskati"));
    ComboBox1->setMaxVisibleItems(16);
    search->addWidget(ComboBox1);
    auto *findLabel = new QLabel(tr("&Išči:"), Panel3);
    search->addWidget(findLabel);
    PregledInputText = new QLineEdit(Panel3);
    PregledInputText->setObjectName(QStringLiteral("PregledInputText"));
    PregledInputText->setToolTip(tr("Izberite kriterij za iskanje"));
    findLabel->setBuddy(PregledInputText);
    search->addWidget(PregledInputText);
    DBGrid1 = new QTableView(Panel3);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(tr("Pregled najdenih oseb"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setShowGrid(true);
    DBGrid1->verticalHeader()->hide();
    // Rows of one height: a view of many rows paints only those it shows.
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 4);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setWordWrap(false);
    DBGrid1->setItemDelegate(new DatasetDelegate(DBGrid1));
    DBGrid1->installEventFilter(this);
    PersonDrag::enableFrom(DBGrid1->viewport(), [this] {
        return QPregled->isOpen() && QPregled->recNo() > 0 ? QPregled->value(QStringLiteral("ID")) : QVariant();
    });
    search->addWidget(DBGrid1, 1);
    m_browseModel = new DatasetModel(QPregled, this);
    m_browseModel->attach(DBGrid1);
    colour();

    connect(ComboBox1, &QComboBox::activated, this, &PersonSearchPanel::ComboBox1Change);
    connect(PregledInputText, &QLineEdit::textEdited, this, [this](const QString &text) {
        // The search text is written in capitals.
        const int cursor = PregledInputText->cursorPosition();
        PregledInputText->setText(text.toUpper());
        PregledInputText->setCursorPosition(cursor);
        PregledInputTextChange();
    });
}

void PersonSearchPanel::colour()
{
    setAutoFillBackground(true);
    QPalette own = palette();
    own.setColor(QPalette::Window, ColourScheme.CT_WDetailBack);
    setPalette(own);
    for (QWidget *list : {static_cast<QWidget *>(DBGrid1), static_cast<QWidget *>(ComboBox1)}) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, ColourScheme.CT_WBack);
        list->setPalette(palette);
    }
    DBGrid1->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { background: %1; }")
                                                   .arg(ColourScheme.CT_WDetailBack.name()));
}

void PersonSearchPanel::saveLayout(const QString &key) const
{
    WriteRegString(key, QStringLiteral("Panel30.Height"), QString::number(Panel30->height()));
}

void PersonSearchPanel::restoreLayout(const QString &key)
{
    const int filterHeight = ReadRegInt(key, QStringLiteral("Panel30.Height"), 139);
    m_splitter->setSizes({qMax(100, filterHeight), 600});
}

void PersonSearchPanel::ClearBrowseList()
{
    QPregled->close();
    QPregled->setSql(QString());
    SearchField.clear();
    DBGrid1->hide();
}

void PersonSearchPanel::addSearchItem(const QString &item)
{
    // Items are "caption;search;image;kind": the caption is shown with its picture,
    // a module's heading in italics, a module's searches set in under it.
    bool ok = false;
    const int image = GetToken(item, QStringLiteral(";"), 3).toInt(&ok);
    const int kind = GetToken(item, QStringLiteral(";"), 4).toInt();
    const QIcon icon = ok ? m_images.value(image) : QIcon();
    const QString caption = (kind == 2 ? QStringLiteral("    ") : QString()) + GetToken(item, QStringLiteral(";"), 1);
    ComboBox1->addItem(icon, caption, item);
    if (kind == 1) {
        QFont italic = ComboBox1->font();
        italic.setItalic(true);
        ComboBox1->setItemData(ComboBox1->count() - 1, italic, Qt::FontRole);
        ComboBox1->setItemData(ComboBox1->count() - 1, ColourScheme.CT_WTitleBack, Qt::ForegroundRole);
        ComboBox1->setItemData(ComboBox1->count() - 1, ColourScheme.CT_WTitleFont, Qt::BackgroundRole);
    }
}

int PersonSearchPanel::addSearchImage(const QIcon &icon)
{
    m_images.append(icon);
    return int(m_images.size() - 1);
}

void PersonSearchPanel::AddModuleSearches(QWidget *owner, QWidget *modulePanel)
{
    m_moduleOwner = owner;
    m_modulePanel = modulePanel;
    int n = 0;
    for (const SearchDefinition &definition : std::as_const(RxMemoryDataSearch))
        n = qMax(n, definition.ID + 1);
    const QList<TPluginSpec> &modules = ModuleList();
    for (int index = 0; index < modules.size(); ++index) {
        const TPluginSpec &module = modules[index];
        if (!IsLinkModule(module))
            continue;
        const QString searches = GetToken(module.OtherData, QStringLiteral(";"), 3);
        const int count = GetToken(searches, QStringLiteral("/"), 1).toInt();
        if (count < 1)
            continue;
        const QString progId = GetToken(module.OtherData, QStringLiteral(";"), 1);
        addSearchItem(GetToken(module.OtherData, QStringLiteral(";"), 2) + QStringLiteral(";-1;")
                      + QString::number(addSearchImage(GetFileIcon(module.FileName, 0))) + QStringLiteral(";1"));
        for (int k = 1; k <= count; ++k) {
            const QString entry = GetToken(searches, QStringLiteral("/"), k + 1);
            const QString title = GetToken(entry, QStringLiteral(","), 1);
            const int icon = GetToken(entry, QStringLiteral(","), 2).toInt();
            const int image = icon > 0 ? addSearchImage(GetFileIcon(module.FileName, icon)) : -1;
            addSearchItem(title + QLatin1Char(';') + QString::number(n) + QLatin1Char(';') + QString::number(image)
                          + QStringLiteral(";2"));
            RxMemoryDataSearch.append(ModuleSearch(n, index, title, GetToken(entry, QStringLiteral(","), 3), progId));
            ++n;
        }
    }
}

// The module writes its keywords; they are then tied to the persons linked with them.
bool PersonSearchPanel::fillModuleSearch(const SearchDefinition &definition)
{
    const QList<TPluginSpec> &modules = ModuleList();
    if (definition.FromPluginIndex >= modules.size())
        return false;
    const QString reply = ExecuteModuleCommand(m_moduleOwner, m_modulePanel, modules[definition.FromPluginIndex].Name,
                                               QStringLiteral("FILLSEARCHQUERY;") + definition.FromPluginIntCom);
    if (reply != QLatin1String("OK"))
        return false;
    const QVariant progId = definition.Parameters.value(QStringLiteral("ProgID"));
    DataMod->database().run(
        QStringLiteral("UPDATE TSharingProgsQuery INNER JOIN TSharingProgs ON TSharingProgsQuery.InProgIDOsebe = "
                       "TSharingProgs.InProgIDOsebe SET TSharingProgsQuery.IDOsebe = [TSharingProgs].[IDOsebe]\n"
                       "WHERE (((TSharingProgsQuery.ProgID) Like :ProgID1 ) AND ((TSharingProgs.ProgID) Like :ProgID2 ) "
                       "AND ((TSharingProgsQuery.ProgIDQueryCom) Like :ProgIDQueryCom ));"),
        {{QStringLiteral("ProgID1"), progId}, {QStringLiteral("ProgID2"), progId},
         {QStringLiteral("ProgIDQueryCom"), definition.FromPluginIntCom}});
    DataMod->MarkTableChanged(QStringLiteral("TSharingProgsQuery"));
    return true;
}

void PersonSearchPanel::ComboBox1Change()
{
    ChooseSearch();
}

void PersonSearchPanel::ChooseSearch()
{
    QString item = ComboBox1->currentData().toString();
    // A module heading is no search: its first search is meant.
    if (GetToken(item, QStringLiteral(";"), 4) == QLatin1String("1") && ComboBox1->currentIndex() + 1 < ComboBox1->count()) {
        ComboBox1->setCurrentIndex(ComboBox1->currentIndex() + 1);
        item = ComboBox1->currentData().toString();
    }
    bool ok = false;
    const int number = GetToken(item, QStringLiteral(";"), 2).toInt(&ok);
    QPregled->setFiltered(false);
    const auto definition = std::find_if(RxMemoryDataSearch.cbegin(), RxMemoryDataSearch.cend(),
                                         [number](const SearchDefinition &d) { return d.ID == number; });
    if (!ok || definition == RxMemoryDataSearch.cend()) {
        ClearBrowseList();
        return;
    }
    if (definition->FromPluginIndex >= 0 && !fillModuleSearch(*definition)) {
        ClearBrowseList();
        return;
    }
    DBGrid1->show();
    QPregled->close();
    for (auto it = definition->Parameters.cbegin(); it != definition->Parameters.cend(); ++it)
        QPregled->setParameter(it.key(), it.value());
    // A statement that joins the persons a second time names the listed person's fields.
    const bool qualified = definition->SQL.contains(QLatin1String("TOsnovniPod_1"), Qt::CaseInsensitive);
    QPregled->setSql(WithFilter(definition->SQL, qualified ? m_filter->filterExpression(true) : FilterExpression));
    m_browseModel->setColumns({{definition->Col1_FieldName, definition->Col1_FieldTitle,
                                alignmentOf(definition->Col1_Alignment), definition->Col1_Visible, {}, false, {}},
                               {definition->Col2_FieldName, definition->Col2_FieldTitle,
                                alignmentOf(definition->Col2_Alignment), definition->Col2_Visible, {}, false, {}}});
    DBGrid1->setColumnHidden(0, !definition->Col1_Visible);
    DBGrid1->setColumnHidden(1, !definition->Col2_Visible);
    SearchField = definition->SearchByFieldName;
    PregledInputText->clear();
    m_search.setText(QString());
    {
        const FrozenDisplay frozen{QPregled};
        QPregled->open();
        QPregled->setFiltered(true);
    }
    Panel4Resize();
}

bool PersonSearchPanel::locatePerson(qint64 id)
{
    if (!QPregled->isOpen() || !QPregled->hasField(QStringLiteral("ID")))
        return false;
    if (QPregled->locate(QStringLiteral("ID"), id))
        return true;
    if (PregledInputText->text().isEmpty())
        return false;
    PregledInputText->clear();
    PregledInputTextChange();
    return QPregled->locate(QStringLiteral("ID"), id);
}

void PersonSearchPanel::BuildCategoryFilter()
{
    FilterExpression = m_filter->filterExpression(false);
    ChooseSearch();
}

void PersonSearchPanel::Panel4Resize()
{
    // The first column is 70 wide; the last one shown takes the rest of the list's width.
    if (!DBGrid1->isColumnHidden(1))
        DBGrid1->setColumnWidth(0, 70);
}

void PersonSearchPanel::PregledInputTextChange()
{
    if (!QPregled->isOpen() || !QPregled->isFiltered())
        return;
    QPregled->refilter(m_search.setText(PregledInputText->text()));
}

void PersonSearchPanel::DBGrid1KeyPress(QKeyEvent *event)
{
    QString text = PregledInputText->text();
    if (event->key() == Qt::Key_Backspace)
        text.chop(1);
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    else
        text += event->text().toUpper();
    PregledInputText->setText(text);
    PregledInputTextChange();
}

bool PersonSearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool typing = key->key() == Qt::Key_Backspace || (!key->text().isEmpty() && key->text()[0].isPrint());
        if (typing && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            DBGrid1KeyPress(key);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
