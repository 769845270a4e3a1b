#include "UFVeldra.h"

#include "ColourScheme.h"
#include "DatabaseError.h"
#include "DatasetBinder.h"
#include "DatasetDelegate.h"
#include "DatasetModel.h"
#include "FlatButton.h"
#include "LookupComboBox.h"
#include "NameComboBox.h"
#include "NameRules.h"
#include "PublicFunctions.h"
#include "SectionPanel.h"
#include "Settings.h"
#include "UDataMod.h"
#include "UFDodajOsebo.h"
#include "TextCollation.h"
#include "TitleLabel.h"
#include "UFMain.h"
#include "WindowPlacement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

TFVeldra *FVeldra = nullptr;

namespace {

const QString keyFVeldra = QStringLiteral("Software\\Veldra\\FVeldra");
const char *const nameFields[] = {"Naziv", "Ime", "SrednjeIme", "Priimek", "FunckijaVPodjetju"};

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

// A value of a place, from the places' lookup, which is read again when the user enters it.
QVariant valueOfPlace(const QVariant &place, const char *field)
{
    const Dataset *places = DataMod->QKrajLookup;
    const int recNo = place.isNull() ? 0 : places->recNoOf(QStringLiteral("IDKRAJ"), place.toLongLong());
    return recNo > 0 ? places->valueAt(recNo, places->fieldIndex(QString::fromLatin1(field))) : QVariant();
}

QLabel *label(const QString &text, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return result;
}

LookupComboBox *lookupBox(const char *name, QWidget *parent)
{
    auto *box = new LookupComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLineEdit *textBox(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

Qt::Alignment alignmentOf(int code)
{
    switch (code) {
    case 1: return Qt::AlignHCenter;
    case 2: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

} // namespace

TFVeldra::TFVeldra(QWidget *parent)
    : QWidget(parent)
    , m_instance(FVeldra, this)
{
    setObjectName(QStringLiteral("FVeldra"));
    setWindowTitle(tr("Osebe"));
    FormCreate();
}

TFVeldra::~TFVeldra()
{
    FormDestroy();
}

void TFVeldra::FormCreate()
{
    // The keys, with the name they are ordered by, so that they can be put in order as read.
    QOsebe = new Dataset(&DataMod->database(), QStringLiteral("SELECT ID, CelotnoIme\nFROM TOsnovniPod\nORDER BY (CelotnoIme);"), this);
    QOsebe->setObjectName(QStringLiteral("QOsebe"));
    // The record area shows one person at a time: each person's row is read when it is shown.
    QOsebe->setRowStatement(QStringLiteral("ID"), QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = :ID"));
    QOsebe->setUpdateTable(QStringLiteral("TOsnovniPod"));
    QOsebe->setTracksChanges(true);
    QOsebe->setLocatedBy(QStringLiteral("ID"));
    QOsebe->addCalculatedField(QStringLiteral("KrajZip"), [](const Dataset &persons, int row) {
        return valueOfPlace(persons.rawValue(row, persons.fieldIndex(QStringLiteral("IDKRAJ"))), "Zip");
    });
    QPregled = new Dataset(&DataMod->database(), QString(), this);
    QPregled->setObjectName(QStringLiteral("QPregled"));
    QPregled->setReadOnly(true);
    QPregled->setTracksChanges(true);
    QPregled->setLocatedBy(QStringLiteral("ID"));
    QPregled->setRowFilter([this](const Dataset &, int row) { return m_search.accepts(row); });
    connect(QPregled, &Dataset::rowsRead, this, [this] { m_search.setRows(*QPregled, SearchField); });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setToolTip(tr("Raztegni (skrij oz. prikaži) okno za iskanje"));
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1);
    createSearchHalf();
    auto *Panel2 = new QWidget(Splitter1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto *right = new QVBoxLayout(Panel2);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    createTitleBar(Panel2);
    createRecordArea(Panel2);
    Splitter1->setStretchFactor(1, 1);
    Panel2->setMinimumWidth(460);

    // 1. The first tab; no minimise box (set by the main window on the child frame).
    PageControl1->setCurrentIndex(0);
    // 2. The sections' places: every section has its tab, the basic data the first one.
    // 3. Colours.
    colourWindow();
    // 4. The picture folders of the contact and alarm icons are set with those lists.
    // 5. The name boxes' lists.
    fillNameLists();
    m_binder = new DatasetBinder(QOsebe, this);
    m_binder->bind(DBCheckBox1, field("Podjetje"), QStringLiteral("True"), QStringLiteral("False"));
    m_binder->bind(findChild<QLineEdit *>(QStringLiteral("DBEdit2")), field("Sifra"));
    for (auto [box, name] : {std::pair{DBComboBox1, "Naziv"}, std::pair{DBComboBox2, "Ime"}, std::pair{DBComboBox3, "SrednjeIme"},
                             std::pair{DBComboBox4, "Priimek"}})
        box->setProperty("field", field(name));
    m_binder->bind(DBComboBox1, field("Naziv"));
    m_binder->bind(DBEdit7, field("CelotnoIme"));
    m_binder->bind(DBComboBox2, field("Ime"));
    m_binder->bind(DBComboBox3, field("SrednjeIme"));
    m_binder->bind(DBComboBox4, field("Priimek"));
    m_binder->bind(DBEdit1, field("CelotnoIme"));
    m_binder->bind(m_birthDate, field("DatumRojstva"));
    m_binder->bind(m_street, field("Naslov"));
    RxDBLookupCombo1->setLookup(DataMod->QKrajLookup, field("IDKRAJ"), {field("Naziv"), field("Zip")}, QStringLiteral(" "));
    RxDBLookupCombo2->setLookup(DataMod->QPokrajineLookup, field("IDPOK"), {field("Naziv"), field("Skrasano")}, QStringLiteral(" "));
    RxDBLookupCombo3->setLookup(DataMod->TDrzave, field("IDDRZAVE"), {field("Naziv"), field("Skrajsano")}, QStringLiteral(" "));
    RxDBLookupCombo4->setLookup(DataMod->QPodjetja, field("ID"), {field("CelotnoIme")}, tr("Ni podatka"));
    m_lookupTables = {{RxDBLookupCombo1, field("TKraj")},
                      {RxDBLookupCombo2, field("TPokrajina")},
                      {RxDBLookupCombo3, field("TDrzave")},
                      {RxDBLookupCombo4, field("TOsnovniPod")}};
    for (const auto &[lookup, table] : m_lookupTables)
        connect(lookup, &LookupComboBox::entered, this, [this, lookup] { RxDBLookupComboEnter(lookup); });
    m_binder->bind(RxDBLookupCombo1, field("IDKRAJ"));
    m_binder->bind(m_zip, field("KrajZip"));
    m_binder->bind(RxDBLookupCombo2, field("IDPOK"));
    m_binder->bind(RxDBLookupCombo3, field("IDDRZAVA"));
    m_binder->bind(RxDBLookupCombo4, field("IDPodjetja"));
    m_binder->bind(DBComboBox5, field("FunckijaVPodjetju"));
    m_binder->bind(findChild<QLineEdit *>(QStringLiteral("DBEdit5")), field("TelVPodjetju"));
    m_binder->bind(findChild<QLineEdit *>(QStringLiteral("DBEdit4")), field("Davcna"));
    m_binder->bind(DBEdit6, field("TRR"), DatasetBinder::MaskedText);
    m_binder->bindChoice(m_legalStatus, field("PravnaOseba"));
    // The window's own reactions come after the binder has put the edit into the row.
    connect(DBCheckBox1, &QCheckBox::toggled, this, &TFVeldra::DBCheckBox1Click);
    for (NameComboBox *box : {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4}) {
        // Typed or chosen from the list, a part of the name recomposes the full name.
        connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, box] { DBComboBox4Change(box); });
        connect(box, &QComboBox::activated, this, [this, box] { DBComboBox4Change(box); });
    }
    connect(RxDBLookupCombo1, &QComboBox::activated, this, &TFVeldra::RxDBLookupCombo1Change);
    connect(m_binder, &DatasetBinder::reverted, this, [this](const QString &fieldName) {
        for (NameComboBox *box : {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4})
            if (box->property("field").toString() == fieldName)
                composeFullName();
    });

    connect(QOsebe, &Dataset::afterScroll, this, &TFVeldra::QOsebeAfterScroll);
    connect(QOsebe, &Dataset::afterOpen, this, &TFVeldra::QOsebeAfterOpen);
    connect(QOsebe, &Dataset::afterPost, this, &TFVeldra::QOsebeAfterPost);
    connect(QOsebe, &Dataset::postError, this, [this](const DatabaseError &, Dataset::PostErrorAction *action) {
        QOsebePostError(action);
    });
    connect(QOsebe, &Dataset::recordChangeComplete, this, [] { DataMod->MarkTableChanged(QStringLiteral("TOsnovniPod")); });
    connect(QPregled, &Dataset::afterScroll, this, &TFVeldra::QPregledAfterScroll);
    QOsebe->open();

    // 6. The lookups are registered, not read again, while the window is being made.
    refreshLookups();
    WindowReady = true;
    // 7. The category filter's states are restored here, 8. the linked programs filled.
    // 9. The searches: the built-in ones, then those of the link modules.
    RxMemoryDataSearch = BuiltInSearches();
    for (const QString &item : BuiltInSearchItems())
        addSearchItem(item);
    // 10. The first search; the category filter then runs it again with its expression.
    ComboBox1->setCurrentIndex(0);
    ComboBox1Change();

    const int leftWidth = ReadRegInt(keyFVeldra, QStringLiteral("Panel1.Width"), 185);
    Splitter1->setSizes({qMax(50, leftWidth), 800});
    const int filterHeight = ReadRegInt(keyFVeldra, QStringLiteral("Panel30.Height"), 139);
    m_leftSplitter->setSizes({qMax(100, filterHeight), 600});
}

void TFVeldra::createSearchHalf()
{
    Panel1 = new QWidget(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setMinimumWidth(50);
    auto *layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    m_leftSplitter = new QSplitter(Qt::Vertical, Panel1);
    m_leftSplitter->setChildrenCollapsible(false);
    layout->addWidget(m_leftSplitter);

    // The category filter panel; the filter fills it.
    Panel30 = new QWidget(m_leftSplitter);
    Panel30->setObjectName(QStringLiteral("Panel30"));
    Panel30->setMinimumHeight(100);

    auto *Panel3 = new QWidget(m_leftSplitter);
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
    search->addWidget(DBGrid1, 1);
    m_browseModel = new DatasetModel(QPregled, this);
    m_browseModel->attach(DBGrid1);

    connect(ComboBox1, &QComboBox::activated, this, &TFVeldra::ComboBox1Change);
    connect(PregledInputText, &QLineEdit::textEdited, this, [this](const QString &text) {
        // The search text is written in capitals.
        const int cursor = PregledInputText->cursorPosition();
        PregledInputText->setText(text.toUpper());
        PregledInputText->setCursorPosition(cursor);
        PregledInputTextChange();
    });
}

void TFVeldra::createTitleBar(QWidget *parent)
{
    Panel5 = new QWidget(parent);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedHeight(53);
    Panel5->setAutoFillBackground(true);
    auto *bar = new QHBoxLayout(Panel5);
    bar->setContentsMargins(6, 2, 20, 2);
    auto *names = new QVBoxLayout;
    names->setSpacing(0);
    Image1 = new QLabel(Panel5);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedHeight(18);
    names->addWidget(Image1);
    Label3 = new TitleLabel(Panel5);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont large = Label3->font();
    large.setBold(true);
    large.setPointSize(large.pointSize() + 6);
    Label3->setFont(large);
    names->addWidget(Label3);
    bar->addLayout(names, 1);

    const auto navigation = [this](const char *name, QStyle::StandardPixmap icon, const QString &hint, auto move) {
        auto *button = new FlatButton(QString(), Panel5);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(hint);
        button->setStatusTip(hint);
        button->setFixedSize(26, 24);
        connect(button, &FlatButton::clicked, this, [this, move] { move(QPregled); });
        return button;
    };
    bar->addWidget(navigation("FlatSpeedButton2", QStyle::SP_MediaSkipBackward, tr("Premakni se na prvi vnos"),
                              [](Dataset *list) { list->first(); }));
    bar->addWidget(navigation("FlatSpeedButton4", QStyle::SP_MediaSeekBackward, tr("Premakni se nazaj za en vnos"),
                              [](Dataset *list) { list->prior(); }));
    bar->addWidget(navigation("FlatSpeedButton3", QStyle::SP_MediaSeekForward, tr("Premakni se naprej za en vnos"),
                              [](Dataset *list) { list->next(); }));
    bar->addWidget(navigation("FlatSpeedButton1", QStyle::SP_MediaSkipForward, tr("Premakni se na zadnji vnos"),
                              [](Dataset *list) { list->last(); }));
    SpeedButton1 = new FlatButton(tr("Izbriši"), Panel5);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setToolTip(tr("Izbriši vnos"));
    SpeedButton1->setStatusTip(tr("Izbriši vnos"));
    SpeedButton2 = new FlatButton(tr("Dodaj"), Panel5);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setToolTip(tr("Dodaj/kreiraj nov vnos"));
    SpeedButton2->setStatusTip(tr("Dodaj/kreiraj nov vnos"));
    bar->addWidget(SpeedButton1);
    bar->addWidget(SpeedButton2);
    connect(SpeedButton1, &FlatButton::clicked, this, &TFVeldra::DeletePerson);
    connect(SpeedButton2, &FlatButton::clicked, this, &TFVeldra::AddPerson);
    parent->layout()->addWidget(Panel5);
}

SectionPanel *TFVeldra::addSection(const char *name, const QString &caption, const char *icon, const QString &tab)
{
    auto *page = new QWidget(PageControl1);
    page->setObjectName(QString::fromLatin1(name) + QStringLiteral("Tab"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *section = new SectionPanel(QString::fromLatin1(name), caption, QString::fromLatin1(icon), page);
    layout->addWidget(section);
    PageControl1->addTab(page, QIcon(QString::fromLatin1(icon)), tab);
    return section;
}

void TFVeldra::createRecordArea(QWidget *parent)
{
    Panel6 = new QWidget(parent);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    auto *layout = new QVBoxLayout(Panel6);
    layout->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(Panel6);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(true);
    layout->addWidget(PageControl1);
    parent->layout()->addWidget(Panel6);

    createBasicData();
    createAddress();
    createJob();
    // The sub-record sections, filled by their lists.
    addSection("PKontakt", tr("Kontakt"), ":/images/kontakti.png", tr("Kontakt"));
    createCategory();
    createBankData();
    addSection("POpombe", tr("Opombe"), ":/images/veldra.png", tr("Opombe"));
    addSection("PAlarmi", tr("Alarmi"), ":/images/alarmi.png", tr("Alarmi"));
    addSection("POstaliPodatki", tr("Ostali podatki"), ":/images/veldra.png", tr("Ostali podatki"));
    addSection("PDrugiProgrami", tr("Uporabi osebo kot šifrant v programih:"), ":/images/veldra.png", tr("Drugi programi"));
}

void TFVeldra::createBasicData()
{
    SectionPanel *section = addSection("POsnovniPodatki", tr("Osnovni podatki"), ":/images/veldra.png", tr("Osnovni podatki"));
    section->setMinimumSize(200, 217);
    QWidget *data = section->data();
    auto *grid = new QGridLayout(data);
    grid->setContentsMargins(6, 6, 10, 6);
    DBCheckBox1 = new QCheckBox(data);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    auto *code = textBox("DBEdit2", data);
    QFont bold = code->font();
    bold.setBold(true);
    code->setFont(bold);
    DBComboBox1 = new NameComboBox("DBComboBox1", data);
    DBEdit7 = textBox("DBEdit7", data);
    DBComboBox2 = new NameComboBox("DBComboBox2", data);
    DBComboBox3 = new NameComboBox("DBComboBox3", data);
    DBComboBox4 = new NameComboBox("DBComboBox4", data);
    DBEdit1 = textBox("DBEdit1", data);
    DBEdit1->setReadOnly(true);
    DBEdit1->setFont(bold);
    DBEdit1->setFocusPolicy(Qt::NoFocus);
    m_birthDate = new QDateEdit(data);
    m_birthDate->setObjectName(QStringLiteral("DBDateEdit1"));
    m_birthDate->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_birthDate->setCalendarPopup(true);

    auto *firstLabel = label(tr("Ime:"), data);
    auto *surnameLabel = label(tr("Priimek:"), data);
    auto *fullLabel = label(tr("Celotno ime:"), data);
    auto *birthLabel = label(tr("Datum rojstva:"), data);
    grid->addWidget(label(tr("Podjetje:"), data), 0, 0);
    grid->addWidget(DBCheckBox1, 0, 1);
    grid->addWidget(label(tr("Šifra:"), data), 1, 0);
    grid->addWidget(code, 1, 1, 1, 2);
    grid->addWidget(label(tr("Naziv:"), data), 2, 0);
    grid->addWidget(DBComboBox1, 2, 1, 1, 2);
    grid->addWidget(DBEdit7, 2, 1, 1, 2);
    grid->addWidget(firstLabel, 3, 0);
    grid->addWidget(DBComboBox2, 3, 1);
    grid->addWidget(DBComboBox3, 3, 2);
    grid->addWidget(surnameLabel, 4, 0);
    grid->addWidget(DBComboBox4, 4, 1, 1, 2);
    grid->addWidget(fullLabel, 5, 0);
    grid->addWidget(DBEdit1, 5, 1, 1, 2);
    grid->addWidget(birthLabel, 6, 0);
    grid->addWidget(m_birthDate, 6, 1);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    grid->setRowStretch(7, 1);
    m_personOnly = {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4, firstLabel, surnameLabel, DBEdit1, fullLabel,
                    m_birthDate, birthLabel};

}

void TFVeldra::createAddress()
{
    SectionPanel *section = addSection("PNaslov", tr("Naslov"), ":/images/kraji.png", tr("Naslov"));
    section->setMinimumSize(180, 185);
    QWidget *data = section->data();
    auto *grid = new QGridLayout(data);
    grid->setContentsMargins(6, 6, 10, 6);
    m_street = new QPlainTextEdit(data);
    m_street->setObjectName(QStringLiteral("DBMemo1"));
    m_street->setTabChangesFocus(true);
    m_street->setMaximumHeight(70);
    RxDBLookupCombo1 = lookupBox("RxDBLookupCombo1", data);
    m_zip = textBox("DBEdit3", data);
    m_zip->setReadOnly(true);
    m_zip->setFocusPolicy(Qt::NoFocus);
    m_zip->setMaximumWidth(70);
    RxDBLookupCombo2 = lookupBox("RxDBLookupCombo2", data);
    RxDBLookupCombo3 = lookupBox("RxDBLookupCombo3", data);
    grid->addWidget(label(tr("Ulica:"), data), 0, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(m_street, 0, 1, 1, 2);
    grid->addWidget(label(tr("Kraj:"), data), 1, 0);
    grid->addWidget(RxDBLookupCombo1, 1, 1);
    grid->addWidget(m_zip, 1, 2);
    grid->addWidget(label(tr("Pokrajina:"), data), 2, 0);
    grid->addWidget(RxDBLookupCombo2, 2, 1, 1, 2);
    grid->addWidget(label(tr("Država:"), data), 3, 0);
    grid->addWidget(RxDBLookupCombo3, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    // Reading the text of a street longer than the column allows would only fail on saving.
    connect(m_street, &QPlainTextEdit::textChanged, this, [this] {
        if (m_street->toPlainText().size() > 255) {
            QTextCursor cursor = m_street->textCursor();
            m_street->setPlainText(m_street->toPlainText().left(255));
            cursor.setPosition(qMin(cursor.position(), 255));
            m_street->setTextCursor(cursor);
        }
    });
}

void TFVeldra::createJob()
{
    SectionPanel *section = addSection("PSluzba", tr("Služba"), ":/images/veldra.png", tr("Služba"));
    section->setMinimumSize(350, 100);
    m_jobTab = section->parentWidget();
    QWidget *data = section->data();
    auto *grid = new QGridLayout(data);
    grid->setContentsMargins(6, 6, 10, 6);
    RxDBLookupCombo4 = lookupBox("RxDBLookupCombo4", data);
    auto *addCompany = new FlatButton(tr("Dodaj"), data);
    addCompany->setObjectName(QStringLiteral("FlatButton1"));
    addCompany->setToolTip(tr("Dodaj podjetje"));
    addCompany->setStatusTip(tr("Dodaj podjetje"));
    DBComboBox5 = new NameComboBox("DBComboBox5", data);
    auto *phone = textBox("DBEdit5", data);
    grid->addWidget(label(tr("Zaposlen v podjetju:"), data), 0, 0);
    grid->addWidget(RxDBLookupCombo4, 0, 1);
    grid->addWidget(addCompany, 0, 2);
    grid->addWidget(label(tr("Funkcija v podjetju:"), data), 1, 0);
    grid->addWidget(DBComboBox5, 1, 1, 1, 2);
    grid->addWidget(label(tr("Služben telefon:"), data), 2, 0);
    grid->addWidget(phone, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    connect(addCompany, &FlatButton::clicked, this, &TFVeldra::AddCompany);
}

void TFVeldra::createBankData()
{
    SectionPanel *section = addSection("PBancniPodatki", tr("Bančni podatki"), ":/images/veldra.png", tr("Bančni podatki"));
    section->setMinimumSize(150, 89);
    QWidget *data = section->data();
    auto *grid = new QGridLayout(data);
    grid->setContentsMargins(6, 6, 10, 6);
    auto *tax = textBox("DBEdit4", data);
    DBEdit6 = textBox("DBEdit6", data);
    // Every digit optional, so that an account typed only in part is still checked.
    DBEdit6->setInputMask(QStringLiteral("00000\\-0000000000;_"));
    grid->addWidget(label(tr("Davčna številka:"), data), 0, 0);
    grid->addWidget(tax, 0, 1);
    grid->addWidget(label(tr("Transakcijski račun:"), data), 1, 0);
    grid->addWidget(DBEdit6, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    DBEdit6->installEventFilter(this);
}

void TFVeldra::createCategory()
{
    SectionPanel *section = addSection("PKategorija", tr("Kategorija"), ":/images/kategorije.png", tr("Kategorija"));
    section->setMinimumSize(180, 89);
    QWidget *data = section->data();
    auto *layout = new QVBoxLayout(data);
    layout->setContentsMargins(6, 6, 5, 6);
    auto *status = new QHBoxLayout;
    status->addWidget(new QLabel(tr("Status osebe:"), data));
    m_legalStatus = lookupBox("DBComboBox6", data);
    m_legalStatus->setMaximumWidth(160);
    status->addWidget(m_legalStatus);
    status->addStretch();
    layout->addLayout(status);
    // The person's categories are listed below.
    layout->addStretch();
}

void TFVeldra::colourWindow()
{
    const auto paint = [](QWidget *widget, const QColor &colour) {
        widget->setAutoFillBackground(true);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, colour);
        widget->setPalette(palette);
    };
    paint(Panel1, ColourScheme.CT_WDetailBack);
    paint(Panel6, ColourScheme.CT_WDetailBack);
    paint(Panel5, ColourScheme.CT_WTitleBack);
    QPalette title = Label3->palette();
    title.setColor(QPalette::WindowText, ColourScheme.CT_WTitleFont);
    Label3->setPalette(title);
    for (QWidget *list : {static_cast<QWidget *>(DBGrid1), static_cast<QWidget *>(ComboBox1)}) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, ColourScheme.CT_WBack);
        list->setPalette(palette);
    }
    DBGrid1->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { background: %1; }")
                                                   .arg(ColourScheme.CT_WDetailBack.name()));
    StyleButtons(Panel5);
}

void TFVeldra::fillNameLists()
{
    // One pass over the persons for each name field; the lists only grow afterwards.
    NameComboBox *boxes[] = {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4, DBComboBox5};
    for (size_t i = 0; i < std::size(nameFields); ++i) {
        const QString column = QString::fromLatin1(nameFields[i]);
        QSqlQuery names = DataMod->database().run(
            QStringLiteral("SELECT DISTINCT %1 FROM TOsnovniPod WHERE %1 Is Not Null ORDER BY %1;").arg(column));
        QStringList values;
        while (names.next()) {
            const QString value = names.value(0).toString().trimmed();
            if (!value.isEmpty() && (values.isEmpty() || values.last() != value))
                values << value;
        }
        values.removeDuplicates();
        const QSignalBlocker blocker(boxes[i]);
        boxes[i]->addItems(values);
    }
    m_legalStatus->addItem(tr("Fizicna oseba"), false);
    m_legalStatus->addItem(tr("Pravna oseba"), true);
}

QStringList TFVeldra::nameList(const QString &fieldName) const
{
    const NameComboBox *boxes[] = {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4, DBComboBox5};
    for (size_t i = 0; i < std::size(nameFields); ++i)
        if (fieldName.compare(QLatin1String(nameFields[i]), Qt::CaseInsensitive) == 0)
            return boxes[i]->names();
    return {};
}

void TFVeldra::refreshLookups()
{
    for (const auto &[lookup, table] : m_lookupTables)
        RxDBLookupComboEnter(lookup);
    // Contact types, alarm types, the categories (twice) and the links follow with their lists.
}

void TFVeldra::FormActivate()
{
    refreshLookups();
}

void TFVeldra::FormDeactivate()
{
    QOsebe->checkBrowseMode();
    // The sub-record lists being edited are saved here too, and the category filter's states.
}

void TFVeldra::refreshKeepingPosition()
{
    if (!QPregled->isOpen() || !QPregled->hasField(QStringLiteral("ID")))
        return;
    const FrozenDisplay frozen{QOsebe, QPregled};
    const QVariant id = QPregled->value(QStringLiteral("ID"));
    // Read again only what may have changed: nothing is read when no one wrote meanwhile.
    const std::vector<bool> changed = Dataset::requeryIfChanged({QOsebe, QPregled});
    if (changed[0] || changed[1])
        QPregled->locate(QStringLiteral("ID"), id);
    if (changed[0])
        showRecordArea();
}

void TFVeldra::ClearBrowseList()
{
    QPregled->close();
    QPregled->setSql(QString());
    SearchField.clear();
    DBGrid1->hide();
}

void TFVeldra::addSearchItem(const QString &item)
{
    // Items are "caption;search;image;kind": the caption is shown with its picture,
    // a module's heading in italics, a module's searches set in under it.
    static const char *const images[] = {":/images/veldra.png", ":/images/kraji.png",    ":/images/drzave.png",
                                         ":/images/kontakti.png", ":/images/veldra.png", ":/images/veldra.png",
                                         ":/images/kategorije.png"};
    bool ok = false;
    const int image = GetToken(item, QStringLiteral(";"), 3).toInt(&ok);
    const int kind = GetToken(item, QStringLiteral(";"), 4).toInt();
    const QIcon icon = ok && image >= 0 && image < int(std::size(images)) ? QIcon(QString::fromLatin1(images[image])) : QIcon();
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

void TFVeldra::ComboBox1Change()
{
    ChooseSearch();
}

void TFVeldra::ChooseSearch()
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
    // A module's search asks the module to fill its keywords first.
    DBGrid1->show();
    QPregled->close();
    QPregled->setSql(WithFilter(definition->SQL, FilterExpression));
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

void TFVeldra::Panel4Resize()
{
    // The first column is 70 wide; the last one shown takes the rest of the list's width.
    if (!DBGrid1->isColumnHidden(1))
        DBGrid1->setColumnWidth(0, 70);
}

void TFVeldra::PregledInputTextChange()
{
    if (!QPregled->isOpen() || !QPregled->isFiltered())
        return;
    QPregled->refilter(m_search.setText(PregledInputText->text()));
}

void TFVeldra::DBGrid1KeyPress(QKeyEvent *event)
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

void TFVeldra::QPregledAfterScroll()
{
    if (QOsebe->isOpen() && QPregled->hasField(QStringLiteral("ID")) && QPregled->recNo() > 0)
        moveToPerson(QPregled->value(QStringLiteral("ID")));
}

void TFVeldra::moveToPerson(const QVariant &id)
{
    if (QOsebe->value(QStringLiteral("ID")) != id || QOsebe->state() != Dataset::State::Browse)
        QOsebe->locate(QStringLiteral("ID"), id);
}

void TFVeldra::QOsebeAfterScroll()
{
    const QString name = QOsebe->value(QStringLiteral("CelotnoIme")).toString();
    setWindowTitle(name.isEmpty() ? tr("Osebe") : name);
    Label3->setText(QLatin1Char(' ') + name);
    DBCheckBox1Click();
    // The person's sub-records and links are loaded here.
    if (!QPregled->isOpen() || !QPregled->hasField(QStringLiteral("ID")) || QOsebe->recNo() == 0)
        return;
    const QVariant id = QOsebe->value(QStringLiteral("ID"));
    if (QPregled->value(QStringLiteral("ID")) != id)
        QPregled->locate(QStringLiteral("ID"), id);
}

void TFVeldra::QOsebeAfterOpen()
{
    QOsebe->last();
    showRecordArea();
}

void TFVeldra::showRecordArea()
{
    Panel6->setVisible(QOsebe->recordCount() > 0);
}

void TFVeldra::DBCheckBox1Click()
{
    const bool company = QOsebe->value(QStringLiteral("Podjetje")).toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    DBEdit7->setVisible(company);
    for (QWidget *personField : std::as_const(m_personOnly))
        personField->setVisible(!company);
    // A company has no employer: its "Služba" tab goes. (Only a change lays the tabs out again.)
    const int job = PageControl1->indexOf(m_jobTab);
    if (PageControl1->isTabVisible(job) == company)
        PageControl1->setTabVisible(job, !company);
}

void TFVeldra::DBComboBox4Change(NameComboBox *box)
{
    if (box->capitalise())
        QOsebe->setValue(box->property("field").toString(), box->currentText());
    composeFullName();
}

void TFVeldra::composeFullName()
{
    QOsebe->setValue(QStringLiteral("CelotnoIme"), ComposeFullName(DBComboBox1->currentText(), DBComboBox2->currentText(),
                                                                    DBComboBox3->currentText(), DBComboBox4->currentText()));
}

void TFVeldra::RxDBLookupCombo1Change()
{
    // From the list the place was chosen in: the places another workstation added or
    // changed are there as the user saw them.
    const QVariant place = QOsebe->value(QStringLiteral("IDKRAJ"));
    QOsebe->setValue(QStringLiteral("IDDRZAVA"), valueOfPlace(place, "IDDRZAVA"));
    // The postal code beside the place follows at once.
    QOsebe->setValue(QStringLiteral("KrajZip"), valueOfPlace(place, "Zip"));
}

void TFVeldra::RxDBLookupComboEnter(LookupComboBox *lookup)
{
    const auto entry = std::find_if(m_lookupTables.cbegin(), m_lookupTables.cend(),
                                    [lookup](const auto &known) { return known.first == lookup; });
    if (entry != m_lookupTables.cend())
        DataMod->RefreshIfChanged(QStringLiteral("FVeldra"), lookup->lookup(), QString(), WindowReady, entry->second);
}

void TFVeldra::QOsebeTRRValidate()
{
    const QString account = QOsebe->value(QStringLiteral("TRR")).toString();
    if (account == m_trrOnEntry)
        return;
    m_trrOnEntry = account;
    if (!CheckAccountNumber(account))
        ShowMessageBox(tr("Številka transakcijskega računa, je neveljavna, po preverjanju kontrolne številke!"), 0);
}

void TFVeldra::QOsebePostError(Dataset::PostErrorAction *action)
{
    // Empty texts the database refuses are tried again as nulls; anything else is let through.
    bool changed = false;
    for (int f = 0; f < QOsebe->fieldCount(); ++f) {
        const QVariant value = QOsebe->value(f);
        if (!value.isNull() && value.typeId() == QMetaType::QString && value.toString().isEmpty()) {
            QOsebe->setValue(f, QVariant());
            changed = true;
        }
    }
    if (changed)
        *action = Dataset::PostErrorAction::Retry;
}

void TFVeldra::QOsebeAfterPost()
{
    NameComboBox *boxes[] = {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4, DBComboBox5};
    for (size_t i = 0; i < std::size(nameFields); ++i)
        boxes[i]->addName(QOsebe->value(QString::fromLatin1(nameFields[i])).toString());
    // The linked programs are told of the change here.
    // The browse list is read again when it shows what was changed.
    if (!QPregled->isOpen() || QPregled->isEmpty() || !QPregled->hasField(QStringLiteral("ID"))
        || !QPregled->hasField(QStringLiteral("CelotnoIme")) || !QPregled->hasField(SearchField))
        return;
    const QString name = QOsebe->value(QStringLiteral("CelotnoIme")).toString();
    if (name == QPregled->value(QStringLiteral("CelotnoIme")).toString()
        && QOsebe->value(SearchField).toString() == QPregled->value(SearchField).toString())
        return;
    const QVariant id = QOsebe->value(QStringLiteral("ID"));
    {
        const FrozenDisplay frozen{QPregled};
        QPregled->requery();
        QPregled->locate(QStringLiteral("ID"), id);
    }
    setWindowTitle(name);
}

void TFVeldra::requeryPersons(const QVariant &id)
{
    {
        const FrozenDisplay frozen{QOsebe, QPregled};
        QOsebe->requery();
        showRecordArea();
        if (QPregled->isOpen())
            QPregled->requery();
        QOsebe->locate(QStringLiteral("ID"), id);
    }
    QOsebeAfterScroll();
}

int TFVeldra::showAddPersonDialog(bool isCompany) const
{
    // The dialog offers the names this window's lists know.
    return FDodajOsebo->ShowAddPersonDialog(isCompany, DBComboBox1->names(), DBComboBox2->names(), DBComboBox3->names(),
                                            DBComboBox4->names());
}

void TFVeldra::AddPerson()
{
    FormDeactivate();
    const int id = showAddPersonDialog(false);
    if (id <= 0)
        return;
    requeryPersons(id);
}

void TFVeldra::AddCompany()
{
    const int id = showAddPersonDialog(true);
    if (id <= 0)
        return;
    RxDBLookupComboEnter(RxDBLookupCombo4);
    RxDBLookupComboEnter(RxDBLookupCombo4);
    QOsebe->setValue(QStringLiteral("IDPodjetja"), id);
    FormDeactivate();
    requeryPersons(QOsebe->value(QStringLiteral("ID")));
}

void TFVeldra::DeletePerson()
{
    const QVariant id = QOsebe->value(QStringLiteral("ID"));
    if (QOsebe->recNo() <= 0 || id.isNull() || id.toLongLong() <= 0)
        return;
    if (!DataMod->CanDeleteRecord(QStringLiteral("TOsnovniPod"), QOsebe))
        return;
    // The row before stays current (the next one when the first is deleted).
    QOsebe->prior();
    QVariant stay = QOsebe->value(QStringLiteral("ID"));
    if (stay == id && QOsebe->recordCount() > 1) {
        QOsebe->next();
        stay = QOsebe->value(QStringLiteral("ID"));
    }
    try {
        const FrozenDisplay frozen{QOsebe, QPregled};
        // All or nothing: a person is never left behind without part of its sub-records.
        DataMod->database().transaction([&id] {
            for (const char *table : {"TOsnovniPodVezaOpombe", "TOsnovniPodVezaKontakt", "TOsnovniPodVezaKategorje", "TOsnovniPodDodatno"})
                DataMod->ExecuteWork(QStringLiteral("DELETE * FROM %1 WHERE (((IDOsebe)=%2));").arg(QString::fromLatin1(table)).arg(id.toLongLong()));
            DataMod->ExecuteWork(QStringLiteral("DELETE * FROM TOsnovniPod WHERE (((ID)=%1));").arg(id.toLongLong()));
        });
    } catch (...) {
        QOsebe->locate(QStringLiteral("ID"), id);
        throw;
    }
    DataMod->MarkTableChanged(QStringLiteral("TOsnovniPod"));
    requeryPersons(stay);
}

void TFVeldra::closeEvent(QCloseEvent *event)
{
    // The person window never closes by itself: closing it closes the program.
    FormDeactivate();
    event->ignore();
    if (FMain)
        QTimer::singleShot(0, FMain, &QWidget::close);
}

bool TFVeldra::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool typing = key->key() == Qt::Key_Backspace || (!key->text().isEmpty() && key->text()[0].isPrint());
        if (typing && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            DBGrid1KeyPress(key);
            return true;
        }
    }
    if (watched == DBEdit6 && event->type() == QEvent::FocusIn) {
        m_trrOnEntry = QOsebe->value(QStringLiteral("TRR")).toString();
        // An empty account is typed from its first place, wherever the click was.
        if (m_trrOnEntry.isEmpty())
            QTimer::singleShot(0, DBEdit6, [this] { DBEdit6->setCursorPosition(0); });
    }
    // Checked on leaving the field, whatever was typed; not when another window (the
    // message itself, say) only takes the focus for a while.
    if (watched == DBEdit6 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            QOsebeTRRValidate();
    }
    return QWidget::eventFilter(watched, event);
}

void TFVeldra::FormDestroy()
{
    WriteRegString(keyFVeldra, QStringLiteral("Panel1.Width"), QString::number(Panel1->width()));
    WriteRegString(keyFVeldra, QStringLiteral("Panel30.Height"), QString::number(Panel30->height()));
}

void TFVeldra::leave()
{
    FormDeactivate();
    // While the frame still exists: it is gone by the time the window is destroyed.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        WindowPlacement::save(frame, keyFVeldra);
}
