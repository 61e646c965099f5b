// The simple views of the view window: text, document text, HTML and OLE documents.
#include "controls/gui/GridView.h"
#include "controls/gui/NodeTreeView.h"
#include "shared/Settings.h"
#include "view/DocText.h"
#include "view/OleRender.h"
#include "view/PcxReader.h"
#include "view/RtfReader.h"
#include "view/TextDecoding.h"
#include "view/gui/ClickLabel.h"
#include "view/gui/ViewWindow.h"

#include <QDesktopServices>
#include <QFile>
#include <QTextEdit>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

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

void ViewWindow::ViewText(const QString& path)
{
    viewMode_ = QStringLiteral("TXT");
    QFont font(settings_.viewFont.name);
    font.setPointSizeF(settings_.viewFont.size);
    rtb_->setFont(font);
    QPalette palette = rtb_->palette();
    palette.setColor(QPalette::Base, colourOf(settings_.colours[4]));
    palette.setColor(QPalette::Text, colourOf(settings_.colours[5]));
    rtb_->setPalette(palette);
    rtb_->clear();
    rtb_->document()->setDefaultFont(font);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) { // a file that cannot be read leaves the box empty
        const QByteArray bytes = file.readAll();
        if (LooksLikeRtf(bytes))
            ReadRtf(bytes, *rtb_->document(), font);
        else
            rtb_->setPlainText(DecodeText(bytes));
    }
    rtb_->moveCursor(QTextCursor::Start);
    rtb_->raise();
    rtb_->show();
}

bool ViewWindow::ViewDoc(const QString& path)
{
    viewMode_ = QStringLiteral("DOC");
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
    browser->setUrl(QUrl::fromLocalFile(path));
    browser->raise();
    browser->show();
    viewMode_ = QStringLiteral("WEB");
}

bool ViewWindow::ViewOle(const QString& extension, const QString& path)
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
    if (extension == QLatin1String(".PCX")) {
        const QImage picture = ReadPcxFile(path);
        if (picture.isNull())
            return false;
        ole1_->setPixmap(QPixmap::fromImage(picture));
    } else if (OfficeProgram().isEmpty()) {
        ole1_->setText(QStringLiteral("LibreOffice is needed to show this document here; "
                                      "it is not installed (no soffice on the PATH).\n\n"
                                      "Double-click to open the file in its default "
                                      "application."));
    } else {
        if (settings_.workFolder.isEmpty())
            return false; // nowhere of its own to render into
        const QString page = RenderFirstPage(path, settings_.workFolder);
        const QPixmap picture(page);
        if (picture.isNull())
            return false;
        ole1_->setPixmap(picture.scaled(viewArea_.size().boundedTo(picture.size()),
                                        Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    ole1_->show();
    ole1_->raise();
    ppt_->show();
    ppt_->raise();
    viewMode_ = QStringLiteral("OLE");
    return true;
}

void ViewWindow::openOleFile()
{
    if (!oleFile_.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(oleFile_));
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
