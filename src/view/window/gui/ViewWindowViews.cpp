// The simple views of the view window: text, document text, HTML and OLE documents.
#include "controls/gui/GridView.h"
#include "controls/gui/NodeTreeView.h"
#include "formats/DocText.h"
#include "formats/RtfReader.h"
#include "formats/TextDecoding.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Shell.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/picture/PictureFile.h"
#include "view/report/SystemReport.h"
#include "view/text/OleRender.h"
#include "view/text/TextSlices.h"
#include "view/window/gui/ClickLabel.h"
#include "view/window/gui/ViewWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>

namespace {

/// A page that never shows script dialogs or reports script errors.
class SilentPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override
    {
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override
    {}
};

QColor colourOf(quint32 rgb)
{
    return QColor::fromRgb(QRgb(rgb));
}

} // namespace

QFont ViewWindow::textViewFont() const
{
    QFont font(settings_.viewFont.name);
    font.setPointSizeF(settings_.viewFont.size);
    if (QFontDatabase::hasFamily(settings_.viewFont.name))
        return font;
    // A font this machine lacks ("MS Sans Serif" of a new profile) would fall back to
    // some face at its small size: take the interface's font, at least at its size unless
    // the user chose another size.
    QFont fallback = this->font();
    if (settings_.viewFont.size != FontSetting{}.size)
        fallback.setPointSizeF(settings_.viewFont.size);
    else
        fallback.setPointSizeF(std::max(settings_.viewFont.size, fallback.pointSizeF()));
    return fallback;
}

void ViewWindow::applyOptions()
{
    const QFont font = textViewFont();
    textBox_->setFont(font);
    textBox_->document()->setDefaultFont(font);
    QPalette palette = textBox_->palette();
    palette.setColor(QPalette::Base, colourOf(settings_.colours[4]));
    palette.setColor(QPalette::Text, colourOf(settings_.colours[5]));
    textBox_->setPalette(palette);
}

void ViewWindow::ViewText(const QString& path)
{
    viewMode_ = ViewMode::Text;
    textBox_->clear();
    applyOptions();
    const QFont font = textBox_->font();
    stopTextLoad();
    // A file that cannot be read leaves the box empty.
    auto slices = std::make_unique<TextSlices>(path, textLimit_);
    if (LooksLikeRtf(slices->peek(8)) && slices->size() <= textLimit_) {
        QFile file;
        if (platform::openForReading(file, path))
            ReadRtf(file.readAll(), *textBox_->document(), font);
    } else {
        // The first screen at once; the rest in slices while the window stays live.
        textBox_->setPlainText(takeTextSlice(*slices, FirstTextSlice));
        if (!slices->atEnd()) {
            textSlices_ = std::move(slices);
            QTimer::singleShot(0, this, [this, run = textLoadRun_] { continueTextLoad(run); });
        }
    }
    textBox_->moveCursor(QTextCursor::Start);
    textBox_->raise();
    textBox_->show();
}

QString ViewWindow::takeTextSlice(TextSlices& slices, qint64 bytes)
{
    QString text = pendingText_ + slices.next(bytes);
    pendingText_.clear();
    // CR LF split between two slices must stay one line break.
    if (!slices.atEnd() && text.endsWith(u'\r')) {
        text.chop(1);
        pendingText_ = QStringLiteral("\r");
    }
    return text;
}

