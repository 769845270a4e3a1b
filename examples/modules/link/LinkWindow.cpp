// Copyright (c) the Veldra developers. MIT licence, see LICENSE.
#include "LinkWindow.h"

#include "LinkRecords.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LinkWindow::LinkWindow(QWidget *parent)
    : QWidget(parent), m_number(new QLabel(this)), m_name(new QLabel(this)), m_note(new QLineEdit(this)),
      m_save(new QPushButton(QStringLiteral("Shrani"), this)), m_status(new QLabel(this))
{
    // Names the program's tests and the module's own find the controls by.
    setObjectName(QStringLiteral("PrimerPovezava"));
    m_number->setObjectName(QStringLiteral("LabelStevilka"));
    m_name->setObjectName(QStringLiteral("LabelNaziv"));
    m_note->setObjectName(QStringLiteral("EditOpomba"));
    m_save->setObjectName(QStringLiteral("ButtonShrani"));
    m_status->setObjectName(QStringLiteral("LabelStanje"));

    auto *title = new QLabel(QStringLiteral("Primer povezave"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Številka:"), m_number);
    fields->addRow(QStringLiteral("Naziv:"), m_name);
    fields->addRow(QStringLiteral("Opomba:"), m_note);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_save);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(m_save, &QPushButton::clicked, this, [this] { save(); });
    clear(QStringLiteral("Oseba ni povezana."));
}

void LinkWindow::ShowRecord(int personId, int record, bool edit)
{
    m_personId = personId;
    if (record == 0) {
        clear(QStringLiteral("Oseba ni povezana."));
        return;
    }
    try {
        const std::optional<LinkRecord> found = LinkRecords::Find(LinkRecords::Database(), record);
        if (!found) {
            clear(QStringLiteral("Zapisa %1 ni.").arg(record));
            return;
        }
        m_record = found->Id;
        m_number->setText(QString::number(found->Id));
        m_name->setText(found->Name);
        m_note->setText(found->Note);
        m_status->clear();
        setEditing(edit);
    } catch (const ModuleError &error) {
        clear(error.Text());
    }
}

void LinkWindow::NameChanged(int record, const QString &name)
{
    if (record != 0 && record == m_record)
        m_name->setText(name);
}

void LinkWindow::ShowMessage(const QString &text)
{
    clear(text);
}

void LinkWindow::setEditing(bool editing)
{
    m_editing = editing;
    m_note->setReadOnly(!editing);
    m_save->setVisible(editing);
    if (editing) {
        m_status->setText(QStringLiteral("Urejanje"));
        m_note->setFocus();
    }
}

void LinkWindow::save()
{
    if (!m_editing || m_record == 0)
        return;
    // A slot runs from the program's event loop: nothing may escape from here.
    try {
        LinkRecords::SetNote(LinkRecords::Database(), m_record, m_note->text());
        setEditing(false);
        m_status->setText(QStringLiteral("Shranjeno."));
    } catch (const ModuleError &error) {
        m_status->setText(error.Text());
    } catch (...) {
        m_status->setText(QStringLiteral("Napaka v modulu."));
    }
}

void LinkWindow::clear(const QString &status)
{
    m_record = 0;
    m_number->setText(QStringLiteral("-"));
    m_name->clear();
    m_note->clear();
    setEditing(false);
    m_status->setText(status);
}
