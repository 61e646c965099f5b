#include "browse/FilterTabs.h"

#include "browse/FileTreeBuilder.h"
#include "browse/FolderListing.h"
#include "browse/ListingHandover.h"
#include "controls/KivTabs.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QPointer>
#include <QSet>

namespace {

// One colour per tab (0x00BBGGRR): pale for the tabs, strong for the swapped look.
constexpr quint32 PaleColours[] = {0xE0FFFF, 0xE0FFE0, 0xFFE8E0, 0xE0E8FF,
                                   0xFFE0FF, 0xF0F0D0, 0xD8F0FF, 0xF0F0F0};
constexpr quint32 StrongColours[] = {0x80FFFF, 0x80FF80, 0xFFC080, 0x8080FF,
                                     0xFF80FF, 0xC0C080, 0x80C0FF, 0xC0C0C0};

const QString NoFilters = QStringLiteral("No filters set");

} // namespace

FilterTabs::FilterTabs(Settings& settings, FileList& state, const FileTreeBuilder& trees,
                       KivTabs* tabs, Prompts& prompts, QObject* parent)
    : QObject(parent), settings_(settings), state_(state), trees_(trees), tabs_(tabs),
      prompts_(prompts)
{
    // A click on the strip (mouse or arrow keys) selects the category.
    if (tabs_) {
        connect(tabs_, &KivTabs::TabClick, this, [this](int now, int) {
            if (!selecting_)
                SelectCategory(now - 1);
        });
    }
}

FilterTabs::~FilterTabs() = default;

quint32 CategoryColour(int category)
{
    return StrongColours[std::clamp(category, 0, 7)];
}

int FilterTabs::otherTab() const
{
    return Settings::OtherCategory;
}

int FilterTabs::allTab() const
{
    return settings_.categoryLast;
}

quint32 FilterTabs::tabColour(int tab) const
{
    const auto& colours = settings_.tabColorSwap ? StrongColours : PaleColours;
    return colours[std::clamp(tab, 0, 7)];
}

void FilterTabs::setupTabs()
{
    selectedTab_ = allTab();
    if (!tabs_)
        return;
    selecting_ = true;
    tabs_->setTabs(allTab() + 1);
    for (int i = 0; i <= allTab(); ++i)
        tabs_->setCaption(i + 1, settings_.categories[size_t(i)].name);
    colourTabs();
    // The tabs carry pale colours of their own: the highlight text of the plain strip
    // would vanish on them.
    if (tabs_->TextColor() == KivTabs::ButtonHighlight)
        tabs_->setTextColor(KivTabs::ButtonText);
    tabs_->setStyle(settings_.tabOrientation ? 4 : 0);
    tabs_->setSelectedTab(allTab() + 1);
    selecting_ = false;
}

void FilterTabs::colourTabs()
{
    for (int i = 0; tabs_ && i <= allTab() && i < tabs_->Tabs(); ++i)
        tabs_->setTabBackColor(i + 1, tabColour(i));
}

bool FilterTabs::showsFolder() const
{
    return !state_.setup().currentFolder.isEmpty();
}

bool FilterTabs::showsBasket() const
{
    return state_.setup().currentFolder.isEmpty() && state_.contents().readNames.ListCount() > 0 &&
           state_.contents().readNames.textAt(0) == BasketHeader;
}

int FilterTabs::fileCount() const
{
    return state_.setup().showsPlaceholder ? 0 : std::max(state_.listedNames().ListCount() - 1, 0);
}

void FilterTabs::writeStatus(const QString& caption)
{
    state_.setStatusCaption(FileCountCaption(caption, fileCount()));
    const int tab = selectedTab_;
    Q_EMIT statusChanged(state_.setup().statusCaption,
                         settings_.tabColorSwap && tab <= 7 ? qint64(tabColour(tab)) : -1);
}

std::function<void(int)> FilterTabs::shownThen(std::function<void()> then)
{
    return [self = QPointer(this), then = std::move(then)](int) {
        if (!self)
            return;
        Q_EMIT self->listChanged();
        if (then)
            then();
    };
}

