#include "view/fonts/gui/IconFontViews.h"

#include "controls/gui/GridView.h"
#include "controls/gui/WindowGuards.h"
#include "formats/IconResources.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/TextHelpers.h"
#include "view/ViewerHost.h"
#include "view/fonts/FontViews.h"
#include "view/fonts/gui/IconPageWidget.h"

#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <utility>

namespace {

/// Runs `hidden` whenever the view window hides the page canvas (CloseView).
class CanvasHideWatch : public QObject {
public:
    CanvasHideWatch(std::function<void()> hidden, QObject* parent)
        : QObject(parent), hidden_(std::move(hidden))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            hidden_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> hidden_;
};

// Icons drawn between two looks at the Escape key.
constexpr int IconsPerStep = 8;

} // namespace

IconFontViews::IconFontViews(ViewerHost& host, Prompts& prompts, CancelKey& cancel)
    : QObject(&host.hostWidget()), host_(host), prompts_(prompts), cancel_(cancel)
{
    QWidget* canvas = &host.pageCanvas();
    page_ = new IconPageWidget(canvas);
    page_->hide();
    // The page and its tool tip go with the canvas when another view takes the window.
    // The status bar is held by a guarded pointer: the canvas is also hidden while the
    // window is torn down, when the window itself can no longer be asked for it.
    QPointer<QWidget> bar = &host.statusArea();
    canvas->installEventFilter(new CanvasHideWatch(
        [this, bar] {
            stopDrawing(); // another view has the window now
            page_->hide();
            if (bar && bar->toolTip() == IconPageToolTip(QStringLiteral("icon")))
                bar->setToolTip(QString());
        },
        this));
    connect(page_->scrollThumb(), &QScrollBar::valueChanged, this, [this](int page) {
        if (host_.viewMode() == ViewMode::Icons)
            ShowIconPage(page);
    });
    connect(page_, &IconPageWidget::hovered, this,
            [this](QPoint pixel) { HoverIcon(page_->scrollThumb()->value(), pixel); });
    connect(page_, &IconPageWidget::rightReleased, this, &IconFontViews::SaveHoveredIcon);
    host.whenPageNeedsRedraw(this, [this](ViewMode mode) {
        if (mode == ViewMode::Icons)
            ShowIconPage(qMin(page_->scrollThumb()->value(), layout_.pages() - 1));
    });

    host.setKindView(ViewAction::Icons,
                     [this](const ViewRequest& request) { return ViewIcons(request.fullPath()); });
    host.setKindView(ViewAction::FontSample, [this](const ViewRequest& request) {
        ViewFont(request.fullPath());
        return true;
    });
}

IconFontViews::~IconFontViews() = default;

bool IconFontViews::ViewIcons(const QString& path)
{
    stopDrawing();
    host_.CloseView();
    iconFile_ = path;
    icons_ = ReadIconsFromFile(path);
    const int count = int(icons_.size());
    if (count < 1) {
        host_.CloseView();
        prompts_.message(QStringLiteral("no icons in this files"));
        return false;
    }
    host_.SetViewPath(path);
    host_.SetViewMessage(NumText(count) + QStringLiteral(" icons"));
    layoutPage();
    ShowIconPage(0);
    return true;
}

void IconFontViews::layoutPage()
{
    page_->setGeometry(host_.pageCanvas().rect());
    layout_ = IconPageLayout(int(icons_.size()), page_->pageSize());
    QScrollBar* bar = page_->scrollThumb();
    const QSignalBlocker quiet(bar);
    bar->setRange(0, qMax(0, layout_.pages() - 1));
    bar->setEnabled(layout_.pages() > 1);
}

void IconFontViews::ShowIconPage(int page)
{
    if (icons_.isEmpty() || page < 0)
        return;
    if (drawing_) {
        pendingPage_ = page;
        return;
    }
    layoutPage();
    {
        const QSignalBlocker quiet(page_->scrollThumb());
        page_->scrollThumb()->setValue(page);
    }
    const QColor background = host_.textBox().palette().color(QPalette::Base);
    drawing_ =
        std::make_unique<IconPageDrawing>(icons_, layout_, page, page_->pageSize(), background);
    busy_ = std::make_unique<BusyPointer>();
    cancel_.clear();
    host_.setViewMode(ViewMode::Icons); // the page follows when it is drawn
    QTimer::singleShot(0, this, [this, generation = drawGeneration_] { drawStep(generation); });
}

