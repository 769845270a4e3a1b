#include "PersonRecordForm.h"

#include "ColourScheme.h"
#include "DatasetBinder.h"
#include "DesignGrid.h"
#include "FlatButton.h"
#include "LookupComboBox.h"
#include "NameComboBox.h"
#include "NameRules.h"
#include "PanelDesign.h"
#include "PersonDrag.h"
#include "PublicFunctions.h"
#include "SectionPanel.h"
#include "TitleLabel.h"
#include "UDataMod.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char *const nameFields[] = {"Naziv", "Ime", "SrednjeIme", "Priimek", "FunckijaVPodjetju"};

// The sections the layout places, by code, with the smallest size each needs.
struct PlacedSection
{
    const char *code;
    const char *name;
    QSize minimum;
};
const PlacedSection placedSections[] = {
    {"OP", "POsnovniPodatki", {200, 217}}, {"NA", "PNaslov", {180, 185}},  {"SL", "PSluzba", {350, 100}},
    {"BP", "PBancniPodatki", {150, 89}},   {"OS", "POstaliPodatki", {120, 89}}, {"KN", "PKontakt", {200, 89}},
    {"ME", "POpombe", {180, 89}},          {"AL", "PAlarmi", {180, 89}},        {"KA", "PKategorija", {180, 89}},
};

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

} // namespace

PersonRecordForm::PersonRecordForm(Dataset *person, const bool &windowReady, QWidget *parent)
    : QWidget(parent)
    , QOsebe(person)
    , m_windowReady(windowReady)
{
    setObjectName(QStringLiteral("Panel2"));
    setMinimumWidth(460);
    // The place's postal code, shown beside it.
    QOsebe->addCalculatedField(QStringLiteral("KrajZip"), [](const Dataset &persons, int row) {
        return valueOfPlace(persons.rawValue(row, persons.fieldIndex(QStringLiteral("IDKRAJ"))), "Zip");
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createTitleBar();
    createRecordArea();
    // The first tab; every section has its tab, the basic data the first one.
    PageControl1->setCurrentIndex(0);
    colour();
    setNameSources();
    bindFields();
    connect(QOsebe, &Dataset::postError, this, [this](const DatabaseError &, Dataset::PostErrorAction *action) {
        QOsebePostError(action);
    });
}

void PersonRecordForm::bindFields()
{
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
    // Not a structured binding: clang before 16 cannot capture one.
    for (const auto &entry : m_lookupTables) {
        LookupComboBox *lookup = entry.first;
        connect(lookup, &LookupComboBox::entered, this, [this, lookup] { RxDBLookupComboEnter(lookup); });
    }
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
    // The form's own reactions come after the binder has put the edit into the row.
    connect(DBCheckBox1, &QCheckBox::toggled, this, &PersonRecordForm::DBCheckBox1Click);
    for (NameComboBox *box : {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4}) {
        // Typed or chosen from the list, a part of the name recomposes the full name.
        connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, box] { DBComboBox4Change(box); });
        connect(box, &QComboBox::activated, this, [this, box] { DBComboBox4Change(box); });
    }
    connect(RxDBLookupCombo1, &QComboBox::activated, this, &PersonRecordForm::RxDBLookupCombo1Change);
    connect(m_binder, &DatasetBinder::reverted, this, [this](const QString &fieldName) {
        for (NameComboBox *box : {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4})
            if (box->property("field").toString() == fieldName)
                composeFullName();
    });
}