void FilterTabs::reread(bool filtered, const std::function<void()>& then)
{
    const FileTreeBuilder* trees = &trees_;
    const QString folder = state_.setup().currentFolder;
    const QString pattern = state_.setup().listPattern;
    const auto rebuild = [=](FileList& state, const Settings& settings,
                             platform::ReadWatch* watch) {
        const int found = filtered ? ListFolderFiltered(state, settings, folder, watch)
                                   : ListFolder(state, settings, folder, pattern, watch);
        // A read that found nothing has shown its placeholder already; the tabs must not
        // narrow from an older listing afterwards.
        if (found > 0)
            RefreshFileList(state, settings, *trees);
        else {
            FileList::Edit edit(state);
            edit.contents().readNames.Clear();
            edit.contents().readNames.Additem(RootText(state.setup().currentFolder));
        }
        return found;
    };
    RunListRebuild(rebuilder_, state_, settings_, rebuild, true, shownThen(then));
}

bool FilterTabs::deferred(void (FilterTabs::*input)())
{
    return DeferWhileBusy(rebuilder_, [self = QPointer(this), input] {
        if (self)
            (self->*input)();
    });
}

int FilterTabs::SelectCategory(int tab)
{
    if (tab < 0 || tab > allTab())
        return fileCount();
    // A click while the list is rebuilt takes effect on the list that rebuild shows.
    if (DeferWhileBusy(rebuilder_, [self = QPointer(this), tab] {
            if (self)
                self->SelectCategory(tab);
        }))
        return fileCount();
    const QString caption = settings_.categories[size_t(tab)].name;
    noteListing(state_.setup().listPattern);
    state_.setOtherFilterActive(false);
    selectedTab_ = tab;
    if (tabs_) {
        selecting_ = true;
        tabs_->setSelectedTab(tab + 1);
        selecting_ = false;
    }
    state_.setListPattern(PatternFromExtensions(settings_.categories[size_t(tab)].extensions, tab,
                                                otherTab(), allTab()));
    settings_.currentPattern = state_.setup().listPattern;
    state_.setFilterTag(caption);

    // What follows once the new list is shown; a newer listing that took this one's place
    // shows its own list and status.
    const auto shown = [this, tab, caption] {
        noteListing(tab == otherTab() ? QStringLiteral("*.*") : state_.setup().listPattern);
        writeStatus(caption);
    };
    if (showsFolder()) {
        UpdateFilterDescription();
        if (tab == otherTab()) {
            state_.setOtherFilterActive(true);
            reread(true, shown);
        } else if (tab == allTab() && description_ == NoFilters) {
            state_.setListPattern(QStringLiteral("*.*"));
            settings_.currentPattern = state_.setup().listPattern;
            state_.setFilterTag(QStringLiteral("ALL"));
            reread(false, shown);
        } else if (tab == allTab()) {
            narrow(QStringLiteral("*"), caption, shown);
        } else if (description_ == NoFilters &&
                   (state_.setup().showsPlaceholder || listingPattern_ != u"*.*")) {
            // The copy holds only what an earlier tab's pattern read: read again.
            reread(false, shown);
        } else {
            narrow(state_.setup().listPattern, caption, shown);
        }
    } else if (showsBasket()) {
        // The basket has no folder to read again: every tab narrows its whole listing.
        UpdateFilterDescription();
        if (tab == otherTab())
            state_.setOtherFilterActive(true);
        const QString pattern =
            tab == otherTab() || tab == allTab() ? QStringLiteral("*") : state_.setup().listPattern;
        narrow(pattern, caption, shown);
    } else {
        shown();
    }
    return fileCount();
}

void FilterTabs::noteListing(const QString& pattern)
{
    // A readNames taken since the last look came from a read with `pattern`.
    if (state_.contents().readNames.sharesItemsWith(seenListing_))
        return;
    seenListing_ = state_.contents().readNames;
    listingPattern_ = pattern;
}

