// What a module answers about itself (name, menus, other data), in any form and without a
// terminating NUL where the library gives none: copied within bounds, and its menus built
// into the main menu and taken out again.

#include "FuzzSupport.h"
#include "LibraryCalls.h"
#include "ModuleHost.h"

#include <QMenuBar>

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz::startApplication(true);
    // The library's text ends where its memory ends: the copy must stop there.
    const auto unterminated = std::make_unique<char[]>(size);
    std::copy(data, data + size, unterminated.get());
    CopyLibraryText(unterminated.get(), size);

    const QList<QByteArray> input = Fuzz::parts(data, size, 5);
    TPluginSpec module;
    module.FileName = Fuzz::folder() + QStringLiteral("libfuzz.so");
    module.Name = CopyLibraryText(input[0].constData(), 1 << 20);
    module.MainMenu = CopyLibraryText(input[1].constData(), 1 << 20);
    module.SubMenu = CopyLibraryText(input[2].constData(), 1 << 20);
    module.Description = CopyLibraryText(input[3].constData(), 1 << 20);
    module.OtherData = CopyLibraryText(input[4].constData(), 1 << 20);
    ModuleList() = {module};
    IsLinkModule(module);
    FindModule(module.Name);
    QMenuBar menuBar;
    BuildModuleMenus(&menuBar, {});
    RemoveModuleMenus(&menuBar);
    ModuleList().clear();
    return 0;
}
