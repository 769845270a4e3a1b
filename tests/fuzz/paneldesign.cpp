// The person window's layout "Design" in any form: read into the designer's table, each
// section in one cell at most, and the table's own text reads back as the same table.

#include "FuzzSupport.h"
#include "PanelDesign.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString design = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    PanelDesign::PanelTable table;
    table.load(design);
    for (int cell = 1; cell <= 9; ++cell)
        if (const PanelDesign::Panel *panel = table.inCell(cell))
            Fuzz::check(panel->inLocation == cell && panel->visible, "a placed section shows in its cell", design);
    PanelDesign::PanelTable again;
    again.load(table.design());
    Fuzz::check(again.design() == table.design(), "the table's text reads back the same", design);
    return 0;
}
