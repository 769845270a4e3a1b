#pragma once

#include <QWidget>

#include <array>

class ColourComboBox;
class QComboBox;
class QToolButton;
class TFMain;

// The settings page "Tema": the main window's background picture and the eight colours
// of the windows, with the schemes that set all eight at once.
class ThemePage : public QWidget
{
    Q_OBJECT
public:
    enum Scheme { SinjeModra, Standard, Nastavljena };
    static constexpr int ColourCount = 8;
    using Colours = std::array<qint64, ColourCount>;
    // The value names under "Software\Veldra\Barve", in the boxes' order.
    static const std::array<const char *, ColourCount> ColourNames;
    static Colours schemeColours(Scheme scheme);

    ThemePage(TFMain *mainWindow, QWidget *parent = nullptr);

    // Stores the background and shows it at once, then the colours, for the next start.
    void storeBackground();
    void storeColours();

    void chooseScheme(int scheme);
    const Colours &storedColours() const { return m_stored; }

    QComboBox *FilenameEdit2;
    QToolButton *FilenameButton2;
    QComboBox *ComboBox3;
    std::array<ColourComboBox *, ColourCount> ColorBoxes;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readColours();
    void choosePicture();
    void rememberPicture(const QString &file);

    TFMain *m_mainWindow;
    Colours m_stored{};
};
