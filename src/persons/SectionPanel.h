#pragma once

#include <QWidget>

class QLabel;

// A section of the person window: a title bar (icon and shadowed caption on a vertical
// gradient in the title colours) above the panel that holds the section's fields.
class SectionPanel : public QWidget
{
    Q_OBJECT
public:
    SectionPanel(const QString &name, const QString &caption, const QString &icon, QWidget *parent = nullptr);

    QWidget *data() const { return m_data; }
    QString caption() const;

private:
    QWidget *m_title;
    QLabel *m_caption;
    QWidget *m_data;
};
