#include "GeneralPage.h"

#include "PanelDesign.h"
#include "PanelDesigner.h"
#include "PublicFunctions.h"
#include "Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

constexpr int Slovenian = 36;
constexpr int English = 1033;

}

GeneralPage::GeneralPage(const UpgradeCheckLink &upgradeCheck, QWidget *parent)
    : QWidget(parent)
    , m_upgradeCheck(upgradeCheck)
{
    setObjectName(QStringLiteral("TabSheet4"));
    auto *layout = new QVBoxLayout(this);
    auto *values = new QGridLayout;
    layout->addLayout(values);
    const auto addRow = [this, values](const QString &label, const QList<QWidget *> &fields) {
        const int row = values->rowCount();
        auto *caption = new QLabel(label, this);
        caption->setBuddy(fields.first());
        values->addWidget(caption, row, 0);
        auto *line = new QHBoxLayout;
        for (QWidget *field : fields)
            line->addWidget(field);
        line->addStretch();
        values->addLayout(line, row, 1);
    };

    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(10, 10000);
    addRow(tr("Skrij po n sekundah:"), {CheckBox1, SpinEdit1});

    ComboBox4 = new QComboBox(this);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->addItems({tr("Slovenski"), tr("Angleški")});
    addRow(tr("Jezik:"), {ComboBox4});

    CheckBox2 = new QCheckBox(this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    addRow(tr("Samodejni preklop med velikimi in malimi začetnicami:"), {CheckBox2});
    CheckBox3 = new QCheckBox(this);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    addRow(tr("Samodejno dodaj v Trellan:"), {CheckBox3});
    values->setColumnStretch(1, 1);

    GroupBox1 = new QGroupBox(tr("Preverjanje nove verzije preko interneta"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    SpinEdit2 = new QSpinBox(GroupBox1);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    SpinEdit2->setRange(0, 365);
    Button1 = new QPushButton(tr("Preveri zdaj"), GroupBox1);
    Button1->setObjectName(QStringLiteral("Button1"));
    auto *group = new QHBoxLayout(GroupBox1);
    auto *interval = new QLabel(tr("Preveri vsake n dni:"), GroupBox1);
    interval->setBuddy(SpinEdit2);
    group->addWidget(interval);
    group->addWidget(SpinEdit2);
    group->addStretch();
    group->addWidget(Button1);
    layout->addWidget(GroupBox1);

    Designer = new PanelDesign::PanelDesigner(this);
    Designer->setObjectName(QStringLiteral("Designer"));
    layout->addWidget(Designer, 1);

    SpinEdit1->setValue(ReadRegInt(nastavitve(), QStringLiteral("SkrijPo"), 120));
    CheckBox1->setChecked(ReadRegBool(nastavitve(), QStringLiteral("SkrijAuto"), false));
    CheckBox2->setChecked(ReadRegBool(nastavitve(), QStringLiteral("AutoShift"), true));
    SpinEdit1->setEnabled(CheckBox1->isChecked());
    ComboBox4->setCurrentIndex(ReadRegInt(nastavitve(), QStringLiteral("LangID"), Slovenian) == Slovenian ? 0 : 1);
    Designer->load(PanelDesign::ReadPanelLayout());
    CheckBox3->setChecked(ReadRegBool(nastavitve(), QStringLiteral("Trellan"), true));
    SpinEdit2->setValue(ReadRegInt(nastavitve(), QStringLiteral("CheckNewVer"), 14));
    GroupBox1->setVisible(m_upgradeCheck.offersInternetCheck && m_upgradeCheck.offersInternetCheck());

    connect(CheckBox1, &QCheckBox::toggled, SpinEdit1, &QWidget::setEnabled);
    connect(ComboBox4, &QComboBox::activated, this, &GeneralPage::chooseLanguage);
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (m_upgradeCheck.checkNow)
            m_upgradeCheck.checkNow();
    });
}

// The language counts from the next start, whether the window is confirmed or not.
void GeneralPage::chooseLanguage(int index)
{
    const int chosen = index == 1 ? English : Slovenian;
    if (chosen == ReadRegInt(nastavitve(), QStringLiteral("LangID"), Slovenian))
        return;
    ShowMessageBox(tr("Za spremembo jezika bo potrebno program ponovno zagnati!"), 0);
    WriteRegString(nastavitve(), QStringLiteral("LangID"), QString::number(chosen));
}

void GeneralPage::storeBehaviour()
{
    WriteRegString(nastavitve(), QStringLiteral("SkrijPo"), QString::number(SpinEdit1->value()));
    WriteRegString(nastavitve(), QStringLiteral("SkrijAuto"), BoolToText(CheckBox1->isChecked()));
    WriteRegString(nastavitve(), QStringLiteral("AutoShift"), BoolToText(CheckBox2->isChecked()));
    AutoShiftNames = CheckBox2->isChecked();
    ClearAutoHideSeconds();
}

void GeneralPage::storeDesign()
{
    PanelDesign::WritePanelLayout(Designer->designText());
}

void GeneralPage::storeServices()
{
    WriteRegString(nastavitve(), QStringLiteral("Trellan"), BoolToText(CheckBox3->isChecked()));
    WriteRegString(nastavitve(), QStringLiteral("CheckNewVer"), QString::number(SpinEdit2->value()));
}
