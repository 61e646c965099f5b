#pragma once

#include "formats/IconScan.h"
#include "view/fonts/ApplicationFonts.h"
#include "view/fonts/IconPage.h"

#include <QObject>
#include <QStringList>

class CancelKey;
class IconPageWidget;
class Prompts;
class ViewerHost;

/// The icon and font views of the view window: icon pages of a program file with the
/// save of one icon, the sample of one font file and the table of many.
class IconFontViews : public QObject {
    Q_OBJECT
public:
    /// Registers the views with `host` (a child of its window from then on).
    IconFontViews(ViewerHost& host, Prompts& prompts, CancelKey& cancel);

    /// `ViewIcons`: the first page of the icons of CurrentViewFile; "no icons in this
    /// files" when it holds none. False when nothing is shown.
    bool ViewIcons(const QString& path);
    /// Draws icon page `page` (0-based) of the file shown.
    void ShowIconPage(int page);
    /// The hover over an icon page at `pixel` of page `page`.
    void HoverIcon(int page, QPoint pixel);
    /// Saving the icon last hovered (right button released on an icon page).
    void SaveHoveredIcon();

    /// `ViewFont`: the sample of one font file in the text box.
    void ViewFont(const QString& path);
    /// `ShowFontTable`: every font of `paths` in the view window's grid.
    void ShowFontTable(const QStringList& paths);

    [[nodiscard]] IconPageWidget* iconPage() const { return page_; }
    [[nodiscard]] const IconPageLayout& iconLayout() const { return layout_; }
    /// Swaps the font registry (tests count registrations); null restores Qt's.
    void setFontRegistry(FontRegistry* registry) { registry_ = registry ? registry : &fonts_; }

private:
    void layoutPage();

    ViewerHost& host_;
    Prompts& prompts_;
    CancelKey& cancel_;
    IconPageWidget* page_ = nullptr;
    QString iconFile_;
    QList<QByteArray> icons_;
    IconPageLayout layout_;
    IconFileScan scan_;
    bool reloadBeforeSave_ = true;
    ApplicationFonts fonts_;
    FontRegistry* registry_ = &fonts_;
};
