#include "ThemePage.h"

#include "ColourComboBox.h"
#include "ColourScheme.h"
#include "Settings.h"
#include "UFMain.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>

namespace {

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

QString barve()
{
    return QString::fromLatin1(KeyBarve);
}

constexpr qint64 ButtonFace = SystemColourRef(15);
constexpr qint64 ButtonShadow = SystemColourRef(16);
constexpr qint64 ButtonText = SystemColourRef(18);
constexpr qint64 ButtonHighlight = SystemColourRef(20);

constexpr int RecentPictures = 10;

QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty() || !data->urls().first().isLocalFile())
        return {};
    return data->urls().first().toLocalFile();
}

}

const std::array<const char *, ThemePage::ColourCount> ThemePage::ColourNames = {
    "CT_WBack", "CT_WTitleBack", "CT_WTitleFont", "CT_WDetailBack", "CT_BBack", "CT_BFocused", "CT_BDown", "CT_BFont"};

ThemePage::Colours ThemePage::schemeColours(Scheme scheme)
{
    if (scheme == Standard)
        return {ButtonFace, ButtonShadow, 0, ButtonFace, ButtonFace, ButtonHighlight, ButtonShadow, ButtonText};
    return {16769734, 9521152, 16777215, 16750383, 13395456, 16744448, 16758122, 16777215};
}

ThemePage::ThemePage(TFMain *mainWindow, QWidget *parent)
    : QWidget(parent)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TabSheet3"));
    auto *layout = new QGridLayout(this);
    const auto addRow = [this, layout](const QString &label, QWidget *field) {
        const int row = layout->rowCount();
        auto *caption = new QLabel(label, this);
        caption->setBuddy(field);
        layout->addWidget(caption, row, 0);
        layout->addWidget(field, row, 1);
    };

    FilenameEdit2 = new QComboBox(this);
    FilenameEdit2->setObjectName(QStringLiteral("FilenameEdit2"));
    FilenameEdit2->setEditable(true);
    FilenameEdit2->setInsertPolicy(QComboBox::NoInsert);
    FilenameEdit2->lineEdit()->setAcceptDrops(false);
    FilenameEdit2->setAcceptDrops(true);
    FilenameEdit2->installEventFilter(this);
    FilenameButton2 = new QToolButton(this);
    FilenameButton2->setObjectName(QStringLiteral("FilenameButton2"));
    FilenameButton2->setText(QStringLiteral("…"));
    FilenameButton2->setToolTip(tr("Najdi datoteko"));
    auto *picture = new QWidget(this);
    auto *pictureLayout = new QHBoxLayout(picture);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->setSpacing(0);
    pictureLayout->addWidget(FilenameEdit2, 1);
    pictureLayout->addWidget(FilenameButton2);
    addRow(tr("Slika ozadja:"), picture);

    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->addItems({tr("Sinje modra"), tr("Standard"), tr("..Nastavljena")});
    addRow(tr("Barvna shema:"), ComboBox3);

    const QString labels[ColourCount] = {tr("Barva ozadja oken:"), tr("Ozadje glave okna:"), tr("Barva pisave:"),
                                         tr("Ozadje noge okna:"),  tr("Barva gumba:"),        tr("Barva akt. gumba:"),
                                         tr("Barva prit. gumba:"), tr("Barva pisave g.:")};
    for (int i = 0; i < ColourCount; ++i) {
        ColorBoxes[i] = new ColourComboBox(this, ColourComboBox::WithSystemColours);
        ColorBoxes[i]->setObjectName(QStringLiteral("ColorBox%1").arg(i + 1));
        addRow(labels[i], ColorBoxes[i]);
    }
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(layout->rowCount(), 1);

    FilenameEdit2->setEditText(ReadRegString(nastavitve(), QStringLiteral("BackgroundImage")));
    readColours();
    ComboBox3->setCurrentIndex(Nastavljena);
    chooseScheme(Nastavljena);

    connect(ComboBox3, &QComboBox::activated, this, &ThemePage::chooseScheme);
    connect(FilenameButton2, &QToolButton::clicked, this, &ThemePage::choosePicture);
}

void ThemePage::readColours()
{
    const Colours defaults = schemeColours(SinjeModra);
    for (int i = 0; i < ColourCount; ++i) {
        bool ok = false;
        const qint64 value = ReadRegString(barve(), QString::fromLatin1(ColourNames[i])).trimmed().toLongLong(&ok);
        m_stored[i] = ok ? value : defaults[i];
    }
}

void ThemePage::chooseScheme(int scheme)
{
    const Colours colours = scheme == Nastavljena ? m_stored : schemeColours(Scheme(scheme));
    for (int i = 0; i < ColourCount; ++i)
        ColorBoxes[i]->setColourRef(colours[i]);
}

void ThemePage::choosePicture()
{
    QFileDialog dialog(this, tr("Slika ozadja"));
    dialog.setObjectName(QStringLiteral("OpenPictureDialog1"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({tr("Bitna slika (*.BMP *.bmp)"), tr("Slike (*.bmp *.png *.jpg *.jpeg *.gif)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    rememberPicture(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

// The chosen name goes in the field and at the top of the recent names.
void ThemePage::rememberPicture(const QString &file)
{
    const int known = FilenameEdit2->findText(file);
    if (known >= 0)
        FilenameEdit2->removeItem(known);
    FilenameEdit2->insertItem(0, file);
    while (FilenameEdit2->count() > RecentPictures)
        FilenameEdit2->removeItem(FilenameEdit2->count() - 1);
    FilenameEdit2->setEditText(file);
}

bool ThemePage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FilenameEdit2 && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto *drop = static_cast<QDropEvent *>(event);
        const QString file = droppedFile(drop->mimeData());
        if (file.isEmpty())
            return false;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop)
            rememberPicture(QDir::toNativeSeparators(file));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ThemePage::storeBackground()
{
    const QString picture = FilenameEdit2->currentText();
    WriteRegString(nastavitve(), QStringLiteral("BackgroundImage"), picture);
    if (!picture.isEmpty() && picture != QLatin1String("/"))
        rememberPicture(picture);
    if (m_mainWindow)
        m_mainWindow->ShowBackgroundImage(picture);
}

void ThemePage::storeColours()
{
    for (int i = 0; i < ColourCount; ++i) {
        m_stored[i] = ColorBoxes[i]->colourRef();
        WriteRegString(barve(), QString::fromLatin1(ColourNames[i]), QString::number(m_stored[i]));
    }
}
