#include "UFAlarm.h"

#include "ColourScheme.h"
#include "FlatButton.h"
#include "UFMain.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

TFAlarm *FAlarm = nullptr;

namespace {

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

}

TFAlarm::TFAlarm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_instance(FAlarm, this)
{
    setObjectName(QStringLiteral("FAlarm"));
    setWindowTitle(tr("Alarm"));
    setModal(true);
    setFixedSize(405, 124);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    auto *main = new QHBoxLayout(Panel1);
    main->setContentsMargins(10, 10, 10, 10);
    main->setSpacing(10);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(67, 71);
    Image1->setAlignment(Qt::AlignCenter);
    main->addWidget(Image1);
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText); // an alarm's name is shown as typed
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = QApplication::font();
    bold.setPixelSize(13);
    bold.setBold(true);
    Label1->setFont(bold);
    main->addWidget(Label1, 1);
    layout->addWidget(Panel1, 1);

    auto *strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel2"));
    strip->setFixedHeight(33);
    strip->setAutoFillBackground(true);
    setColour(strip, QPalette::Window, ColourScheme.CT_WTitleBack);
    auto *buttons = new QHBoxLayout(strip);
    buttons->setContentsMargins(4, 4, 4, 4);
    BitBtn1 = new FlatButton(tr("Zapri"), strip);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    buttons->addWidget(BitBtn1);
    StyleButtons(strip);
    layout->addWidget(strip);
    connect(BitBtn1, &FlatButton::clicked, this, &QDialog::accept);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    connect(Timer1, &QTimer::timeout, this, &TFAlarm::Timer1Timer);
}

void TFAlarm::showAlarm(const QString &text, const QString &caption, bool flashing, const QColor &textColour, const QColor &backColour,
                        const QString &picturePath)
{
    // The timer of an alarm shown before may still be running.
    Timer1->stop();
    setColour(Label1, QPalette::WindowText, textColour);
    setColour(Panel1, QPalette::Window, backColour);
    m_textColour = textColour;
    m_backColour = backColour;
    m_flashing = flashing;

    QPixmap picture;
    if (QFileInfo(picturePath).isFile())
        picture.load(picturePath);
    if (picture.isNull()) {
        Image1->clear();
        Image1->hide();
    } else {
        // Smaller pictures keep their size, larger ones are made to fit.
        const QSize space = Image1->size();
        Image1->setPixmap(picture.size().boundedTo(space) == picture.size()
                              ? picture
                              : picture.scaled(space, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        Image1->show();
    }
    Label1->setText(text);
    setWindowTitle(caption);
    if (flashing)
        Timer1->start();
    if (FMain) {
        // Inside to inside: the frame is not known before the first showing.
        QRect place(QPoint(), size());
        place.moveCenter(FMain->geometry().center());
        setGeometry(place);
    }
    exec();
}

void TFAlarm::Timer1Timer()
{
    if (!m_flashing)
        return;
    const QColor area = Panel1->palette().color(QPalette::Window);
    setColour(Panel1, QPalette::Window, area == m_backColour ? m_textColour : m_backColour);
    const QColor text = Label1->palette().color(QPalette::WindowText);
    setColour(Label1, QPalette::WindowText, text == m_textColour ? m_backColour : m_textColour);
}
