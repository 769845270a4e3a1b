#include "UNamestitev.h"

#include "ColourScheme.h"
#include "FlatButton.h"
#include "UFSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <tuple>

namespace {

QString boxTitle()
{
    return QCoreApplication::applicationName();
}

bool folderExists(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

bool createFolder(const QString &folder)
{
    return !folder.isEmpty() && QDir().mkpath(folder);
}

QLabel *formLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

}

TNamestitev::TNamestitev(const SetupScript &script, QWidget *parent)
    : QDialog(parent)
    , m_script(script)
{
    setObjectName(QStringLiteral("Namestitev"));
    setWindowTitle(tr("Namestitev programa ") + m_script.Ime);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, ColourScheme.CT_WBack);
    setPalette(background);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    Label1 = new VerticalLabel(m_script.Ime, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont name = Label1->font();
    name.setPointSizeF(name.pointSizeF() * 1.6);
    Label1->setFont(name);
    layout->addWidget(Label1);

    auto *body = new QVBoxLayout;
    body->setSpacing(8);
    layout->addLayout(body, 1);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ScriptPicture(m_script.Slika));
    Image1->setVisible(!Image1->pixmap().isNull());
    body->addWidget(Image1, 0, Qt::AlignLeft);

    auto *form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->setColumnStretch(1, 1);
    int row = 0;

