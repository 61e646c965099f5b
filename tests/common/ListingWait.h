#pragma once

#include "browse/gui/FileListPanel.h"

#include <QSignalSpy>
#include <memory>
#include <optional>

/// Waits until `panel` runs no listing: every listing, rebuild and input kept for after
/// them has been carried out. False when that did not come within the limit.
inline bool WaitForListing(FileListPanel& panel)
{
    if (!panel.listing())
        return true;
    QSignalSpy idle(&panel, &FileListPanel::listingIdle);
    return idle.wait(30000);
}

/// Opens `path` in `panel` and waits for its list; the count that came, or -1 when the
/// listing was dropped for a newer one or did not end.
inline int OpenAndWait(FileListPanel& panel, const QString& path)
{
    auto count = std::make_shared<std::optional<int>>();
    panel.openFolder(path, [count](std::optional<int> c) { *count = c.value_or(0); });
    WaitForListing(panel);
    return count->value_or(-1);
}
