#include "PanelDesign.h"

#include "Settings.h"

#include <QCoreApplication>
#include <QStringList>

namespace PanelDesign {

namespace {

const char *const codes[] = {"OP", "NA", "SL", "BP", "OS", "KN", "ME", "AL", "KA"};

} // namespace

QString part(const QString &text, QChar separator, int n)
{
    const QStringList parts = text.split(separator);
    return n >= 1 && n <= parts.size() ? parts.at(n - 1) : QString();
}

Cell parseCell(const QString &cellText)
{
    Cell cell;
    cell.code = part(cellText, QLatin1Char(','), 2).trimmed();
    cell.shown = part(cellText, QLatin1Char(','), 1).trimmed() == QLatin1String("1") && !cell.code.isEmpty();
    return cell;
}

QString withDefault(const QString &design)
{
    if (design.trimmed().isEmpty() || design == QLatin1String("0;0;0/0;0;0/0;0;0"))
        return QString::fromLatin1(DefaultDesign);
    return design;
}

QString ReadPanelLayout()
{
    return withDefault(ReadRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("Design")));
}

void WritePanelLayout(const QString &design)
{
    WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("Design"), design);
}

PanelTable::PanelTable()
{
    // The names as the program's resource text gives them, part by part.
    const QStringList names = QCoreApplication::translate(
        "PanelDesign", "Osnovni podatki;Naslov;Služba;Bančni podatki;Ostali podatki;Kontakti;Opombe;Alarmi;Kategorije")
        .split(QLatin1Char(';'));
    for (int i = 0; i < int(std::size(codes)); ++i)
        m_panels.append(Panel{i + 1, QString::fromLatin1(codes[i]), i, false, 0, names.value(i)});
}

void PanelTable::reset()
{
    for (Panel &panel : m_panels) {
        panel.visible = false;
        panel.inLocation = 0;
    }
}

void PanelTable::load(const QString &design)
{
    reset();
    const QString value = withDefault(design);
    for (int r = 1; r <= 3; ++r) {
        const QString row = part(value, QLatin1Char('/'), r);
        for (int c = 1; c <= 3; ++c) {
            const Cell cell = parseCell(part(row, QLatin1Char(';'), c));
            if (!cell.shown)
                continue;
            for (Panel &panel : m_panels)
                if (panel.name == cell.code) {
                    // A later cell with the same code takes the panel over.
                    place(panel.id, (r - 1) * 3 + c);
                    break;
                }
        }
    }
}

QString PanelTable::design() const
{
    QStringList rows;
    for (int r = 1; r <= 3; ++r) {
        QStringList cells;
        for (int c = 1; c <= 3; ++c) {
            const Panel *panel = inCell((r - 1) * 3 + c);
            cells << (panel ? (panel->visible ? QStringLiteral("1,") : QStringLiteral("0,")) + panel->name : QStringLiteral("0"));
        }
        rows << cells.join(QLatin1Char(';'));
    }
    return rows.join(QLatin1Char('/'));
}

const Panel *PanelTable::inCell(int cell) const
{
    for (const Panel &panel : m_panels)
        if (cell > 0 && panel.inLocation == cell)
            return &panel;
    return nullptr;
}

const Panel *PanelTable::byId(int id) const
{
    return const_cast<PanelTable *>(this)->find(id);
}

Panel *PanelTable::find(int id)
{
    for (Panel &panel : m_panels)
        if (panel.id == id)
            return &panel;
    return nullptr;
}

void PanelTable::place(int id, int cell)
{
    Panel *panel = find(id);
    if (!panel || cell < 1 || cell > 9)
        return;
    // Whatever held the cell goes back to the list.
    for (Panel &other : m_panels)
        if (other.inLocation == cell && other.id != id) {
            other.visible = false;
            other.inLocation = 0;
        }
    panel->visible = true;
    panel->inLocation = cell;
}

void PanelTable::takeOut(int id)
{
    if (Panel *panel = find(id)) {
        panel->visible = false;
        panel->inLocation = 0;
    }
}

} // namespace PanelDesign
