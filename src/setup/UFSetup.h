#pragma once

#include "SetupScript.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <utility>

class FlatButton;
class QBoxLayout;
class QLabel;
class QPixmap;
class QTimer;
class QToolButton;
class TNamestitev;

// Slika, shown at the top left of both installer windows; none when the file is missing
// or no picture, and a large one made smaller.
QPixmap ScriptPicture(const QString &path);

// "Namesti" and "Zapri" at the end of a row, as both installer windows have them.
std::pair<FlatButton *, FlatButton *> AddInstallButtons(QBoxLayout *row, QWidget *window);

// Which lines of the information text the welcome window shows: 17 from the first line
// (counted from 1), moved one at a time by the up and down buttons. The rules count the
// lines scrolled past the top (first line - 1), so that the down button stops exactly
// when the last line has come into view.
class MemoScroll
{
public:
    static constexpr int VisibleLines = 17;

    explicit MemoScroll(int lineCount = 0);

    int lineCount() const { return m_lineCount; }
    int firstLine() const { return m_first; }
    void up();
    void down();

    bool canGoUp() const;
    bool canGoDown() const;
    // Where the position marker's lower edge stands below its upper end, given the free
    // space between the buttons: at the lower end while everything fits.
    int markerOffset(int freeSpace) const;

private:
    void moveTo(int first);

    int m_lineCount;
    int m_first = 1;
};

// The motion of the welcome window's vertical label: in steps down to the middle, a rest
// there, on past the end, and from the top again.
class LabelMotion
{
public:
    static constexpr int StepMs = 100;
    static constexpr int RestMs = 2000;

    int origin() const { return m_origin; }
    // One timer tick: moves the origin and returns the time to the next tick.
    int tick();

private:
    enum class Phase { Approach, Rest, Leave };
    int m_origin = 0;
    Phase m_phase = Phase::Approach;
};

// A text turned by 90 degrees, reading upwards. Its origin is the middle of the text;
// without one the text stands at the lower end.
class VerticalLabel : public QWidget
{
    Q_OBJECT
public:
    explicit VerticalLabel(const QString &text, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setOrigin(int origin);
    std::optional<int> origin() const { return m_origin; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    std::optional<int> m_origin;
};

// The installer's welcome window: the product's name and picture, the information text
// with its scroll buttons, and the way to the options window. Closing it ends the installer.
class TFMain : public QWidget
{
    Q_OBJECT
public:
    explicit TFMain(const QString &installerFolder, QWidget *parent = nullptr);

    static QString makerAddress();

    const SetupScript &script() const { return m_script; }
    const MemoScroll &memoScroll() const { return m_scroll; }
    // The options window while it is open.
    TNamestitev *optionsWindow() const { return m_options; }

    QLabel *Image1;             // the picture
    QLabel *Label1;             // the heading
    QLabel *Memo1;              // the information text
    QToolButton *SpeedButton1;  // up
    QToolButton *SpeedButton2;  // down
    QWidget *Panel2;            // the room between them
    QWidget *Shape1;            // the position marker
    VerticalLabel *Label2;      // the maker's address
    QTimer *Timer1;
    QLabel *Label3;             // Info
    FlatButton *BitBtn1;        // "Namesti"
    FlatButton *BitBtn2;        // "Zapri"

    void SpeedButton1Click();
    void SpeedButton2Click();
    void Timer1Timer();
    void BitBtn1Click();

    // A second start of the installer brings this one back, the options window on top.
    void restoreAndRaise();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMemo();
    void placeMarker();

    SetupScript m_script;
    QStringList m_memoLines;
    MemoScroll m_scroll;
    LabelMotion m_motion;
    QPointer<TNamestitev> m_options;
};
