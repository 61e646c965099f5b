#include "basket/gui/CopyProgressDialog.h"

#include "shared/TextHelpers.h"

#include <QKeyEvent>
#include <QTimer>
#include <limits>

namespace {
constexpr int Steps = 1000;
} // namespace

/// The copy's prompts: each box is shown with the progress dialog stepped aside. A
/// window-modal dialog above a box would block the box's buttons.
class CopyProgressDialog::AsidePrompts : public Prompts {
public:
    AsidePrompts(CopyProgressDialog& progress, Prompts& inner) : progress_(progress), inner_(inner)
    {}

    void message(const QString& text, const QString& title) override
    {
        StepAside aside(progress_);
        inner_.message(text, title);
    }
    bool askYesNo(const QString& text, const QString& title) override
    {
        StepAside aside(progress_);
        return inner_.askYesNo(text, title);
    }
    bool askYesNoWarning(const QString& text, const QString& title) override
    {
        StepAside aside(progress_);
        return inner_.askYesNoWarning(text, title);
    }
    Answer askYesNoCancel(const QString& text, const QString& title) override
    {
        StepAside aside(progress_);
        return inner_.askYesNoCancel(text, title);
    }
    Answer askRetryCancel(const QString& text, const QString& title) override
    {
        StepAside aside(progress_);
        return inner_.askRetryCancel(text, title);
    }
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override
    {
        StepAside aside(progress_);
        return inner_.input(prompt, title, initial);
    }
    std::optional<QString> password(const QString& prompt, const QString& title) override
    {
        StepAside aside(progress_);
        return inner_.password(prompt, title);
    }
    QString chooseFolder(const QString& title, const QString& start) override
    {
        StepAside aside(progress_);
        return inner_.chooseFolder(title, start);
    }
    QString chooseOpenFile(const QString& title, const QString& start,
                           const QString& filter) override
    {
        StepAside aside(progress_);
        return inner_.chooseOpenFile(title, start, filter);
    }
    QString chooseSaveFile(const QString& title, const QString& start, const QString& filter,
                           Overwrite overwrite) override
    {
        StepAside aside(progress_);
        return inner_.chooseSaveFile(title, start, filter, overwrite);
    }

private:
    CopyProgressDialog& progress_;
    Prompts& inner_;
};

/// Keeps Escape from the dialog's own Escape shortcut and from rejecting it (either
/// stopped the copy unasked): the key press reaches the program's cancel key, and the
/// copy asks "cancel?".
class CopyProgressDialog::EscapeToCopy : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            event->accept(); // an accepted override: a key press, not a shortcut
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

CopyProgressDialog::StepAside::StepAside(CopyProgressDialog& progress) : progress_(progress)
{
    if (++progress_.aside_ == 1 && progress_.dialog_)
        progress_.dialog_->hide();
}

CopyProgressDialog::StepAside::~StepAside()
{
    --progress_.aside_; // the next update shows the dialog again
}

CopyProgressDialog::CopyProgressDialog(QWidget* parent, Prompts& prompts,
                                       std::chrono::milliseconds showAfter)
    : parent_(parent), prompts_(std::make_unique<AsidePrompts>(*this, prompts)),
      escapeFilter_(std::make_unique<EscapeToCopy>()), showAfter_(showAfter)
{
    clock_.start();
}

CopyProgressDialog::~CopyProgressDialog()
{
    finish();
}

Prompts& CopyProgressDialog::prompts()
{
    return *prompts_;
}

bool CopyProgressDialog::update(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal)
{
    if (!dialog_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setWindowTitle(QStringLiteral("Copying"));
        dialog_->setObjectName(QStringLiteral("CopyProgress"));
        dialog_->setCancelButtonText(QStringLiteral("Cancel"));
        dialog_->setWindowModality(Qt::WindowModal);
        // Shown here, never by the dialog's own timer (started when it is made): that
        // timer would raise it over a box of the copy.
        dialog_->setMinimumDuration(std::numeric_limits<int>::max());
        for (QTimer* timer : dialog_->findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
            timer->stop();
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setRange(0, Steps);
        dialog_->setMinimumWidth(360);
        dialog_->installEventFilter(escapeFilter_.get());
    }
    if (dialog_->wasCanceled())
        return false;
    dialog_->setLabelText(QString::number(filesDone) + QStringLiteral(" of ") +
                          QString::number(filesTotal) + QStringLiteral(" files, ") +
                          SizeText(double(bytesDone)) + QStringLiteral(" of ") +
                          SizeText(double(bytesTotal)));
    const double part = bytesTotal > 0 ? double(bytesDone) / double(bytesTotal)
                                       : (filesTotal > 0 ? double(filesDone) / filesTotal : 1.0);
    dialog_->setValue(qBound(0, int(part * Steps), Steps));
    if (aside_ == 0 && dialog_->isHidden() && clock_.elapsed() >= showAfter_.count())
        dialog_->show();
    // The copy runs in steps from the event loop, which paints this and takes the clicks.
    return !dialog_->wasCanceled();
}

void CopyProgressDialog::finish()
{
    if (dialog_) {
        dialog_->removeEventFilter(escapeFilter_.get());
        dialog_->close();
        dialog_->deleteLater();
        dialog_ = nullptr;
    }
}
