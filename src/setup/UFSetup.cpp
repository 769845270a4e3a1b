#include "UFSetup.h"

#include "ColourScheme.h"
#include "FlatButton.h"
#include "TextCodec.h"
#include "UNamestitev.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <tuple>

MemoScroll::MemoScroll(int lineCount)
    : m_lineCount(qMax(0, lineCount))
{
}

void MemoScroll::up()
{
    moveTo(m_first - 1);
}

void MemoScroll::down()
{
    moveTo(m_first + 1);
}

void MemoScroll::moveTo(int first)
{
    m_first = qMax(1, qMin(first, m_lineCount - 1));
}

bool MemoScroll::canGoUp() const
{
    return m_first > 1;
}

bool MemoScroll::canGoDown() const
{
    return (m_first - 1) + VisibleLines < m_lineCount;
}

int MemoScroll::markerOffset(int freeSpace) const
{
    const int hidden = m_lineCount - VisibleLines;
    if (hidden <= 0)
        return freeSpace;
    return int(std::lround(double(freeSpace) * qMin(hidden, m_first - 1) / hidden));
}

int LabelMotion::tick()
{
    switch (m_phase) {
    case Phase::Approach:
        m_origin += 5;
        if (m_origin >= 126) {
            m_origin = 130;
            m_phase = Phase::Rest;
            return RestMs;
        }
        return StepMs;
    case Phase::Rest:
        m_phase = Phase::Leave;
        m_origin += 5;
        return StepMs;
    case Phase::Leave:
        m_origin += 5;
        if (m_origin > 250) {
            m_origin = 0;
            m_phase = Phase::Approach;
        }
        return StepMs;
    }
    return StepMs;
}

