#include "EntryDialog.h"

#include "ButtonStrip.h"
#include "ColourScheme.h"
#include "FlatButton.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

EntryDialog::EntryDialog(const QString &objectName, const QString &caption, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    setAutoFillBackground(true);
    QPalette body = palette();
    body.setColor(QPalette::Window, ColourScheme.CT_WDetailBack);
    setPalette(body);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_grid = new QGridLayout;
    m_grid->setContentsMargins(10, 10, 10, 10);
    m_grid->setHorizontalSpacing(6);
    layout->addLayout(m_grid);

    auto *bar = new ButtonStrip(this);
    bar->addStretch();
    m_cancel = bar->addButton("BitBtn2", tr("&Prekliči"));
    m_ok = bar->addButton("BitBtn1", tr("Potr&di"));
    layout->addWidget(bar);
    connect(m_ok, &FlatButton::clicked, this, &EntryDialog::accept);
    connect(m_cancel, &FlatButton::clicked, this, &EntryDialog::reject);
}

QLabel *EntryDialog::addRow(const QString &label, const QList<QWidget *> &fields)
{
    const int row = m_grid->rowCount();
    auto *caption = new QLabel(label, this);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_grid->addWidget(caption, row, 0);
    for (int i = 0; i < fields.size(); ++i)
        m_grid->addWidget(fields[i], row, i + 1, 1, i + 1 == fields.size() ? 3 - i : 1);
    if (!fields.isEmpty())
        caption->setBuddy(fields.first());
    return caption;
}

QLineEdit *EntryDialog::addNameField(const QString &label, const QString &hint)
{
    m_nameField = new QLineEdit(this);
    m_nameField->setObjectName(QStringLiteral("Edit1"));
    m_nameField->setToolTip(hint);
    m_nameField->setMinimumWidth(220);
    addRow(label, {m_nameField});
    setFirstField(m_nameField);
    return m_nameField;
}

bool EntryDialog::canConfirm() const
{
    return !m_nameField || !m_nameField->text().trimmed().isEmpty();
}

void EntryDialog::accept()
{
    if (canConfirm())
        QDialog::accept();
}

void EntryDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_firstField)
        m_firstField->setFocus();
}