void IconFontViews::drawStep(int generation)
{
    if (generation != drawGeneration_ || !drawing_)
        return; // abandoned
    if (drawing_->drawNext(IconsPerStep) && !EscapeDelivered(cancel_, prompts_)) {
        QTimer::singleShot(0, this, [this, generation] { drawStep(generation); });
        return;
    }
    showDrawnPage();
}

void IconFontViews::showDrawnPage()
{
    const int page = drawing_->page();
    page_->setPage(drawing_->canvas());
    drawing_.reset();
    busy_.reset();
    host_.pageCanvas().show();
    host_.pageCanvas().raise();
    page_->show();
    page_->raise();
    reloadBeforeSave_ = true;
    Q_EMIT pageShown(page);
    const int next = std::exchange(pendingPage_, -1);
    if (next >= 0 && next != page)
        ShowIconPage(next);
}

void IconFontViews::stopDrawing()
{
    ++drawGeneration_;
    drawing_.reset();
    busy_.reset();
    pendingPage_ = -1;
}

void IconFontViews::HoverIcon(int page, QPoint pixel)
{
    const IconHover hover = IconHoverText(layout_.indexAt(page, pixel), layout_.count());
    host_.setPointedItem(hover.tag);
    host_.SetViewMessage(hover.message);
    if (!hover.message.isEmpty())
        host_.SetViewPath(iconFile_);
    host_.statusArea().setToolTip(IconPageToolTip(hover.message));
}

void IconFontViews::SaveHoveredIcon()
{
    const int n = host_.pointedItem().trimmed().toInt();
    if (n < 1 || host_.viewMode() != ViewMode::Icons)
        return;
    if (reloadBeforeSave_) {
        if (!scan_.LoadIconFileBytes(iconFile_, prompts_) || !scan_.FindIconImages(prompts_))
            return;
        reloadBeforeSave_ = false;
    }
    if (n > scan_.offsets().size()) {
        prompts_.message(QStringLiteral("icon#") + QString::number(n) +
                         QStringLiteral(" is not among the") + NumText(scan_.offsets().size()) +
                         QStringLiteral(" icon images found in the file"));
        return;
    }
    const QFileInfo file(iconFile_);
    const QString target =
        prompts_.chooseSaveFile(QStringLiteral("Select file to save icon#") + QString::number(n),
                                file.absolutePath() + QLatin1Char('/') + file.fileName() +
                                    QString::number(n) + QStringLiteral(".ico"),
                                QStringLiteral("Icon Files (*.ico)"),
                                // SaveIconFile asks "exists Replace ?" itself.
                                Prompts::Overwrite::CallerAsks);
    if (!target.isEmpty())
        scan_.SaveIconFile(n, target, prompts_);
}

void IconFontViews::ViewFont(const QString& path)
{
    ViewFontSteps(path, *registry_, [this](const FontSample& sample) {
        host_.CloseView();
        QTextEdit* rtb = &host_.textBox();
        QFont base(QStringLiteral("ariel"));
        base.setPointSize(10);
        rtb->clear();
        rtb->document()->setDefaultFont(base);
        rtb->setPlainText(
            QString(sample.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QFont face(sample.family.isEmpty() ? sample.face : sample.family);
        if (!sample.style.isEmpty())
            face.setStyleName(sample.style);
        face.setPointSize(16);
        QTextCursor cursor(rtb->document());
        cursor.setPosition(FontSampleStart);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setFont(face);
        cursor.setCharFormat(format);
        rtb->moveCursor(QTextCursor::Start);
        rtb->raise();
        rtb->show();
        // Drawn while the face is still registered (it goes when this returns), without
        // running other events in the middle of the dispatch.
        rtb->viewport()->repaint();
    });
    host_.setViewMode(ViewMode::Font);
}

void IconFontViews::ShowFontTable(const QStringList& paths)
{
    host_.CloseView();
    GridView* grid = &host_.grid();
    grid->hide();
    QStringList installed = registry_->installedFonts();
    installed.sort();
    FillFontTable(
        grid->grid(), paths, installed,
        [this](int i, int n) {
            host_.SetViewPath(QStringLiteral("font") + NumText(i) + QStringLiteral(" of") +
                              NumText(n));
        },
        [this](const QString& name) { return registry_->familyOf(name); });
    host_.SetViewPath(QString());
    host_.ShowGrid();
}