VerticalLabel::VerticalLabel(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
{
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

void VerticalLabel::setOrigin(int origin)
{
    m_origin = origin;
    update();
}

QSize VerticalLabel::sizeHint() const
{
    return {fontMetrics().height() + 8, fontMetrics().horizontalAdvance(m_text) + 8};
}

void VerticalLabel::paintEvent(QPaintEvent *)
{
    const QFontMetrics metrics = fontMetrics();
    const int length = metrics.horizontalAdvance(m_text);
    // A moving text is placed by its middle, so that it rests whole in the middle of the label.
    const int top = m_origin ? *m_origin - length / 2 : height() - length - 4;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    // The baseline runs upwards through the middle of the label.
    painter.translate((width() + metrics.ascent() - metrics.descent()) / 2, top + length);
    painter.rotate(-90);
    painter.drawText(0, 0, m_text);
}

QPixmap ScriptPicture(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    const QPixmap picture(path);
    if (picture.width() > 160 || picture.height() > 120)
        return picture.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return picture;
}

std::pair<FlatButton *, FlatButton *> AddInstallButtons(QBoxLayout *row, QWidget *window)
{
    auto *install = new FlatButton(QCoreApplication::translate("TFMain", "Namesti"), window);
    install->setObjectName(QStringLiteral("BitBtn1"));
    auto *close = new FlatButton(QCoreApplication::translate("TFMain", "Zapri"), window);
    close->setObjectName(QStringLiteral("BitBtn2"));
    for (FlatButton *button : {install, close}) {
        button->setMinimumSize(90, 28);
        row->addWidget(button);
    }
    return {install, close};
}

namespace {

// The information text is UTF-8, or Windows-1250 as older installers wrote it.
QStringList readMemoLines(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    QString text = TextCodec::decode(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    // A line break at the end closes the last line, it starts none.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QToolButton *scrollButton(const char *name, Qt::ArrowType arrow, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(20, 20);
    return button;
}

}

QString TFMain::makerAddress()
{
    return QStringLiteral("https://veldra.example.org/");
}

TFMain::TFMain(const QString &installerFolder, QWidget *parent)
    : QWidget(parent)
    , m_script(ReadSetupScript(installerFolder))
    , m_memoLines(readMemoLines(m_script.Memo))
    , m_scroll(int(m_memoLines.size()))
{
    setObjectName(QStringLiteral("FMain"));
    const QString caption = tr("Namestitev programa ") + m_script.Ime;
    setWindowTitle(caption);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, ColourScheme.CT_WBack);
    setPalette(background);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);

    auto *top = new QHBoxLayout;
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ScriptPicture(m_script.Slika));
    Image1->setVisible(!Image1->pixmap().isNull());
    top->addWidget(Image1, 0, Qt::AlignTop | Qt::AlignLeft);
    Label1 = new QLabel(caption, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    Label1->setFont(heading);
    top->addWidget(Label1, 1);
    layout->addLayout(top);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(6);
    Label2 = new VerticalLabel(makerAddress(), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setOrigin(m_motion.origin());
    middle->addWidget(Label2);

    Memo1 = new QLabel(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    // A text file from the installation medium: shown as it stands, never as markup.
    Memo1->setTextFormat(Qt::PlainText);
    Memo1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Memo1->setFrameShape(QFrame::StyledPanel);
    Memo1->setMargin(4);
    Memo1->setAutoFillBackground(true);
    QPalette memo = Memo1->palette();
    memo.setColor(QPalette::Window, palette().color(QPalette::Base));
    Memo1->setPalette(memo);
    Memo1->setMinimumWidth(420);
    Memo1->setFixedHeight(MemoScroll::VisibleLines * Memo1->fontMetrics().lineSpacing() + 12);
    Label2->setFixedHeight(Memo1->height());
    middle->addWidget(Memo1, 1);

    auto *scroll = new QVBoxLayout;
    scroll->setSpacing(0);
    SpeedButton1 = scrollButton("SpeedButton1", Qt::UpArrow, this);
    SpeedButton2 = scrollButton("SpeedButton2", Qt::DownArrow, this);
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(SpeedButton1->width());
    Panel2->installEventFilter(this);
    Shape1 = new QWidget(Panel2);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAutoFillBackground(true);
    QPalette marker = Shape1->palette();
    marker.setColor(QPalette::Window, palette().color(QPalette::Mid));
    Shape1->setPalette(marker);
    Shape1->setFixedSize(Panel2->width(), 10);
    scroll->addWidget(SpeedButton1);
    scroll->addWidget(Panel2, 1);
    scroll->addWidget(SpeedButton2);
    middle->addLayout(scroll);
    layout->addLayout(middle, 1);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFMain::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TFMain::SpeedButton2Click);

    auto *bottom = new QHBoxLayout;
    Label3 = new QLabel(m_script.Info, this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextFormat(Qt::PlainText);
    bottom->addWidget(Label3, 1);
    std::tie(BitBtn1, BitBtn2) = AddInstallButtons(bottom, this);
    layout->addLayout(bottom);
    StyleButtons(this);
    connect(BitBtn1, &FlatButton::clicked, this, &TFMain::BitBtn1Click);
    connect(BitBtn2, &FlatButton::clicked, this, &TFMain::close);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(LabelMotion::StepMs);
    connect(Timer1, &QTimer::timeout, this, &TFMain::Timer1Timer);

    showMemo();
}

void TFMain::showMemo()
{
    Memo1->setText(m_memoLines.mid(m_scroll.firstLine() - 1, MemoScroll::VisibleLines).join(QLatin1Char('\n')));
    SpeedButton1->setEnabled(m_scroll.canGoUp());
    SpeedButton2->setEnabled(m_scroll.canGoDown());
    placeMarker();
}

void TFMain::placeMarker()
{
    // The marker's own height is kept out of the free space, so it never covers a button.
    Shape1->move(0, m_scroll.markerOffset(qMax(0, Panel2->height() - Shape1->height())));
}

void TFMain::SpeedButton1Click()
{
    m_scroll.up();
    showMemo();
}

void TFMain::SpeedButton2Click()
{
    m_scroll.down();
    showMemo();
}

void TFMain::Timer1Timer()
{
    Timer1->start(m_motion.tick());
    Label2->setOrigin(m_motion.origin());
}

void TFMain::BitBtn1Click()
{
    auto *options = new TNamestitev(m_script, this);
    m_options = options;
    const int result = options->exec();
    delete options;
    // The options window returns only to be closed, or when the installation is over.
    if (result == QDialog::Accepted)
        close();
}

void TFMain::restoreAndRaise()
{
    if (isMinimized() || !isVisible())
        showNormal();
    raise();
    activateWindow();
    if (m_options) {
        m_options->raise();
        m_options->activateWindow();
    }
}

void TFMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Timer1->start();
}

void TFMain::hideEvent(QHideEvent *event)
{
    Timer1->stop();
    QWidget::hideEvent(event);
}

bool TFMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel2 && event->type() == QEvent::Resize)
        placeMarker();
    return QWidget::eventFilter(watched, event);
}
