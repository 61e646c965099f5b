#pragma once

#include <QString>

/// What the basket needs from the windows around it: the folder the file list shows,
/// whether the grid is on screen, and the view window's two status panels. The
/// default does nothing, for lumara-cli and tests.
class BasketHost {
public:
    virtual ~BasketHost() = default;
    /// The folder the file list shows, ending in "/" ("" while it shows the basket).
    [[nodiscard]] virtual QString currentFolderPath() const { return {}; }
    [[nodiscard]] virtual bool gridVisible() const { return false; }
    virtual void setViewPath(const QString& text) { (void)text; }
    virtual void setViewMessage(const QString& text) { (void)text; }
    /// The grid's rows changed: the view shows them again.
    virtual void gridChanged() {}
    /// The grid takes the focus (when it is not the active control already).
    virtual void focusGrid() {}
    /// A loaded basket is shown: the grid visible and in front.
    virtual void showGrid() {}
};
