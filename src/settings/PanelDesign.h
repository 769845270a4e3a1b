#pragma once

#include <QList>
#include <QString>

// The layout of the person window's sections, the setting "Design": three rows joined
// by "/", each of three cells joined by ";", a cell "0" when empty, else a flag, ","
// and a section code ("1,OP;0;0/0;0;0/0;0;0"). Read by the person window and edited
// by the layout designer of the settings window.
namespace PanelDesign {

// Basic data alone in the top-left cell.
inline constexpr auto DefaultDesign = "1,OP;0;0/0;0;0/0;0;0";

// A cell text as placed: shown when its flag is "1" and it names a code.
struct Cell
{
    bool shown = false;
    QString code;
};
Cell parseCell(const QString &cellText);

// The n-th part of text split at the separator, counted from 1, empty past the last.
QString part(const QString &text, QChar separator, int n);

// A blank value and one with every cell empty both stand for the default.
QString withDefault(const QString &design);
// The stored "Design", with its default.
QString ReadPanelLayout();
void WritePanelLayout(const QString &design);

// One of the nine sections as the designer lists it.
struct Panel
{
    int id = 0;
    QString name;         // the code
    int imageIndex = -1;  // below 0: no picture
    bool visible = false;
    int inLocation = 0;   // 0 not placed, 1 to 9 the cell in reading order
    QString fullName;
};

// The designer's table of the nine sections; a section is in at most one cell.
class PanelTable
{
public:
    // All nine, none placed.
    PanelTable();

    void reset();
    // Places the sections the value shows (with its default); the rest stay unplaced.
    void load(const QString &design);
    QString design() const;

    const QList<Panel> &panels() const { return m_panels; }
    // The panel placed in the cell (1 to 9), or nullptr.
    const Panel *inCell(int cell) const;
    const Panel *byId(int id) const;
    void place(int id, int cell);
    void takeOut(int id);

private:
    Panel *find(int id);
    QList<Panel> m_panels;
};

} // namespace PanelDesign