    form->addWidget(formLabel(tr("Verzija programa:"), this), row, 0);
    Label3 = new QLabel(m_script.Verzija, this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextFormat(Qt::PlainText);
    form->addWidget(Label3, row++, 1, 1, 2);

    form->addWidget(formLabel(tr("Število datotek:"), this), row, 0);
    Label5 = new QLabel(FormatSourceFiles(CountSourceFiles(m_script)), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    form->addWidget(Label5, row++, 1, 1, 2);

    form->addWidget(formLabel(tr("Deli:"), this), row, 0, Qt::AlignTop);
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    const struct
    {
        QString text;
        bool ticked;
        bool changeable;
    } parts[] = {
        {tr("Namestitev sistemskih knjižnic"), !m_script.Dll.isEmpty(), false},
        {tr("Namestitev baze"), !m_script.Datoteke.isEmpty(), false},
        {tr("Namestitev programskih datotek"), !m_script.Datoteke.isEmpty(), false},
        {tr("Kreiraj bližnjico na namizje"), true, true},
        {tr("Kreiraj grupo v start meni"), true, true},
        {tr("Zaženi program po namestitvi"), true, true},
    };
    for (const auto &part : parts) {
        auto *item = new QListWidgetItem(part.text, CheckListBox1);
        // What the script decides is shown, greyed, but not the user's to change.
        item->setFlags(part.changeable ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags);
        item->setCheckState(part.ticked ? Qt::Checked : Qt::Unchecked);
    }
    CheckListBox1->setFixedHeight(CheckListBox1->sizeHintForRow(0) * CheckListBox1->count()
                                  + 2 * CheckListBox1->frameWidth() + 4);
    form->addWidget(CheckListBox1, row++, 1, 1, 2);

    const auto addField = [&](const QString &caption, const char *name, const QString &text, int columns) {
        form->addWidget(formLabel(caption, this), row, 0);
        auto *field = new QLineEdit(text, this);
        field->setObjectName(QLatin1String(name));
        field->setMinimumWidth(320);
        form->addWidget(field, row, 1, 1, columns);
        return field;
    };
    const auto addBrowseButton = [&](const char *name, QLineEdit *field) {
        auto *button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(QStringLiteral("..."));
        button->setToolTip(tr("Izberite mapo"));
        connect(button, &QToolButton::clicked, this, [this, field] { browseFolder(field); });
        form->addWidget(button, row++, 2);
        return button;
    };
    Edit1 = addField(tr("Ime grupe v start meniju:"), "Edit1", tr("Korvan ") + m_script.Ime, 2);
    ++row;
    Edit2 = addField(tr("Program namesti v:"), "Edit2", m_script.ProgramFolder, 1);
    SpeedButton1 = addBrowseButton("SpeedButton1", Edit2);
    Edit3 = addField(tr("Bazo podatkov namesti v:"), "Edit3", m_script.MrezaFolder, 1);
    SpeedButton2 = addBrowseButton("SpeedButton2", Edit3);
    body->addLayout(form);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *progress = new QGridLayout(Panel1);
    progress->setContentsMargins(0, 6, 0, 0);
    progress->setColumnStretch(1, 1);
    progress->addWidget(formLabel(tr("Namestitev poteka:"), Panel1), 0, 0);
    Label9 = new QLabel(Panel1);
    Label9->setObjectName(QStringLiteral("Label9"));
    progress->addWidget(Label9, 0, 1);
    Label10 = new QLabel(Panel1);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setTextFormat(Qt::PlainText);
    progress->addWidget(Label10, 1, 1);
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setFormat(QStringLiteral("[%p%]"));
    progress->addWidget(ProgressBar1, 2, 0, 1, 2);
    // The panel keeps its room while hidden, so the window does not jump when it shows.
    QSizePolicy keepRoom = Panel1->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    Panel1->setSizePolicy(keepRoom);
    Panel1->hide();
    body->addWidget(Panel1);
    body->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    std::tie(BitBtn1, BitBtn2) = AddInstallButtons(buttons, this);
    body->addLayout(buttons);
    StyleButtons(this);
    connect(BitBtn1, &FlatButton::clicked, this, &TNamestitev::BitBtn1Click);
    connect(BitBtn2, &FlatButton::clicked, this, &TNamestitev::accept);
}

bool TNamestitev::isTicked(Part part) const
{
    return CheckListBox1->item(part)->checkState() == Qt::Checked;
}

std::optional<InstallChoices> TNamestitev::checkChoices()
{
    const ChosenFolders folders{FolderWithSeparator(Edit2->text()), FolderWithSeparator(Edit3->text())};
    const bool makeGroup = isTicked(MenuGroup);
    const QString group = makeGroup ? Edit1->text().trimmed() : QString();
    if (makeGroup && group.isEmpty()) {
        QMessageBox::warning(this, boxTitle(), tr("Vpišite ime grupe!"));
        return std::nullopt;
    }
    const auto confirmed = [this](const QString &question) {
        QMessageBox box(QMessageBox::Question, boxTitle(), question, QMessageBox::Yes | QMessageBox::No, this);
        // In the installer's language, whether or not Qt's own texts are installed.
        box.button(QMessageBox::Yes)->setText(tr("&Da"));
        box.button(QMessageBox::No)->setText(tr("&Ne"));
        return box.exec() == QMessageBox::Yes;
    };
    if (folderExists(folders.Program)
        && !confirmed(tr("Mapa kamor želite namestiti program že obstaja!\nAli želite nadaljevati?")))
        return std::nullopt;
    if (folderExists(folders.Database)
        && !confirmed(tr("Mapa kamor želite namestiti bazo programa že obstaja!\nAli želite nadaljevati?")))
        return std::nullopt;
    if (folderExists(folders.Database) && !DatabaseVersionMatches(m_script, folders)) {
        QMessageBox::warning(this, boxTitle(), tr("Baza podatkov v novi verziji se razlikuje!\nNamestitev ni mogoča!"));
        return std::nullopt;
    }
    if (!createFolder(folders.Program)) {
        QMessageBox::critical(this, boxTitle(), tr("Mapa kamor želite namestiti program je neveljavna!"));
        return std::nullopt;
    }
    if (!createFolder(folders.Database)) {
        QMessageBox::critical(this, boxTitle(), tr("Mapa kamor želite namestiti bazo programa je neveljavna!"));
        return std::nullopt;
    }
    InstallChoices choices;
    choices.Folders = folders;
    choices.Group = group;
    choices.DesktopShortcut = isTicked(DesktopShortcut);
    choices.StartAfter = isTicked(StartAfter);
    return choices;
}

void TNamestitev::BitBtn1Click()
{
    const std::optional<InstallChoices> choices = checkChoices();
    if (!choices)
        return;
    setInputEnabled(false);
    Panel1->show();
    if (Installation(m_script, *choices, *this).run() == InstallResult::ReplaceFailed)
        QMessageBox::critical(this, boxTitle(), tr("Napaka med namestitvijo!\nProgram bo lahko deloval z napakami!"));
    // Either way the installer has done what it could: it ends.
    accept();
}

void TNamestitev::setInputEnabled(bool enabled)
{
    for (QWidget *input : std::initializer_list<QWidget *>{Edit1, Edit2, Edit3, SpeedButton1, SpeedButton2,
                                                           CheckListBox1, BitBtn1, BitBtn2})
        input->setEnabled(enabled);
}

void TNamestitev::browseFolder(QLineEdit *field)
{
    const QString typed = FolderWithSeparator(field->text());
    QFileDialog dialog(this, tr("Izberite mapo"), folderExists(typed) ? typed : QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        field->setText(FolderWithSeparator(dialog.selectedFiles().constFirst()));
}

void TNamestitev::showStep(const QString &caption)
{
    Label9->setText(caption);
    repaint();
}

void TNamestitev::showItem(const QString &name)
{
    Label10->setText(name);
    repaint();
}

void TNamestitev::showProgress(int percent)
{
    ProgressBar1->setValue(percent);
    repaint();
}
