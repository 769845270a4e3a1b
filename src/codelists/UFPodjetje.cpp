#include "UFPodjetje.h"

#include "ColourScheme.h"
#include "Dataset.h"
#include "DatasetBinder.h"
#include "FrameActivation.h"
#include "PictureLink.h"
#include "Settings.h"
#include "UDataMod.h"

#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}

TFPodjetje::TFPodjetje(QWidget *parent)
    : QWidget(parent)
    , m_company(DataMod->QPodjetje)
{
    setObjectName(QStringLiteral("FPodjetje"));
    setWindowTitle(tr("Uporabnik"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_company->setUpdateTable(QStringLiteral("TMaticniPodaci"));
    m_binder = new DatasetBinder(m_company, this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *title = new QLabel(tr("Uporabnik"), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(22);
    title->setFont(titleFont);
    title->setMargin(8);
    title->setAutoFillBackground(true);
    title->setStyleSheet(QStringLiteral("background: %1; color: %2;").arg(ColourScheme.CT_WTitleBack.name(), ColourScheme.CT_WTitleFont.name()));
    layout->addWidget(title);

    auto *body = new QWidget(this);
    body->setAutoFillBackground(true);
    QPalette back = body->palette();
    back.setColor(QPalette::Window, ColourScheme.CT_WBack);
    body->setPalette(back);
    auto *grid = new QGridLayout(body);
    grid->setContentsMargins(8, 8, 10, 8);
    layout->addWidget(body, 1);

    const auto text = [&](const char *field) {
        auto *edit = new QLineEdit(body);
        edit->setObjectName(QString::fromLatin1(field));
        m_binder->bind(edit, QString::fromLatin1(field));
        return edit;
    };
    int row = 0;
    const auto line = [&](const QString &label, QWidget *field, const QString &secondLabel = QString(), QWidget *second = nullptr) {
        grid->addWidget(caption(label, body), row, 0);
        grid->addWidget(field, row, 1, 1, second ? 1 : 3);
        if (second) {
            grid->addWidget(caption(secondLabel, body), row, 2);
            grid->addWidget(second, row, 3);
        }
        ++row;
    };
    line(tr("Naziv oz. ime:"), text("Naziv"));
    line(tr("Naslov:"), text("Naslov"));
    line(tr("Postna st.:"), text("PSt"), tr("Kraj:"), text("Kraj"));
    line(tr("Davčna št.:"), text("DavcnaSt"));
    line(tr("Matična št.:"), text("MaticnaSt"));
    line(tr("TRR račun:"), text("TRR"));
    line(tr("Vložek:"), text("Vlozek"), tr("Številka:"), text("VlozekNum"));
    auto *capital = new QDoubleSpinBox(body);
    capital->setObjectName(QStringLiteral("OsnovniKapital"));
    capital->setRange(0, 1e13);
    capital->setDecimals(2);
    capital->setGroupSeparatorShown(true);
    capital->setButtonSymbols(QAbstractSpinBox::NoButtons);
    capital->setAlignment(Qt::AlignRight);
    m_binder->bind(capital, QStringLiteral("OsnovniKapital"));
    line(tr("Osnovni kapital:"), capital, tr("Valuta:"), text("OsnovniKapitalVal"));
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    body->setMinimumWidth(560);

    // The header is kept as "M", the company number and the chosen file's extension.
    m_header = new PictureLink(m_company, QStringLiteral("LogoForReportsFName"),
                               {QString(),
                                tr("Glava za tisk..."),
                                {tr("Vse (*.jpg *.jpeg *.bmp)"), tr("JPEG slika (*.jpg)"), tr("JPEG slika (*.jpeg)"), tr("Bitmap slika (*.bmp)")},
                                0,
                                {QStringLiteral(".JPG"), QStringLiteral(".JPEG"), QStringLiteral(".BMP")},
                                [](const QFileInfo &chosen) {
                                    return QStringLiteral("M%1.%2").arg(GetCompanyId()).arg(chosen.suffix());
                                },
                                true},
                               body);
    m_header->setMinimumHeight(120);
    grid->addWidget(caption(tr("Glava za tisk:"), body), row, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(m_header, row, 1, 1, 3);
    grid->setRowStretch(row, 1);

    // A company row that is not there yet is made when something is typed for it.
    connect(m_company, &Dataset::beforePost, this, [this] {
        if (m_company->value(QStringLiteral("IDFirma")).isNull())
            m_company->setValue(QStringLiteral("IDFirma"), GetCompanyId());
    });
    FormActivate();
}

void TFPodjetje::FormActivate()
{
    if (!m_company->isOpen())
        m_company->open();
    if (m_company->isEmpty() && m_company->state() == Dataset::State::Browse)
        m_company->append();
}

void TFPodjetje::FormDeactivate()
{
    m_company->checkBrowseMode();
}

void TFPodjetje::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_frame)
        return;
    m_frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!m_frame)
        return;
    m_frame->setWindowFlags(Qt::SubWindow | Qt::WindowSystemMenuHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_frame->adjustSize();
    // Centred in the main window's workspace.
    if (QWidget *area = m_frame->parentWidget())
        m_frame->move(qMax(0, (area->width() - m_frame->width()) / 2), qMax(0, (area->height() - m_frame->height()) / 2));
    FollowFrameActivation(m_frame, this, [this] { FormActivate(); }, [this] { FormDeactivate(); });
}

void TFPodjetje::closeEvent(QCloseEvent *event)
{
    FormDeactivate();
    QWidget::closeEvent(event);
}
