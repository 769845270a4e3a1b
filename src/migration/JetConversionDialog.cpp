#include "JetConversionDialog.h"

#include "DatabaseError.h"
#include "PublicFunctions.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// Thrown from the progress to stop the conversion where it is.
struct Cancelled
{
};

}

JetConversionDialog::JetConversionDialog(const QString &question, Conversion conversion, QWidget *parent)
    : QDialog(parent)
    , m_conversion(std::move(conversion))
{
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    setModal(true);
    m_text = new QLabel(question);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A long summary scrolls.
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_text);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_progress = new QProgressBar;
    m_progress->setRange(0, 1000);
    m_progress->hide();
    m_no = new QPushButton(tr("Ne"));
    m_yes = new QPushButton(tr("Da"));
    m_cancel = new QPushButton(tr("Prekliči"));
    m_ok = new QPushButton(tr("V redu"));
    m_cancel->hide();
    m_ok->hide();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_no);
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_yes);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    resize(520, 260);
    connect(m_no, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_yes, &QPushButton::clicked, this, &JetConversionDialog::convert);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelRequested = true; });
    connect(m_ok, &QPushButton::clicked, this, [this] { done(m_outcome == Outcome::Converted ? Accepted : Rejected); });
}

void JetConversionDialog::reject()
{
    // Closed while converting: stopped as with "Prekliči", once the conversion has let go.
    if (m_converting) {
        m_cancelRequested = true;
        return;
    }
    QDialog::reject();
}

void JetConversionDialog::convert()
{
    m_no->hide();
    m_yes->hide();
    m_cancel->show();
    m_progress->show();
    m_text->setText(tr("Pretvarjanje podatkov ..."));
    m_converting = true;
    try {
        const QString summary = m_conversion([this](qint64 done, qint64 total) { showProgress(done, total); });
        m_outcome = Outcome::Converted;
        m_converting = false;
        showEnd(summary);
    } catch (const Cancelled &) {
        m_outcome = Outcome::Cancelled;
        m_converting = false;
        showEnd(tr("Pretvorba je prekinjena. Datoteka je ostala, kakršna je bila."));
    } catch (const DatabaseError &error) {
        m_outcome = Outcome::Failed;
        m_failure = error.message();
        m_converting = false;
        done(Rejected);
    }
}

void JetConversionDialog::showProgress(qint64 done, qint64 total)
{
    m_progress->setValue(int(done * 1000 / std::max<qint64>(total, 1)));
    QCoreApplication::processEvents();
    if (m_cancelRequested)
        throw Cancelled();
}

void JetConversionDialog::showEnd(const QString &text)
{
    m_progress->hide();
    m_cancel->hide();
    m_ok->show();
    m_ok->setFocus();
    m_text->setText(text);
}
