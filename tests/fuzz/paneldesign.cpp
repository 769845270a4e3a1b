// The person window's layout "Design" in any form: read into the designer's table, one
// section in a cell at most, and the table's own text reads back as the same table
// (but for an empty one, whose text stands for the default).

#include "FuzzSupport.h"
#include "PanelDesign.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString design = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    PanelDesign::PanelTable table;
    table.load(design);
    QList<int> inCell(10, 0);
    for (const PanelDesign::Panel &panel : table.panels()) {
        Fuzz::check(panel.visible == (panel.inLocation > 0), "a section shows where it is placed", design);
        Fuzz::check(++inCell[panel.inLocation] == 1 || panel.inLocation == 0, "one section in a cell", design);
    }
    // An empty table's text stands for the default by rule; any other reads back the same.
    const QString text = table.design();
    PanelDesign::PanelTable again;
    again.load(text);
    Fuzz::check(again.design() == text || PanelDesign::withDefault(text) != text, "the table's text reads back the same",
                design);
    return 0;
}
