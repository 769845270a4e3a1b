#include "ContactList.h"

#include "DatasetBinder.h"
#include "FlatButton.h"
#include "MailSending.h"
#include "PictureFiles.h"
#include "PublicFunctions.h"
#include "RecordRowList.h"
#include "UFDUKontakt.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace {

// Kinds of contact type that the person window can use.
enum ContactKind { EMail = 1, InternetAddress = 2 };

}

ContactList::ContactList(SectionPanel *section, const bool &windowReady, QObject *parent)
    : SubRecordList({"ADOQuery1",
                     {QStringLiteral("SELECT TOsnovniPodVezaKontakt.ID, TOsnovniPodVezaKontakt.IDOsebe, TOsnovniPodVezaKontakt.IDKontat, "
                                     "TOsnovniPodVezaKontakt.Value, TKontakti.Sort, TKontakti.Naziv, TKontakti.IkonaPath, TKontakti.Vrsta"),
                      QStringLiteral("FROM TOsnovniPodVezaKontakt INNER JOIN TKontakti ON TOsnovniPodVezaKontakt.IDKontat = TKontakti.ID"),
                      QStringLiteral("WHERE (((TOsnovniPodVezaKontakt.IDOsebe)=:IDOsebe ))"), QStringLiteral("ORDER BY TKontakti.Sort;")},
                     "TOsnovniPodVezaKontakt",
                     {QStringLiteral("Value")},
                     "TKontakti",
                     true,
                     40,
                     1},
                    section, windowReady, parent)
{
    connect(addButton("FlatButton3", tr("Uredi"), tr("Uredi kontakt")), &FlatButton::clicked, this, &ContactList::FlatButton3Click);
    connect(addButton("FlatButton4", tr("Briši"), tr("Izbriši kontakt")), &FlatButton::clicked, this, &ContactList::FlatButton4Click);
    connect(addButton("FlatButton2", tr("Dodaj"), tr("Dodaj kontakt")), &FlatButton::clicked, this, &ContactList::FlatButton2Click);
}

void ContactList::buildRow(QWidget *row, DatasetBinder *binder)
{
    auto *layout = new QHBoxLayout(row);
    // The name and the value reach to 5 pixels before the row's right edge.
    layout->setContentsMargins(4, 2, 5, 2);
    auto *picture = new QLabel(row);
    picture->setObjectName(QStringLiteral("DBImageMy1"));
    picture->setFixedSize(26, 26);
    picture->setAlignment(Qt::AlignCenter);
    picture->setCursor(Qt::PointingHandCursor);
    picture->installEventFilter(this);
    binder->bindDisplay(picture, QStringLiteral("IkonaPath"), [picture](const QVariant &file) {
        const QPixmap icon = PictureFile(QStringLiteral("Kontakti"), file.toString());
        picture->setPixmap(icon.isNull() ? icon : icon.scaled(picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    });
    auto *name = new QLabel(row);
    name->setObjectName(QStringLiteral("DBText1"));
    name->setMinimumWidth(90);
    binder->bindDisplay(name, QStringLiteral("Naziv"), [name](const QVariant &value) { name->setText(value.toString()); });
    auto *value = new QLineEdit(row);
    value->setObjectName(QStringLiteral("DBEdit8"));
    binder->bind(value, QStringLiteral("Value"));
    layout->addWidget(picture);
    layout->addWidget(name, 1);
    layout->addWidget(value, 2);
}

bool ContactList::eventFilter(QObject *watched, QEvent *event)
{
    // The list has made the clicked row current when the button went down.
    if (watched->objectName() == QLatin1String("DBImageMy1") && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        DBImageMy1Click();
        return true;
    }
    return SubRecordList::eventFilter(watched, event);
}

void ContactList::doubleClicked()
{
    if (m_query->isOpen() && !m_query->isEmpty())
        FlatButton3Click();
    else
        FlatButton2Click();
}

void ContactList::FlatButton2Click()
{
    if (!FDUKontakt->ask(tr("Dodaj kontakt"), QVariant(), QString()))
        return;
    m_query->append();
    m_query->setValue(QStringLiteral("IDOsebe"), personId());
    m_query->setValue(QStringLiteral("IDKontat"), FDUKontakt->contactType());
    m_query->setValue(QStringLiteral("Value"), FDUKontakt->value());
    m_query->postOrCancel();
    requeryAt(m_query->value(QStringLiteral("ID")));
}

void ContactList::FlatButton3Click()
{
    if (!m_query->isOpen() || m_query->isEmpty())
        return;
    m_query->checkBrowseMode();
    if (!FDUKontakt->ask(tr("Uredi kontakt"), m_query->value(QStringLiteral("IDKontat")),
                         m_query->value(QStringLiteral("Value")).toString()))
        return;
    m_query->setValue(QStringLiteral("IDKontat"), FDUKontakt->contactType());
    m_query->setValue(QStringLiteral("Value"), FDUKontakt->value());
    m_query->post();
    requeryAt(m_query->value(QStringLiteral("ID")));
}

void ContactList::DBImageMy1Click()
{
    m_query->checkBrowseMode();
    const QString value = m_query->value(QStringLiteral("Value")).toString().trimmed();
    if (value.isEmpty())
        return;
    switch (m_query->value(QStringLiteral("Vrsta")).toInt()) {
    case EMail:
        SendMail(list()->window(), {QStringLiteral("to=") + value});
        break;
    case InternetAddress:
        OpenDocument(value);
        break;
    default:
        ShowMessageBox(tr("Kontakta ni mogoče uporabiti!"), 0);
        break;
    }
}
