// The design store of the filter strip (LumaraDesign.ini), read at start-up.
#include "FuzzInput.h"
#include "controls/KivTabs.h"

#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    const QString path = fuzz::scratchFile("LumaraDesign.ini", fuzz::bytes(data, size));
    QSettings store(path, QSettings::IniFormat);
    store.beginGroup(QStringLiteral("FilterButton"));
    KivTabs tabs;
    tabs.load(store, QFont());
    if (tabs.Tabs() < 1 || tabs.Tabs() > 256)
        __builtin_trap();
    for (int tab = 1; tab <= tabs.Tabs(); ++tab)
        (void)tabs.Caption(tab);
    return 0;
}
