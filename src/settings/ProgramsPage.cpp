#include "ProgramsPage.h"

#include "ExternalPrograms.h"
#include "FileIcon.h"
#include "FlatButton.h"
#include "IniFile.h"
#include "MenuShortcuts.h"
#include "ProgramPaths.h"
#include "PublicFunctions.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const QString Moduli = QStringLiteral("Moduli.ini");
constexpr int FirstNumber = 1100;

QString groupOrDefault(const QString &group)
{
    return group.isEmpty() ? QStringLiteral("Programi") : group;
}

// The node shows the small icon where the file has one.
QIcon smallIcon(const QString &path)
{
    const QIcon icon = GetFileIcon(path);
    const QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty() || sizes.contains(QSize(16, 16)))
        return icon;
    return QIcon(icon.pixmap(sizes.first()).scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}

// One program of the tree; its text is its caption.
class ProgramsPage::ProgramNode : public QTreeWidgetItem
{
public:
    int number = 0;
    QString menu;
    QString key;
    QString path;

    QString caption() const { return text(0); }
    void setPath(const QString &file)
    {
        path = file;
        setIcon(0, smallIcon(file));
    }
};

ProgramsPage::ProgramsPage(QMenuBar *mainMenu, QWidget *parent)
    : QWidget(parent)
    , m_mainMenu(mainMenu)
{
    setObjectName(QStringLiteral("TabSheet2"));
    const auto smallButton = [this](const char *name, const QString &caption, const QString &hint) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(hint);
        return button;
    };
    Dodaj = smallButton("Dodaj", tr("Dodaj"), tr("Dodaj povezevo na program"));
    Odstrani = smallButton("Odstrani", tr("Odstrani"), tr("Odstrani povezavo na program"));

    TreeView2 = new QTreeWidget(this);
    TreeView2->setObjectName(QStringLiteral("TreeView2"));
    TreeView2->setToolTip(tr("Programi"));
    TreeView2->setHeaderHidden(true);
    TreeView2->setRootIsDecorated(false);
    TreeView2->setAllColumnsShowFocus(true);
    TreeView2->setEditTriggers(QAbstractItemView::NoEditTriggers);

    // The path changes through the dialog alone, so that nothing typed here is lost unseen.
    FilenameEdit1 = new QLineEdit(this);
    FilenameEdit1->setObjectName(QStringLiteral("FilenameEdit1"));
    FilenameEdit1->setToolTip(tr("Izvorna datoteka"));
    FilenameEdit1->setReadOnly(true);
    FilenameButton = new QToolButton(this);
    FilenameButton->setObjectName(QStringLiteral("FilenameButton"));
    FilenameButton->setText(QStringLiteral("…"));
    FilenameButton->setToolTip(tr("Izvorna datoteka"));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setToolTip(tr("V glavnem meniju"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setToolTip(tr("V podmeniju"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Dodaj);
    buttons->addWidget(Odstrani);
    buttons->addStretch();
    auto *file = new QHBoxLayout;
    file->setSpacing(0);
    file->addWidget(FilenameEdit1, 1);
    file->addWidget(FilenameButton);
    auto *layout = new QGridLayout(this);
    layout->addLayout(buttons, 0, 0, 1, 2);
    layout->addWidget(TreeView2, 1, 0, 1, 2);
    layout->addLayout(file, 2, 0, 1, 2);
    layout->addWidget(new QLabel(tr("Meni:"), this), 3, 0);
    layout->addWidget(ComboBox1, 3, 1);
    layout->addWidget(new QLabel(tr("Podmeni:"), this), 4, 0);
    layout->addWidget(ComboBox2, 4, 1);
    layout->setColumnStretch(1, 1);

    fill();
    showSelected();
    connect(TreeView2, &QTreeWidget::currentItemChanged, this, &ProgramsPage::showSelected);
    connect(Dodaj, &FlatButton::clicked, this, &ProgramsPage::addProgram);
    connect(Odstrani, &FlatButton::clicked, this, &ProgramsPage::removeProgram);
    connect(FilenameButton, &QToolButton::clicked, this, &ProgramsPage::choosePath);
    connect(ComboBox1, &QComboBox::editTextChanged, this, &ProgramsPage::takeMenuName);
    connect(ComboBox2, &QComboBox::editTextChanged, this, &ProgramsPage::takeCaption);
}

void ProgramsPage::fill()
{
    const QList<ExternalProgram> programs = ReadExternalPrograms(Moduli);
    for (int line = 0; line < programs.size(); ++line) {
        const ExternalProgram &program = programs[line];
        addNode(FirstNumber + line, groupOrDefault(program.group),
                WithoutAccelerators(program.caption.isEmpty() ? program.key : program.caption), program.key, program.path);
    }
    for (const QAction *top : m_mainMenu->actions())
        if (!top->isSeparator() && top->text() != QLatin1String("-"))
            ComboBox1->addItem(WithoutAccelerators(top->text()));
}

ProgramsPage::ProgramNode *ProgramsPage::addNode(int number, const QString &menu, const QString &caption,
                                                 const QString &key, const QString &path)
{
    auto *node = new ProgramNode;
    node->number = number;
    node->menu = menu;
    node->setText(0, caption);
    node->key = key;
    node->setPath(path);
    TreeView2->addTopLevelItem(node);
    return node;
}

ProgramsPage::ProgramNode *ProgramsPage::selectedNode() const
{
    return static_cast<ProgramNode *>(TreeView2->currentItem());
}

void ProgramsPage::showSelected()
{
    const ProgramNode *node = selectedNode();
    for (QWidget *field : {static_cast<QWidget *>(FilenameEdit1), static_cast<QWidget *>(FilenameButton),
                           static_cast<QWidget *>(ComboBox1), static_cast<QWidget *>(ComboBox2)})
        field->setEnabled(node);
    if (!node)
        return;
    // Showing a node is no edit of it.
    const QSignalBlocker quietMenu(ComboBox1);
    const QSignalBlocker quietCaption(ComboBox2);
    FilenameEdit1->setText(node->path);
    ComboBox1->setEditText(node->menu);
    ComboBox2->clear();
    ComboBox2->addItems({node->caption(), node->key});
    ComboBox2->setEditText(node->caption());
}

void ProgramsPage::takeMenuName(const QString &text)
{
    if (ProgramNode *node = selectedNode())
        node->menu = text;
}

void ProgramsPage::takeCaption(const QString &text)
{
    if (ProgramNode *node = selectedNode())
        node->setText(0, text);
}

QString ProgramsPage::chooseProgramFile(const QString &title, const QString &preset)
{
    QFileDialog dialog(this, title);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Programs here rarely have an extension: the second filter shows them.
    dialog.setNameFilters({tr("Programi (*.exe *.bat *.com *.sh *.desktop *.AppImage)"), tr("Vse datoteke (*)")});
    if (!preset.isEmpty())
        dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().first();
    return QFileInfo(chosen).isFile() ? chosen : QString();
}

void ProgramsPage::choosePath()
{
    ProgramNode *node = selectedNode();
    if (!node)
        return;
    const QString chosen = chooseProgramFile(tr("Poišci"), node->path);
    if (chosen.isEmpty() || selectedNode() != node)
        return;
    node->setPath(chosen);
    FilenameEdit1->setText(chosen);
}

void ProgramsPage::addProgram()
{
    const QString chosen = chooseProgramFile(tr("Dodaj zunanji program oz. datoteko"), QString());
    if (chosen.isEmpty())
        return;
    const ProgramNode *before = selectedNode();
    const QString name = WithoutAccelerators(QFileInfo(chosen).completeBaseName());
    ProgramNode *node = addNode(FirstNumber + TreeView2->topLevelItemCount(),
                                before ? before->menu : QStringLiteral("Programi"), name, name, chosen);
    TreeView2->setCurrentItem(node);
}

void ProgramsPage::removeProgram()
{
    if (!selectedNode() || ShowMessageBox(tr("Ali želite odstraniti povezavo na program oz. datoteko?"), 4) != 6)
        return;
    delete selectedNode();
    showSelected();
}

void ProgramsPage::store()
{
    QList<ExternalProgram> entries;
    for (int i = 0; i < TreeView2->topLevelItemCount(); ++i) {
        const auto *node = static_cast<const ProgramNode *>(TreeView2->topLevelItem(i));
        entries.append({node->key, node->path, node->menu, node->caption()});
    }
    try {
        const QList<ExternalProgram> written = WriteExternalPrograms(Moduli, entries);
        // The nodes keep the keys the file now has, so that a later store finds them again.
        for (int i = 0; i < written.size() && i < TreeView2->topLevelItemCount(); ++i)
            static_cast<ProgramNode *>(TreeView2->topLevelItem(i))->key = written[i].key;
    } catch (const IniWriteError &) {
        ShowMessageBox(tr("Seznama zunanjih programov ni mogoče shraniti v datoteko %1!")
                           .arg(QDir::toNativeSeparators(ProgramPaths::programFolder() + Moduli)),
                       0);
    }
    RemoveProgramMenus(m_mainMenu);
    BuildProgramMenus(Moduli, m_mainMenu, ZunanjiProgramiClick);
}
