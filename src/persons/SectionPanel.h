#pragma once

#include <QWidget>

// A section of the person window: a title bar (icon and shadowed caption on a vertical
// gradient in the title colours) above the panel that holds the section's fields.
class SectionPanel : public QWidget
{
    Q_OBJECT
public:
    SectionPanel(const QString &name, const QString &caption, const QString &icon, QWidget *parent = nullptr);

    QWidget *data() const { return m_data; }

private:
    QWidget *m_data;
};