void PersonRecordForm::createTitleBar()
{
    Panel5 = new QWidget(this);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedHeight(53);
    Panel5->setAutoFillBackground(true);
    auto *bar = new QHBoxLayout(Panel5);
    bar->setContentsMargins(6, 2, 20, 2);
    auto *names = new QVBoxLayout;
    names->setSpacing(0);
    Image1 = new QLabel(Panel5);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedHeight(20);
    names->addWidget(Image1);
    Label3 = new TitleLabel(Panel5);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont large = Label3->font();
    large.setBold(true);
    large.setPointSize(large.pointSize() + 6);
    Label3->setFont(large);
    names->addWidget(Label3);
    bar->addLayout(names, 1);
    // The person is dragged onto a category of the filter by the name or the strip.
    for (QWidget *source : {static_cast<QWidget *>(Label3), static_cast<QWidget *>(Image1)})
        PersonDrag::enableFrom(source, [this] { return QOsebe->recNo() > 0 ? QOsebe->value(QStringLiteral("ID")) : QVariant(); });

    const auto navigation = [this](const char *name, QStyle::StandardPixmap icon, const QString &hint, Move move) {
        auto *button = new FlatButton(QString(), Panel5);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(hint);
        button->setStatusTip(hint);
        button->setFixedSize(26, 24);
        connect(button, &FlatButton::clicked, this, [this, move] { Q_EMIT moveRequested(move); });
        return button;
    };
    bar->addWidget(navigation("FlatSpeedButton2", QStyle::SP_MediaSkipBackward, tr("Premakni se na prvi vnos"), Move::First));
    bar->addWidget(navigation("FlatSpeedButton4", QStyle::SP_MediaSeekBackward, tr("Premakni se nazaj za en vnos"), Move::Prior));
    bar->addWidget(navigation("FlatSpeedButton3", QStyle::SP_MediaSeekForward, tr("Premakni se naprej za en vnos"), Move::Next));
    bar->addWidget(navigation("FlatSpeedButton1", QStyle::SP_MediaSkipForward, tr("Premakni se na zadnji vnos"), Move::Last));
    auto *SpeedButton1 = new FlatButton(tr("Izbriši"), Panel5);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setToolTip(tr("Izbriši vnos"));
    SpeedButton1->setStatusTip(tr("Izbriši vnos"));
    auto *SpeedButton2 = new FlatButton(tr("Dodaj"), Panel5);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setToolTip(tr("Dodaj/kreiraj nov vnos"));
    SpeedButton2->setStatusTip(tr("Dodaj/kreiraj nov vnos"));
    bar->addWidget(SpeedButton1);
    bar->addWidget(SpeedButton2);
    connect(SpeedButton1, &FlatButton::clicked, this, &PersonRecordForm::deleteRequested);
    connect(SpeedButton2, &FlatButton::clicked, this, &PersonRecordForm::addRequested);
    layout()->addWidget(Panel5);
}