namespace {

/// Narrows listedNames from readNames to `pattern` (or to the "Other" filter's files)
/// and rebuilds the list; the number of files left.
int narrowListing(FileList& state, const Settings& settings, const FileTreeBuilder& trees,
                  const QString& pattern, const QString& caption)
{
    FileList::Edit edit(state);
    // "*" (the "ALL" tab while other filters are set) keeps every listed entry.
    const bool everyName = pattern == u"*" || pattern == u"*.*";
    // The extensions the pattern names, as ";*.EXT;" in ";" + pattern + ";" would find.
    QSet<QString> extensions;
    for (const QString& part : pattern.toUpper().split(u';')) {
        if (part.startsWith(QLatin1String("*.")))
            extensions.insert(part.mid(2));
    }
    // Kept entries are collected and stored once: removing them one by one from a
    // large list would be quadratic.
    ListBoy kept;
    const ListBoy& full = edit.contents().readNames;
    kept.reserve(full.ListCount());
    if (full.ListCount() > 0)
        kept.Additem(full.textAt(0));
    for (int i = 1; i < full.ListCount(); ++i) {
        const QString& entry = full.textAt(i);
        bool keep = true;
        if (!edit.setup().otherFilterActive) {
            if (!everyName) {
                const qsizetype dot = entry.lastIndexOf(u'.');
                keep = dot >= 0 && extensions.contains(entry.mid(dot + 1).toUpper());
            }
        } else {
            const QString path = state.setup().currentFolder + entry;
            if (const platform::FileDetails* known = state.entries().find(entry)) {
                keep = FileMatchesFilter(state.otherFilter(), path, *known);
            } else {
                // An entry the last read did not yield (a basket path): look it up once.
                const std::optional<platform::FileEntry> e = platform::statFile(path);
                keep = e && FileMatchesFilter(state.otherFilter(), path, *e);
            }
        }
        if (keep)
            kept.Additem(entry);
    }
    edit.listedNames() = std::move(kept);
    if (edit.listedNames().ListCount() < 2) {
        edit.setup().filterTag = caption;
        state.showNoFiles();
        return 0;
    }
    edit.setup().showsPlaceholder = false;
    trees.RebuildCurrentTree(state, settings);
    return edit.listedNames().ListCount() - 1;
}

} // namespace

void FilterTabs::narrow(const QString& pattern, const QString& caption,
                        const std::function<void()>& then)
{
    const FileTreeBuilder* trees = &trees_;
    const auto rebuild = [=](FileList& state, const Settings& settings, platform::ReadWatch*) {
        return narrowListing(state, settings, *trees, pattern, caption);
    };
    RunListRebuild(rebuilder_, state_, settings_, rebuild, false, shownThen(then));
}

int FilterTabs::NarrowToCategory(const QString& pattern, const QString& caption)
{
    narrow(pattern, caption, {});
    return fileCount();
}

void FilterTabs::ModifyCategory(int tab)
{
    if (tab < 0 || tab > allTab())
        return;
    if (tab == otherTab()) {
        Q_EMIT otherFilterDialogWanted();
        return;
    }
    ViewCategory& category = settings_.categories[size_t(tab)];
    const std::optional<QString> answer = prompts_.input(
        QStringLiteral("Enter [") + category.name + QStringLiteral("] types separated by ;") +
            LineBreak + QStringLiteral("Enter file extensions like:") + LineBreak +
            QStringLiteral("txt;mdb;html etc"),
        Prompts::DefaultTitle, category.extensions);
    if (!answer || answer->trimmed().isEmpty())
        return;
    category.extensions = answer->trimmed();
    state_.setOtherFilterActive(false);
    settings_.settingsChanged = SettingsChange::AskAtExit;
}

void FilterTabs::SetDefaultTypes(int tab)
{
    if (tab < 0 || tab > allTab())
        return;
    ViewCategory& category = settings_.categories[size_t(tab)];
    const QString defaults = Settings::defaultCategories()[size_t(tab)].extensions;
    if (!prompts_.askYesNo(category.name + QStringLiteral(" to:") + LineBreak + defaults,
                           QStringLiteral("Filetypes")))
        return;
    category.extensions = defaults;
    settings_.settingsChanged = SettingsChange::AskAtExit;
    if (tab == otherTab()) {
        category.extensions = QStringLiteral("*");
        fields_ = OtherFilterFields();
        state_.setOtherFilter(OtherFilter());
        UpdateFilterDescription();
    }
}

