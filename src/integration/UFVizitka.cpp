#include "UFVizitka.h"

#include "ButtonStrip.h"
#include "ColourScheme.h"
#include "FlatButton.h"
#include "PublicFunctions.h"
#include "Settings.h"
#include "TextBlock.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

TFVizitka *FVizitka = nullptr;

namespace {

constexpr int ScrollIntervalMs = 50;
constexpr int ScrollStep = 1; // pixels per interval

}

QString TFVizitka::makerAddress()
{
    return QStringLiteral("https://veldra.example.org/");
}

TFVizitka::TFVizitka(const QString &latestVersion, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_instance(FVizitka, this)
{
    setObjectName(QStringLiteral("FVizitka"));
    setWindowTitle(tr("Vizitka"));
    resize(340, 320);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(10, 10, 10, 10);
    body->setSpacing(8);
    layout->addLayout(body, 1);

    auto *top = new QHBoxLayout;
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap logo(QStringLiteral(":/images/veldra.png"));
    if (!logo.isNull())
        Image1->setPixmap(logo.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    top->addWidget(Image1);
    top->addStretch();
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFocusPolicy(Qt::NoFocus);
    Edit1->setAlignment(Qt::AlignRight);
    Edit1->setToolTip(tr("Verzija programa"));
    Edit1->setText(GetProgramVersion() + QLatin1Char(' '));
    Edit1->setMaximumWidth(Edit1->fontMetrics().horizontalAdvance(QStringLiteral("0000.00000")) + 12);
    top->addWidget(Edit1, 0, Qt::AlignTop);
    body->addLayout(top);

    // The text is a label inside a panel that clips it; scrolling moves the label.
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAutoFillBackground(true);
    QPalette panel = Panel2->palette();
    panel.setColor(QPalette::Window, ColourScheme.CT_WBack);
    Panel2->setPalette(panel);
    Panel2->setMinimumHeight(150);
    Panel2->installEventFilter(this);
    body->addWidget(Panel2, 1);

    QStringList lines{
        tr("Program Veldra     ver.: ") + GetProgramVersion(),
        tr("Razvijalci programa Veldra, %1").arg(QDate::currentDate().year()),
        tr("Prosta programska oprema z licenco MIT"),
        QString(),
        QLatin1Char('[') + tr("Novosti v verziji") + QLatin1Char(' ') + latestVersion + QLatin1Char(']'),
    };
    QString news = ReadTextBlock(GetDataFolder() + QStringLiteral("LastVer.ini"), QStringLiteral("Novosti"));
    news.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Label1 = new QLabel(Panel2);
    Label1->setObjectName(QStringLiteral("Label1"));
    // The news come from a shared file: shown as text, never as markup.
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n') + news);

    Label2 = new QLabel(makerAddress(), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setAlignment(Qt::AlignHCenter);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->setToolTip(makerAddress());
    QFont underlined = Label2->font();
    underlined.setUnderline(true);
    Label2->setFont(underlined);
    QPalette link = Label2->palette();
    link.setColor(QPalette::WindowText, link.color(QPalette::Link));
    Label2->setPalette(link);
    Label2->installEventFilter(this);
    body->addWidget(Label2);

    auto *strip = new ButtonStrip(this);
    strip->addStretch();
    BitBtn1 = strip->addButton("BitBtn1", tr("&Zapri"));
    layout->addWidget(strip);
    connect(BitBtn1, &FlatButton::clicked, this, &TFVizitka::accept);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(ScrollIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TFVizitka::Timer1Timer);
}

void TFVizitka::Timer1Timer()
{
    Label1->move(0, Label1->y() - ScrollStep);
    if (Label1->geometry().bottom() < 0)
        Label1->move(0, Panel2->height());
}

void TFVizitka::fitText()
{
    Label1->resize(Panel2->width(), Label1->heightForWidth(Panel2->width()));
}

void TFVizitka::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Over the middle of the main window, wherever that is now.
    if (const QWidget *main = parentWidget() ? parentWidget()->window() : nullptr)
        move(main->frameGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    Label1->move(0, Panel2->height());
    Timer1->start();
}

void TFVizitka::hideEvent(QHideEvent *event)
{
    Timer1->stop();
    QDialog::hideEvent(event);
}

bool TFVizitka::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel2 && event->type() == QEvent::Resize)
        fitText();
    if (watched == Label2 && event->type() == QEvent::MouseButtonRelease) {
        const auto *click = static_cast<QMouseEvent *>(event);
        if (click->button() == Qt::LeftButton && Label2->rect().contains(click->position().toPoint()))
            OpenDocument(makerAddress());
    }
    return QDialog::eventFilter(watched, event);
}
