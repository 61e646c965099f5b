#pragma once

#include "formats/IconScan.h"
#include "view/fonts/ApplicationFonts.h"
#include "view/fonts/IconPage.h"

#include <QObject>
#include <QStringList>
#include <memory>

class BusyPointer;
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
    ~IconFontViews() override;

    /// `ViewIcons`: the first page of the icons of CurrentViewFile; "no icons in this
    /// files" when it holds none. False when nothing is shown.
    bool ViewIcons(const QString& path);
    /// Starts drawing icon page `page` (0-based) of the file shown, a few icons per turn
    /// of the event loop; the page is shown when whole (or cut short by Escape and Yes).
    /// A page asked for while another is drawn is drawn next.
    void ShowIconPage(int page);
    /// An icon page is being drawn.
    [[nodiscard]] bool drawing() const { return drawing_ != nullptr; }
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

Q_SIGNALS:
    /// Icon page `page` is on the screen.
    void pageShown(int page);

private:
    void layoutPage();
    void drawStep(int generation);
    void showDrawnPage();
    void stopDrawing();

    ViewerHost& host_;
    Prompts& prompts_;
    CancelKey& cancel_;
    IconPageWidget* page_ = nullptr;
    QString iconFile_;
    QList<QByteArray> icons_;
    IconPageLayout layout_;
    IconFileScan scan_;
    bool reloadBeforeSave_ = true;
    std::unique_ptr<IconPageDrawing> drawing_;
    std::unique_ptr<BusyPointer> busy_;
    int drawGeneration_ = 0; ///< steps of an abandoned drawing see a newer number
    int pendingPage_ = -1;   ///< asked for while another page was drawn
    ApplicationFonts fonts_;
    FontRegistry* registry_ = &fonts_;
};
