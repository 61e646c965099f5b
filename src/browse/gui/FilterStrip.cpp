#include "browse/gui/FilterStrip.h"

#include "browse/FilterTabs.h"
#include "browse/gui/FileListPanel.h"
#include "browse/gui/FilterMenus.h"
#include "browse/gui/OtherFilterDialog.h"
#include "controls/gui/KivTabsWidget.h"
#include "shared/Settings.h"

#include <QAction>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <algorithm>

namespace {
const QString DesignGroup = QStringLiteral("FilterButton");
}

FilterStrip::FilterStrip(Settings& settings, Prompts& prompts, FileListPanel& panel,
                         QObject* parent)
    : QObject(parent), settings_(settings), prompts_(prompts), panel_(panel)
{
    menus_ = new FilterMenus(&panel);
    widget_ = new KivTabsWidget(&panel);
    widget_->setObjectName(QStringLiteral("FilterButton"));
    panel.tabSlot()->addWidget(widget_);
    filters_ = std::make_unique<FilterTabs>(settings, panel.state(), panel.trees(),
                                            &widget_->tabs(), prompts);
    // A tab narrowing or re-reading a huge list must not hold the window.
    filters_->setRebuilder(&panel);
    connect(filters_.get(), &FilterTabs::otherFilterDialogWanted, this,
            &FilterStrip::openOtherFilterDialog);
    filters_->setupTabs();
    placeStrip(settings_.tabOrientation);

    KivTabs& tabs = widget_->tabs();
    connect(&tabs, &KivTabs::MouseUp, this,
            [this](int button, int, int x, int y) { tabMouseUp(button, x, y); });
    connect(&tabs, &KivTabs::MouseMove, this,
            [this](int, int, int x, int y) { tabMouseMove(x, y); });
    connect(filters_.get(), &FilterTabs::tipChanged, widget_, &QWidget::setToolTip);
    connect(
        filters_.get(), &FilterTabs::statusChanged, this, [this](const QString&, qint64 colour) {
            panel_.showStatus();
            QLabel* label = panel_.statusLabel();
            label->setAutoFillBackground(colour >= 0);
            QPalette pal = label->palette();
            pal.setColor(QPalette::Window, colour >= 0 ? KivTabs::TranslateColor(quint32(colour))
                                                       : panel_.palette().color(QPalette::Window));
            label->setPalette(pal);
        });
    connect(filters_.get(), &FilterTabs::orientationChanged, this, [this](bool sideways) {
        placeStrip(sideways);
        Q_EMIT orientationChanged(sideways);
    });

    connect(menus_->filterview.swapTabColor, &QAction::triggered, this,
            [this] { filters_->SwapTabColor(); });
    connect(menus_->filterview.changeOrientation, &QAction::triggered, this,
            [this] { filters_->ChangeTabOrientation(); });
    menus_->filter.removeContentFilters->setEnabled(true);
    connect(menus_->filter.removeContentFilters, &QAction::triggered, this,
            [this] { filters_->RemoveContentFilters(); });
    connect(menus_->filter.selectedOnly, &QAction::triggered, this,
            [this] { filters_->ShowSelectedOnly(); });
    connect(menus_->filter.menu, &QMenu::aboutToShow, this,
            [this] { menus_->filter.selectedOnly->setEnabled(settings_.multiSelect); });

    panel_.installEventFilter(this);
    widget_->installEventFilter(this);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (!saveAtExit_)
            return;
        const std::unique_ptr<QSettings> design = designStore(settings_);
        saveDesign(*design);
    });
}

FilterStrip::~FilterStrip() = default;

bool FilterStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget_ && event->type() == QEvent::Resize)
        fitTabs();
    if (watched == &panel_ && event->type() == QEvent::Show && !designLoaded_) {
        designLoaded_ = true;
        const std::unique_ptr<QSettings> design = designStore(settings_);
        loadDesign(*design);
    }
    return QObject::eventFilter(watched, event);
}

std::unique_ptr<QSettings> FilterStrip::designStore(const Settings& settings)
{
    if (settings.profilePath.isEmpty())
        return std::make_unique<QSettings>(QStringLiteral("Lumara"), QStringLiteral("Lumara"));
    return std::make_unique<QSettings>(QFileInfo(settings.profilePath).absolutePath() +
                                           QStringLiteral("/LumaraDesign.ini"),
                                       QSettings::IniFormat);
}

