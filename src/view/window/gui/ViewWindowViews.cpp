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
#include "view/text/OleRender.h"
#include "view/picture/PictureFile.h"
#include "view/report/SystemReport.h"
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
    rtb_->setFont(font);
    rtb_->document()->setDefaultFont(font);
    QPalette palette = rtb_->palette();
    palette.setColor(QPalette::Base, colourOf(settings_.colours[4]));
    palette.setColor(QPalette::Text, colourOf(settings_.colours[5]));
    rtb_->setPalette(palette);
}

void ViewWindow::ViewText(const QString& path)
{
    viewMode_ = ViewMode::Text;
    rtb_->clear();
    applyOptions();
    const QFont font = rtb_->font();
    stopTextLoad();
    // A file that cannot be read leaves the box empty.
    auto slices = std::make_unique<TextSlices>(path, textLimit_);
    if (LooksLikeRtf(slices->peek(8)) && slices->size() <= textLimit_) {
        QFile file;
        if (platform::openForReading(file, path))
            ReadRtf(file.readAll(), *rtb_->document(), font);
    } else {
        // The first screen at once; the rest in slices while the window stays live.
        rtb_->setPlainText(takeTextSlice(*slices, FirstTextSlice));
        if (!slices->atEnd()) {
            textSlices_ = std::move(slices);
            QTimer::singleShot(0, this, [this, run = textLoadRun_] { continueTextLoad(run); });
        }
    }
    rtb_->moveCursor(QTextCursor::Start);
    rtb_->raise();
    rtb_->show();
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
    QTextCursor end(rtb_->document());
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
    rtb_->setPlainText(text.value_or(QString()));
    rtb_->raise();
    rtb_->show();
    return text.has_value();
}

QWebEngineView* ViewWindow::ensureBrowser()
{
    if (!wb1_) {
        wb1_ = new QWebEngineView(centralWidget());
        wb1_->setPage(new SilentPage(wb1_));
        wb1_->setGeometry(viewArea_);
        // The browser draws through OpenGL: the window is made anew for it, and a window
        // manager may then put it elsewhere. It stays where it was.
        const QPoint at = pos();
        QTimer::singleShot(250, this, [this, at] {
            if (isVisible() && !isMaximized() && pos() != at)
                move(at);
        });
    }
    return wb1_;
}

void ViewWindow::ViewWeb(const QString& path)
{
    CloseView();
    rtb_->hide();
    dbsView_->hide();
    dbsView_->lower();
    QWebEngineView* browser = ensureBrowser();
    browser->setUrl(platform::fileUrl(path));
    browser->raise();
    browser->show();
    viewMode_ = ViewMode::Web;
}

void ViewWindow::ViewOle(const QString& extension, const QString& path)
{
    vgridView_->hide();
    basketView_->hide();
    dbsView_->hide();
    rtb_->hide();
    if (wb1_)
        wb1_->hide();
    oleFile_ = path;
    ole1_->clear();
    ole1_->setProperty("oleClass", OleClassFor(extension));
    // A PCX never comes here: the dispatch shows it as a picture through our own reader.
    if (const QString problem = renderOlePreview(path); !problem.isEmpty()) {
        // Linux cannot embed these documents: say why there is no preview and offer the
        // document's own program instead of a blank area.
        ole1_->setText(QStringLiteral("No preview of %1.").arg(QFileInfo(path).fileName()));
        setViewNote(problem + QStringLiteral(": \"Run\" opens it in its default application"));
        oleRun_->show();
    }
    ole1_->show();
    ole1_->raise();
    oleRun_->raise();
    ppt_->show();
    ppt_->raise();
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
    ole1_->setPixmap(picture.scaled(viewArea_.size().boundedTo(picture.size()), Qt::KeepAspectRatio,
                                    Qt::SmoothTransformation));
    return {};
}

void ViewWindow::openOleFile()
{
    if (!oleFile_.isEmpty())
        platform::OpenWithDefaultApplication(oleFile_);
}

void ViewWindow::ShowGrid()
{
    pictureCanvas_->hide();
    ppt_->hide();
    vgridView_->refresh();
    vgridView_->raise();
    vgridView_->show();
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
    BuildSystemReport(tableTree_, platform::GatherMachineFacts(), platform::GatherVolumeFacts(),
                      screen ? screen->size() : QSize());
    // The labels are padded so every "=" stands in one column: that needs a fixed pitch.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    dbsView_->setFont(fixed);
    richText()->hide();
    dbsView_->raise();
    dbsView_->show();
}
