#pragma once

#include <QObject>
#include <memory>

class FileListPanel;
class FilterTabs;
class KivTabsWidget;
class FilterMenus;
class Prompts;
class QSettings;
struct Settings;

/// `FilterButton` in the file list panel: puts the tab strip into the panel's tab
/// slot and connects it, its "Filterview" menu, the "Filter" menu's "Show selected
/// files only" and "Remove content filters", the tips and the status label to the
/// filter logic. The strip's design properties are read from and written to `design`.
class FilterStrip : public QObject {
    Q_OBJECT
public:
    FilterStrip(Settings& settings, Prompts& prompts, FileListPanel& panel,
                QObject* parent = nullptr);
    ~FilterStrip() override;

    [[nodiscard]] FilterTabs& filters() { return *filters_; }
    [[nodiscard]] KivTabsWidget* FilterButton() const { return widget_; }
    /// The "Filter" and "Filterview" menus.
    [[nodiscard]] FilterMenus& menus() const { return *menus_; }

    /// Reads the strip's saved design properties, then sets the category tabs.
    void loadDesign(QSettings& design);
    /// Writes the strip's design properties (group "FilterButton" of `design`); values
    /// that did not change are left alone, so an unchanged store is not rewritten.
    void saveDesign(QSettings& design) const;
    /// Leaves the store as it is at exit: when the profile could not be saved, the two
    /// must not drift apart.
    void keepDesignUnsaved() { saveAtExit_ = false; }
    /// The design store beside the profile (organisation "Lumara").
    [[nodiscard]] static std::unique_ptr<QSettings> designStore(const Settings& settings);

Q_SIGNALS:
    /// "Change Tab orientation": the window lays itself out again.
    void orientationChanged(bool sideways);

protected:
    /// The first time the panel is shown (the profile has been read by then), the
    /// saved design and the loaded categories make the tabs.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tabMouseUp(int button, int x, int y);
    void tabMouseMove(int x, int y);
    void placeStrip(bool sideways);
    void openOtherFilterDialog();
    void fitTabs();

    Settings& settings_;
    Prompts& prompts_;
    FileListPanel& panel_;
    FilterMenus* menus_ = nullptr;
    KivTabsWidget* widget_ = nullptr;
    std::unique_ptr<FilterTabs> filters_;
    int menuTab_ = -1; ///< the tab whose "Filterview" menu is open
    bool designLoaded_ = false;
    bool saveAtExit_ = true;
    int preferredWidth_ = 70; ///< TabsWidth as designed; the strip may show it narrower
};
