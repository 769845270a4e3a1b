#pragma once

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QSpinBox;

namespace PanelDesign {
class PanelDesigner;
}

// What the page needs of the upgrade check; without it the page has no version group.
struct UpgradeCheckLink
{
    std::function<bool()> offersInternetCheck;
    std::function<void()> checkNow;
};

// The settings page "Splošno": automatic hiding, language, capitals in names, the
// launcher bar, the upgrade check's interval and the person window's layout.
class GeneralPage : public QWidget
{
    Q_OBJECT
public:
    GeneralPage(const UpgradeCheckLink &upgradeCheck, QWidget *parent = nullptr);

    // The hiding and capitals values, at once.
    void storeBehaviour();
    void storeDesign();
    // The launcher bar and the upgrade check's interval.
    void storeServices();

    void chooseLanguage(int index);

    QCheckBox *CheckBox1;
    QSpinBox *SpinEdit1;
    QComboBox *ComboBox4;
    QCheckBox *CheckBox2;
    QCheckBox *CheckBox3;
    QGroupBox *GroupBox1;
    QSpinBox *SpinEdit2;
    QPushButton *Button1;
    PanelDesign::PanelDesigner *Designer;

private:
    UpgradeCheckLink m_upgradeCheck;
};