void FilterStrip::loadDesign(QSettings& design)
{
    design.beginGroup(DesignGroup);
    widget_->tabs().load(design, widget_->font());
    design.endGroup();
    preferredWidth_ = widget_->tabs().TabsWidth();
    filters_->setupTabs();
    placeStrip(settings_.tabOrientation);
    fitTabs();
}

void FilterStrip::saveDesign(QSettings& design) const
{
    design.beginGroup(DesignGroup);
    widget_->tabs().save(design);
    // The width that fits the window now is no design decision.
    KivTabs::storeIfChanged(design, QStringLiteral("TABWIDE"), preferredWidth_);
    design.endGroup();
}

void FilterStrip::placeStrip(bool sideways)
{
    const KivTabs& tabs = widget_->tabs();
    // Along the top, or on its side left of the list.
    QBoxLayout* slot = sideways ? panel_.sideTabSlot() : panel_.tabSlot();
    if (slot->indexOf(widget_) < 0) {
        panel_.tabSlot()->removeWidget(widget_);
        panel_.sideTabSlot()->removeWidget(widget_);
        slot->addWidget(widget_);
    }
    // The strip takes the room the panel has and fits its tabs into it.
    widget_->setSizePolicy(sideways ? QSizePolicy::Fixed : QSizePolicy::Ignored,
                           sideways ? QSizePolicy::Ignored : QSizePolicy::Fixed);
    if (sideways) {
        widget_->setMinimumHeight(0);
        widget_->setMaximumHeight(QWIDGETSIZE_MAX);
        widget_->setFixedWidth(tabs.TabsWidth() + 4);
    } else {
        widget_->setMinimumWidth(0);
        widget_->setMaximumWidth(QWIDGETSIZE_MAX);
        widget_->setFixedHeight(tabs.TabsHeight() + 4);
    }
}

void FilterStrip::fitTabs()
{
    // Along the top all tabs stay visible: narrower than the saved width when needed.
    KivTabs& tabs = widget_->tabs();
    if (tabs.Style() >= 4 || tabs.Tabs() < 1)
        return;
    const int fitted = std::clamp((widget_->width() - 2) / tabs.Tabs(), 12, preferredWidth_);
    if (fitted != tabs.TabsWidth())
        tabs.setTabsWidth(fitted);
}

void FilterStrip::tabMouseUp(int button, int x, int y)
{
    KivTabs& tabs = widget_->tabs();
    const int tab = tabs.tabAt(x, y, widget_->width(), widget_->height());
    if (button != 2 || tab == 0)
        return;
    // The last tab ("ALL") has no types to edit: its menu is the "Filter" menu.
    if (tab == tabs.Tabs()) {
        menus_->run(menus_->filter.menu, QCursor::pos());
        return;
    }
    const QString caption = tabs.Caption(tab);
    menus_->filterview.modify->setText(QStringLiteral("Modify [") + caption +
                                       QStringLiteral("] types"));
    menus_->filterview.setDefaults->setText(QStringLiteral("Set default [") + caption +
                                            QStringLiteral("] types"));
    menuTab_ = tab - 1;
    const auto code = menus_->run<FilterviewCode>(menus_->filterview.menu, QCursor::pos());
    if (code == FilterviewCode::Modify)
        filters_->ModifyCategory(menuTab_);
    else if (code == FilterviewCode::SetDefaults)
        filters_->SetDefaultTypes(menuTab_);
    menuTab_ = -1;
}

void FilterStrip::tabMouseMove(int x, int y)
{
    const int tab = widget_->tabs().tabAt(x, y, widget_->width(), widget_->height());
    if (tab == 0)
        return;
    widget_->setToolTip(filters_->TabTip(tab - 1));
    // "Show Filtered files when MouseOver a FilterTab": hovering selects the category;
    // the narrowing works from memory, so following the mouse stays cheap.
    if (settings_.mouseOverFilter && tab != widget_->tabs().SelectedTab())
        filters_->SelectCategory(tab - 1);
}

void FilterStrip::openOtherFilterDialog()
{
    OtherFilterDialog dialog(widget_->window());
    dialog.setFields(filters_->otherFields());
    connect(&dialog, &OtherFilterDialog::apply, this,
            [this](const OtherFilterFields& fields) { filters_->ApplyOtherFilter(fields); });
    dialog.exec();
}