void FilterTabs::SwapTabColor()
{
    if (deferred(&FilterTabs::SwapTabColor))
        return;
    settings_.tabColorSwap = !settings_.tabColorSwap;
    settings_.settingsChanged = SettingsChange::AskAtExit;
    colourTabs();
    // The file icons follow the setting: a list of files is built again with them.
    if (state_.setup().showsPlaceholder || state_.tree().count() < 2)
        return;
    const FileTreeBuilder* trees = &trees_;
    const auto rebuild = [trees](FileList& state, const Settings& settings, platform::ReadWatch*) {
        trees->RebuildCurrentTree(state, settings);
        return state.listedNames().ListCount() - 1;
    };
    RunListRebuild(rebuilder_, state_, settings_, rebuild, false, shownThen({}));
}

void FilterTabs::ChangeTabOrientation()
{
    settings_.tabOrientation = !settings_.tabOrientation;
    settings_.settingsChanged = SettingsChange::AskAtExit;
    // Tabs down the side of the list need the side-by-side tiling.
    if (settings_.tabOrientation)
        settings_.tileHorizontal = false;
    if (tabs_)
        tabs_->setStyle(settings_.tabOrientation ? 4 : 0);
    Q_EMIT orientationChanged(settings_.tabOrientation);
}

void FilterTabs::ApplyOtherFilter(const OtherFilterFields& fields)
{
    fields_ = fields;
    OtherFilter filter = state_.otherFilter();
    settings_.categories[size_t(otherTab())].extensions = SetOtherFilter(fields, filter, prompts_);
    state_.setOtherFilter(filter);
    settings_.settingsChanged = SettingsChange::AskAtExit;
    UpdateFilterDescription();
}

void FilterTabs::setContentCriteria(const QString& text)
{
    content_ = text;
    UpdateFilterDescription();
}

void FilterTabs::UpdateFilterDescription()
{
    const QString now = FilterDescription(state_.otherFilter(), content_);
    if (now == description_)
        return;
    description_ = now;
    Q_EMIT tipChanged(description_);
}

QString FilterTabs::TabTip(int tab) const
{
    if (tab < 0 || tab > allTab())
        return {};
    const ViewCategory& category = settings_.categories[size_t(tab)];
    const QString start = QStringLiteral("Show ") + category.name + QStringLiteral(" files:");
    if (tab == otherTab())
        return start + state_.otherFilter().OtherFilterText;
    return start + QStringLiteral(" [") + category.extensions + QStringLiteral("]");
}

void FilterTabs::ShowSelectedOnly()
{
    if (deferred(&FilterTabs::ShowSelectedOnly))
        return;
    if (state_.setup().showsPlaceholder)
        return;
    const NodeTree& tree = state_.tree();
    QStringList marked;
    for (const NodeTree::Id id : tree.preorder()) {
        const NodeTree::Node& n = tree.node(id);
        if (n.parent != NodeTree::None && tree.mark(id) == NodeMark::Marked &&
            tree.children(id).empty() && !n.text.startsWith(u'|'))
            marked.append(n.text);
    }
    if (marked.isEmpty()) {
        prompts_.message(QStringLiteral("no selected files"));
        return;
    }
    {
        FileList::Edit edit(state_);
        const QString header = edit.listedNames().list(0);
        edit.listedNames().Clear();
        edit.listedNames().Additem(header);
        for (const QString& entry : std::as_const(marked))
            edit.listedNames().Additem(entry);
        trees_.RebuildCurrentTree(state_, settings_);
        edit.setup().statusCaption = QStringLiteral(" [SELECTED] files");
    }
    Q_EMIT listChanged();
    Q_EMIT statusChanged(state_.setup().statusCaption, -1);
    prompts_.message(NumText(marked.size()) + QStringLiteral(" selected files found"));
}

void FilterTabs::RemoveContentFilters()
{
    if (description_ == NoFilters || deferred(&FilterTabs::RemoveContentFilters))
        return;
    const QString removed = description_;
    state_.setOtherFilter(OtherFilter());
    fields_ = OtherFilterFields();
    content_.clear();
    UpdateFilterDescription();
    if (showsFolder())
        reread(state_.setup().otherFilterActive, [this] { writeStatus(state_.setup().filterTag); });
    prompts_.message(removed);
}