void PersonRecordForm::createRecordArea()
{
    Panel6 = new QWidget(this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    auto *layout = new QVBoxLayout(Panel6);
    layout->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(Panel6);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(true);
    layout->addWidget(PageControl1);
    connect(PageControl1, &QTabWidget::currentChanged, this, &PersonRecordForm::pageChanged);
    this->layout()->addWidget(Panel6);

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

bool PersonRecordForm::isOnCurrentPage(const QWidget *section) const
{
    const QWidget *page = PageControl1->currentWidget();
    return page && page->isAncestorOf(section);
}

SectionPanel *PersonRecordForm::section(const QString &name) const
{
    return findChild<SectionPanel *>(name);
}

void PersonRecordForm::colour()
{
    const auto paint = [](QWidget *widget, const QColor &colour) {
        widget->setAutoFillBackground(true);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, colour);
        widget->setPalette(palette);
    };
    paint(Panel6, ColourScheme.CT_WDetailBack);
    paint(Panel5, ColourScheme.CT_WTitleBack);
    QPalette title = Label3->palette();
    title.setColor(QPalette::WindowText, ColourScheme.CT_WTitleFont);
    Label3->setPalette(title);
    StyleButtons(Panel5);
}

void PersonRecordForm::showPerson()
{
    Label3->setText(QLatin1Char(' ') + QOsebe->value(QStringLiteral("CelotnoIme")).toString());
    DBCheckBox1Click();
}

void PersonRecordForm::showRecordArea(bool shown)
{
    Panel6->setVisible(shown);
}

void PersonRecordForm::refreshLookups()
{
    for (const auto &[lookup, table] : m_lookupTables)
        RxDBLookupComboEnter(lookup);
}

void PersonRecordForm::refreshCompanies()
{
    RxDBLookupComboEnter(RxDBLookupCombo4);
}

void PersonRecordForm::addSavedNames()
{
    NameComboBox *boxes[] = {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4, DBComboBox5};
    for (size_t i = 0; i < std::size(nameFields); ++i)
        boxes[i]->addName(QOsebe->value(QString::fromLatin1(nameFields[i])).toString());
}

std::vector<QStringList> PersonRecordForm::personNameLists() const
{
    return {DBComboBox1->names(), DBComboBox2->names(), DBComboBox3->names(), DBComboBox4->names()};
}

bool PersonRecordForm::eventFilter(QObject *watched, QEvent *event)
{
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

SectionPanel *PersonRecordForm::addSection(const char *name, const QString &caption, const char *icon, const QString &tab)
{
    auto *page = new QWidget(PageControl1);
    page->setObjectName(QString::fromLatin1(name) + QStringLiteral("Tab"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *section = new SectionPanel(QString::fromLatin1(name), caption, QString::fromLatin1(icon), page);
    for (const PlacedSection &placed : placedSections)
        if (qstrcmp(placed.name, name) == 0)
            section->setMinimumSize(placed.minimum);
    layout->addWidget(section);
    PageControl1->addTab(page, QIcon(QString::fromLatin1(icon)), tab);
    if (qstrcmp(name, "POsnovniPodatki") != 0)
        m_homePages.insert(section, page);
    return section;
}

void PersonRecordForm::createBasicData()
{
    SectionPanel *section = addSection("POsnovniPodatki", tr("Osnovni podatki"), ":/images/veldra.png", tr("Osnovni podatki"));
    // The first tab is the grid; the basic data start in its first cell.
    m_grid = new DesignGrid(section->parentWidget());
    section->parentWidget()->layout()->addWidget(m_grid);
    m_grid->cell(1, 1)->layout()->addWidget(section);
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

void PersonRecordForm::createAddress()
{
    SectionPanel *section = addSection("PNaslov", tr("Naslov"), ":/images/kraji.png", tr("Naslov"));
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
}

void PersonRecordForm::createJob()
{
    SectionPanel *section = addSection("PSluzba", tr("Služba"), ":/images/veldra.png", tr("Služba"));
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
    connect(addCompany, &FlatButton::clicked, this, &PersonRecordForm::addCompanyRequested);
}

void PersonRecordForm::createBankData()
{
    SectionPanel *section = addSection("PBancniPodatki", tr("Bančni podatki"), ":/images/veldra.png", tr("Bančni podatki"));
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

void PersonRecordForm::createCategory()
{
    SectionPanel *section = addSection("PKategorija", tr("Kategorija"), ":/images/kategorije.png", tr("Kategorija"));
    QWidget *data = section->data();
    auto *layout = new QVBoxLayout(data);
    layout->setContentsMargins(6, 6, 5, 6);
    auto *status = new QHBoxLayout;
    status->addWidget(new QLabel(tr("Status osebe:"), data));
    // Two fixed entries, not a lookup.
    m_legalStatus = new QComboBox(data);
    m_legalStatus->setObjectName(QStringLiteral("DBComboBox6"));
    m_legalStatus->setMaximumWidth(160);
    status->addWidget(m_legalStatus);
    status->addStretch();
    layout->addLayout(status);
    // The person's categories are listed below.
}

void PersonRecordForm::setNameSources()
{
    // One pass over the persons for each name field; the lists only grow afterwards.
    NameComboBox *boxes[] = {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4, DBComboBox5};
    for (size_t i = 0; i < std::size(nameFields); ++i) {
        boxes[i]->setNameSource([column = QString::fromLatin1(nameFields[i])] {
            QSqlQuery names = DataMod->database().run(
                QStringLiteral("SELECT DISTINCT %1 FROM TOsnovniPod WHERE %1 Is Not Null ORDER BY %1;").arg(column));
            QStringList values;
            while (names.next()) {
                const QString value = names.value(0).toString().trimmed();
                if (!value.isEmpty() && (values.isEmpty() || values.last() != value))
                    values << value;
            }
            values.removeDuplicates();
            return values;
        });
    }
    m_legalStatus->addItem(tr("Fizicna oseba"), false);
    m_legalStatus->addItem(tr("Pravna oseba"), true);
}

QStringList PersonRecordForm::nameList(const QString &fieldName)
{
    NameComboBox *boxes[] = {DBComboBox1, DBComboBox2, DBComboBox3, DBComboBox4, DBComboBox5};
    for (size_t i = 0; i < std::size(nameFields); ++i)
        if (fieldName.compare(QLatin1String(nameFields[i]), Qt::CaseInsensitive) == 0)
            return boxes[i]->names();
    return {};
}

void PersonRecordForm::DBCheckBox1Click()
{
    const bool company = QOsebe->value(QStringLiteral("Podjetje")).toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    DBEdit7->setVisible(company);
    for (QWidget *personField : std::as_const(m_personOnly))
        personField->setVisible(!company);
    // A company has no employer: its "Služba" tab goes, or in the grid the section and its
    // cell. (Only a change lays the tabs out again.)
    if (m_jobCell) {
        m_jobCell->setVisible(!company);
        section(QStringLiteral("PSluzba"))->setVisible(!company);
        return;
    }
    const int job = PageControl1->indexOf(m_jobTab);
    if (PageControl1->isTabVisible(job) == company)
        PageControl1->setTabVisible(job, !company);
}

void PersonRecordForm::ApplyPanelLayout(const QString &row1, const QString &row2, const QString &row3)
{
    using PanelDesign::part;
    // Every section in its start place, every tab and the whole grid shown.
    m_jobCell = nullptr;
    for (const PlacedSection &placed : placedSections) {
        SectionPanel *panel = section(QString::fromLatin1(placed.name));
        QWidget *home = qstrcmp(placed.code, "OP") == 0 ? m_grid->cell(1, 1) : m_homePages.value(panel);
        home->layout()->addWidget(panel);
        panel->show();
        if (home != m_grid->cell(1, 1))
            PageControl1->setTabVisible(PageControl1->indexOf(home), true);
    }
    m_grid->showAll();

    const QString rows[] = {row1, row2, row3};
    bool rowShown[3] = {};
    for (int r = 1; r <= 3; ++r) {
        PanelDesign::Cell cells[3];
        for (int k = 1; k <= 3; ++k)
            cells[k - 1] = PanelDesign::parseCell(part(rows[r - 1], QLatin1Char(';'), k));
        const bool flag1 = cells[0].shown, flag2 = cells[1].shown, flag3 = cells[2].shown;
        rowShown[r - 1] = flag1 || flag2 || flag3;
        if (!rowShown[r - 1]) {
            m_grid->row(r)->hide();
            continue;
        }
        m_grid->setCellFills(r, 2, !flag3);
        m_grid->setCellFills(r, 1, !flag2 && !flag3);
        // The splitters between shown cells follow the cells.
        for (int k = 1; k <= 3; ++k)
            m_grid->cell(r, k)->setVisible(cells[k - 1].shown);
        for (int k = 1; k <= 3; ++k) {
            if (!cells[k - 1].shown)
                continue;
            const auto placed = std::find_if(std::begin(placedSections), std::end(placedSections), [&](const PlacedSection &s) {
                return cells[k - 1].code == QLatin1String(s.code);
            });
            // A code of no section leaves its cell shown and empty.
            if (placed == std::end(placedSections))
                continue;
            SectionPanel *panel = section(QString::fromLatin1(placed->name));
            QWidget *cell = m_grid->cell(r, k);
            QWidget *home = m_homePages.value(panel);
            cell->layout()->addWidget(panel);
            panel->show();
            cell->setMinimumSize(panel->minimumSize());
            m_grid->ensureCellWidth(r, k, 50);
            if (home)
                PageControl1->setTabVisible(PageControl1->indexOf(home), false);
            if (panel == section(QStringLiteral("PSluzba")))
                m_jobCell = cell;
        }
    }
    m_grid->setRowFills(2, !rowShown[2]);
    m_grid->setRowFills(1, !rowShown[1]);
    m_grid->applyStoredHeights();
}

void PersonRecordForm::DBComboBox4Change(NameComboBox *box)
{
    if (box->capitalise())
        QOsebe->setValue(box->property("field").toString(), box->currentText());
    composeFullName();
}

void PersonRecordForm::composeFullName()
{
    QOsebe->setValue(QStringLiteral("CelotnoIme"), ComposeFullName(DBComboBox1->currentText(), DBComboBox2->currentText(),
                                                                    DBComboBox3->currentText(), DBComboBox4->currentText()));
}

void PersonRecordForm::RxDBLookupCombo1Change()
{
    // From the list the place was chosen in: the places another workstation added or
    // changed are there as the user saw them.
    const QVariant place = QOsebe->value(QStringLiteral("IDKRAJ"));
    QOsebe->setValue(QStringLiteral("IDDRZAVA"), valueOfPlace(place, "IDDRZAVA"));
    // The postal code beside the place follows at once.
    QOsebe->setValue(QStringLiteral("KrajZip"), valueOfPlace(place, "Zip"));
}

void PersonRecordForm::RxDBLookupComboEnter(LookupComboBox *lookup)
{
    const auto entry = std::find_if(m_lookupTables.cbegin(), m_lookupTables.cend(),
                                    [lookup](const auto &known) { return known.first == lookup; });
    if (entry != m_lookupTables.cend())
        DataMod->RefreshIfChanged(QStringLiteral("FVeldra"), lookup->lookup(), QString(), m_windowReady, entry->second);
}

void PersonRecordForm::QOsebeTRRValidate()
{
    const QString account = QOsebe->value(QStringLiteral("TRR")).toString();
    if (account == m_trrOnEntry)
        return;
    m_trrOnEntry = account;
    if (!CheckAccountNumber(account))
        ShowMessageBox(tr("Številka transakcijskega računa, je neveljavna, po preverjanju kontrolne številke!"), 0);
}

void PersonRecordForm::QOsebePostError(Dataset::PostErrorAction *action)
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

