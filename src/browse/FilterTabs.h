#pragma once

#include "browse/FileList.h"
#include "browse/Filters.h"

#include <QObject>
#include <functional>
#include <optional>

struct Settings;
class FileTreeBuilder;
class KivTabs;
class ListRebuilder;
class Prompts;

/// The strong colour of category `category` (0..7) as its tab shows it with "Swap Tab
/// color" on; the file list draws the category icons in it.
[[nodiscard]] quint32 CategoryColour(int category);

/// The file-type filter tabs (`FilterButton`) and the filter state of the main window:
/// selecting a category, narrowing the list from readNames, the "Filterview" menu
/// commands, the other-filter criteria (kept in the file list state, where the filtered reader
/// finds them) and the filter description. Works without a strip as well.
class FilterTabs : public QObject {
    Q_OBJECT
public:
    FilterTabs(Settings& settings, FileList& state, const FileTreeBuilder& trees, KivTabs* tabs,
               Prompts& prompts, QObject* parent = nullptr);
    ~FilterTabs() override;

    /// One tab per category 0..categoryLast, captioned with the names and coloured;
    /// selects the "ALL" tab without listing anything.
    void setupTabs();
    /// Recolours the tabs for the current TabColorSwap setting.
    void colourTabs();
    /// The colour (0x00BBGGRR) tab i (from 0) gets, and the status label takes with
    /// TabColorSwap on.
    [[nodiscard]] quint32 tabColour(int tab) const;

    /// A left click on tab `tab` (from 0): selects the category and narrows or
    /// re-reads the list. Returns the number of files listed; with a rebuilder the list
    /// is rebuilt after the return (listChanged() tells), and the count is the shown one's.
    int SelectCategory(int tab);
    /// Narrows listedNames from readNames to the category `pattern` (or, with the
    /// "Other" filter active, to the files passing the filter) without reading the
    /// disk, then rebuilds the display. Returns the number of files left (as for
    /// SelectCategory()).
    int NarrowToCategory(const QString& pattern, const QString& caption);

    /// "Modify" ("M") for tab `tab`: asks for the extension list, or asks the owner
    /// to open the other-filter dialog for the "Other" tab.
    void ModifyCategory(int tab);
    /// "Set default types" ("D") for tab `tab`: restores the default list on Yes; the
    /// "Other" tab also loses every criterion.
    void SetDefaultTypes(int tab);
    /// "Swap Tab color".
    void SwapTabColor();
    /// "Change Tab orientation": toggles TabOrientation and moves the tabs.
    void ChangeTabOrientation();

    /// The dialog's "SetOtherFilter": stores the fields and the "Other" list.
    void ApplyOtherFilter(const OtherFilterFields& fields);
    [[nodiscard]] const OtherFilterFields& otherFields() const { return fields_; }
    [[nodiscard]] const OtherFilter& otherFilter() const { return state_.otherFilter(); }

    /// The content part of the description; "" none (the content filter sets it).
    void setContentCriteria(const QString& text);

    /// Recomputes the description; emits tipChanged when it changed.
    void UpdateFilterDescription();
    [[nodiscard]] const QString& filterDescription() const { return description_; }

    /// The tip for the mouse over tab `tab` (from 0).
    [[nodiscard]] QString TabTip(int tab) const;

    /// "Show selected files only": the list rebuilt from the marked file nodes.
    void ShowSelectedOnly();
    /// "Remove content filters": clears the filters and re-reads the folder.
    void RemoveContentFilters();

    /// Who runs the list's rebuilds (the window: on another thread); none runs them here.
    void setRebuilder(ListRebuilder* rebuilder) { rebuilder_ = rebuilder; }

    /// The "Other" tab's index and the "ALL" tab's index.
    [[nodiscard]] int otherTab() const;
    [[nodiscard]] int allTab() const;
    /// The selected category, from 0.
    [[nodiscard]] int selectedTab() const { return selectedTab_; }

Q_SIGNALS:
    /// "Modify" on the "Other" tab: the window opens the other-filter dialog.
    void otherFilterDialogWanted();
    /// The file list was rebuilt (or its placeholder shown).
    void listChanged();
    /// The tab strip's tip should become `tip`.
    void tipChanged(const QString& tip);
    /// The status label's text, and its colour (0x00BBGGRR, or -1 for the default).
    void statusChanged(const QString& caption, qint64 colour);
    /// The tab orientation changed; the window lays itself out again.
    void orientationChanged(bool sideways);

private:
    /// Reads the folder again (through the "Other" filter when `filtered`) and rebuilds
    /// the list; `then` follows once it is shown (never when a newer listing took its place).
    void reread(bool filtered, const std::function<void()>& then);
    /// NarrowToCategory through the rebuilder; `then` follows as for reread().
    void narrow(const QString& pattern, const QString& caption, const std::function<void()>& then);
    /// What follows a rebuild this object asked for: listChanged(), then `then`.
    std::function<void(int)> shownThen(std::function<void()> then);
    /// True when a listing runs and `input` was kept to run after it.
    bool deferred(void (FilterTabs::*input)());
    int fileCount() const;
    void writeStatus(const QString& caption);
    [[nodiscard]] bool showsFolder() const;
    /// The list shows the basket (its listing, not a folder's).
    [[nodiscard]] bool showsBasket() const;
    void noteListing(const QString& pattern);

    Settings& settings_;
    FileList& state_;
    const FileTreeBuilder& trees_;
    KivTabs* tabs_; ///< the strip; none when filtering headless (lumara-cli)
    ListRebuilder* rebuilder_ = nullptr;
    int selectedTab_ = 0; ///< the selected category, from 0
    Prompts& prompts_;
    OtherFilterFields fields_;
    QString content_;
    QString description_ = QStringLiteral("No filters set");
    bool selecting_ = false;
    ListBoy seenListing_;                            ///< readNames as last seen
    QString listingPattern_ = QStringLiteral("*.*"); ///< the pattern it was read with
};