void ViewWindow::continueTextLoad(int run)
{
    if (run != textLoadRun_ || !textSlices_)
        return;
    QTextCursor end(textBox_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(takeTextSlice(*textSlices_, TextSlice));
    if (!textSlices_->atEnd()) {
        SetViewMessage(QStringLiteral("loading ") +
                       QString::number(100 * textSlices_->bytesRead() /
                                       std::max<qint64>(1, textSlices_->size())) +
                       QStringLiteral("% (Esc stops)"));
        QTimer::singleShot(0, this, [this, run] { continueTextLoad(run); });
        return;
    }
    SetViewMessage(textSlices_->cut()
                       ? QStringLiteral("first ") + SizeText(double(textLimit_)) +
                             QStringLiteral(" of ") + SizeText(double(textSlices_->size())) +
                             QStringLiteral(" shown")
                       : QString());
    textSlices_.reset();
}

void ViewWindow::stopTextLoad()
{
    ++textLoadRun_;
    pendingText_.clear();
    if (!textSlices_)
        return;
    textSlices_.reset();
    SetViewMessage(QStringLiteral("loading stopped"));
}

bool ViewWindow::textLoading() const
{
    return textSlices_ != nullptr;
}

void ViewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && textLoading()) {
        stopTextLoad();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool ViewWindow::ViewDoc(const QString& path)
{
    viewMode_ = ViewMode::Document;
    const std::optional<QString> text = DocTextOfFile(path);
    textBox_->setPlainText(text.value_or(QString()));
    textBox_->raise();
    textBox_->show();
    return text.has_value();
}

QWebEngineView* ViewWindow::ensureBrowser()
{
    if (!browser_) {
        browser_ = new QWebEngineView(centralWidget());
        browser_->setPage(new SilentPage(browser_));
        browser_->setGeometry(viewArea_);
        // The browser draws through OpenGL: the window is made anew for it, and a window
        // manager may then put it elsewhere. It stays where it was.
        const QPoint at = pos();
        QTimer::singleShot(250, this, [this, at] {
            if (isVisible() && !isMaximized() && pos() != at)
                move(at);
        });
    }
    return browser_;
}

void ViewWindow::ViewWeb(const QString& path)
{
    CloseView();
    textBox_->hide();
    treeView_->hide();
    treeView_->lower();
    QWebEngineView* browser = ensureBrowser();
    browser->setUrl(platform::fileUrl(path));
    browser->raise();
    browser->show();
    viewMode_ = ViewMode::Web;
}

void ViewWindow::ViewOle(const QString& extension, const QString& path)
{
    grid_->hide();
    basketGrid_->hide();
    treeView_->hide();
    textBox_->hide();
    if (browser_)
        browser_->hide();
    oleFile_ = path;
    documentPreview_->clear();
    documentPreview_->setProperty("oleClass", OleClassFor(extension));
    // A PCX never comes here: the dispatch shows it as a picture through our own reader.
    if (const QString problem = renderOlePreview(path); !problem.isEmpty()) {
        // Linux cannot embed these documents: say why there is no preview and offer the
        // document's own program instead of a blank area.
        documentPreview_->setText(
            QStringLiteral("No preview of %1.").arg(QFileInfo(path).fileName()));
        setViewNote(problem + QStringLiteral(": \"Run\" opens it in its default application"));
        runDocument_->show();
    }
    documentPreview_->show();
    documentPreview_->raise();
    runDocument_->raise();
    firstChartNote_->show();
    firstChartNote_->raise();
    viewMode_ = ViewMode::Ole;
}

QString ViewWindow::renderOlePreview(const QString& path)
{
    if (OfficeProgram().isEmpty())
        return QStringLiteral("a preview needs LibreOffice, which is not installed");
    if (settings_.workFolder.isEmpty())
        return QStringLiteral("no working folder to make a preview in");
    const QPixmap picture =
        QPixmap::fromImage(LoadPicture(RenderFirstPage(path, settings_.workFolder)));
    if (picture.isNull())
        return QStringLiteral("LibreOffice could not make a preview of this document");
    documentPreview_->setPixmap(picture.scaled(viewArea_.size().boundedTo(picture.size()),
                                               Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return {};
}

void ViewWindow::openOleFile()
{
    if (!oleFile_.isEmpty())
        platform::OpenWithDefaultApplication(oleFile_);
}

void ViewWindow::ShowGrid()
{
    pageCanvas_->hide();
    firstChartNote_->hide();
    grid_->refresh();
    grid_->raise();
    grid_->show();
    show();
    raise();
}

void ViewWindow::ShowSystemInfo()
{
    CloseView();
    viewMode_ = ViewMode::SystemInfo;
    SetViewMessage(QString());
    statusBar()->setToolTip(QString());
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    BuildSystemReport(tree_, platform::GatherMachineFacts(), platform::GatherVolumeFacts(),
                      screen ? screen->size() : QSize());
    // The labels are padded so every "=" stands in one column: that needs a fixed pitch.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    treeView_->setFont(fixed);
    textBox_->hide();
    treeView_->raise();
    treeView_->show();
}
