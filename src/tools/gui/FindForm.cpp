#include "tools/gui/FindForm.h"

#include "controls/gui/WindowGuards.h"
#include "platform/CancelKey.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace {

/// A label that reports a left click.
class ConnectorLabel : public QLabel {
public:
    ConnectorLabel(std::function<void()> clicked, QWidget* parent)
        : QLabel(parent), clicked_(std::move(clicked))
    {
        setCursor(Qt::PointingHandCursor);
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setAlignment(Qt::AlignCenter);
        setMinimumWidth(44);
        setToolTip(QStringLiteral("Click to join with AND or OR"));
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && clicked_)
            clicked_();
    }

private:
    std::function<void()> clicked_;
};

} // namespace

FindForm::FindForm(FileList& state, Settings& settings, Prompts& prompts, CancelKey& cancel,
                   QWidget* parent)
    : QDialog(parent), state_(state), settings_(settings), prompts_(prompts), cancel_(cancel)
{
    buildControls();
    setForm(Form::Find);
}

FindForm::~FindForm() = default;

void FindForm::setForm(Form form)
{
    setWindowTitle(form == Form::Find ? QStringLiteral("Search Files")
                                      : QStringLiteral("Filter by File Contents"));
}

void FindForm::buildControls()
{
    auto* layout = new QVBoxLayout(this);

    auto* nameFrame = new QGroupBox(QStringLiteral("Name criteria"), this);
    auto* nameLayout = new QHBoxLayout(nameFrame);
    nameCriteria_ = new QLineEdit(nameFrame);
    nameCriteria_->setToolTip(QStringLiteral("enter search criteria for file names"));
    nameLayout->addWidget(nameCriteria_);
    layout->addWidget(nameFrame);

    auto* contentFrame = new QGroupBox(QStringLiteral("Contents criteria"), this);
    auto* contentLayout = new QGridLayout(contentFrame);
    for (int i = 0; i < ContentBoxCount; ++i) {
        andOr_[size_t(i)] = new ConnectorLabel([this, i] { ToggleConnector(i); }, contentFrame);
        contentCriteria_[size_t(i)] = new QLineEdit(contentFrame);
        contentCriteria_[size_t(i)]->setToolTip(QStringLiteral("Enter text to search"));
        contentLayout->addWidget(andOr_[size_t(i)], i, 0);
        contentLayout->addWidget(contentCriteria_[size_t(i)], i, 1);
    }
    layout->addWidget(contentFrame);

    examineZipped_ = new QCheckBox(QStringLiteral("Examine Zipped Files in File Tree"), this);
    layout->addWidget(examineZipped_);
    progressBar_ = new QProgressBar(this);
    progressBar_->setTextVisible(false);
    progressBar_->setValue(0);
    layout->addWidget(progressBar_);

    auto* buttons = new QHBoxLayout;
    applyButton_ = new QPushButton(QStringLiteral("Apply"), this);
    applyButton_->setToolTip(QStringLiteral("Apply current search criteria"));
    exitButton_ = new QPushButton(QStringLiteral("Exit"), this);
    exitButton_->setToolTip(QStringLiteral("Close this window"));
    buttons->addWidget(applyButton_);
    buttons->addWidget(exitButton_);
    layout->addLayout(buttons);
    escapeHint_ = new QLabel(QStringLiteral("press ESC key to abort"), this);
    layout->addWidget(escapeHint_);

    connect(applyButton_, &QPushButton::clicked, this, [this] { Apply(); });
    connect(exitButton_, &QPushButton::clicked, this, &QDialog::close);
    resize(420, sizeHint().height());
}

void FindForm::ToggleConnector(int i)
{
    andOr_[size_t(i)]->setText(NextConnector(andOr_[size_t(i)]->text()));
}

void FindForm::Apply()
{
    if (run_ || (deferWhileBusy_ && deferWhileBusy_([this] { Apply(); })))
        return;
    std::array<QString, ContentBoxCount> texts;
    std::array<QString, ContentBoxCount> connectors;
    for (int i = 0; i < ContentBoxCount; ++i) {
        texts[size_t(i)] = contentCriteria_[size_t(i)]->text();
        connectors[size_t(i)] = andOr_[size_t(i)]->text();
    }
    FindRequest request;
    request.namePattern = FindNamePattern(nameCriteria_->text());
    request.content = BuildContentCriteria(texts, connectors);
    request.examineZipped = examineZipped_->isChecked();
    contentDescription_ = request.content.description;

    run_ = std::make_unique<FindRun>(state_, settings_, request, prompts_);
    if (run_->ended()) {
        searchStep();
        return;
    }
    busy_ = std::make_unique<BusyPointer>();
    applyButton_->setEnabled(false);
    sincePaint_.start();
    Q_EMIT searchStarted();
    QTimer::singleShot(0, this, &FindForm::searchStep);
}

void FindForm::progress(int done, int total)
{
    progressBar_->setMaximum(total);
    progressBar_->setValue(done);
    // Inside a big file the window waits: paint the bar now and then.
    if (sincePaint_.elapsed() > 50) {
        progressBar_->repaint();
        sincePaint_.restart();
    }
}

void FindForm::searchStep()
{
    constexpr qint64 TurnMs = 20;
    QElapsedTimer turn;
    turn.start();
    const auto onProgress = [this](int done, int total) { progress(done, total); };
    while (!run_->ended() && turn.elapsed() < TurnMs) {
        if (EscapeDelivered(cancel_, prompts_))
            run_->cancel();
        else
            run_->step(prompts_, onProgress);
    }
    if (!run_->ended()) {
        QTimer::singleShot(0, this, &FindForm::searchStep);
        return;
    }
    const FindOutcome outcome = run_->finish(state_, prompts_, [this] {
        progressBar_->setValue(0);
        Q_EMIT listChanged(contentDescription_);
    });
    run_.reset();
    progressBar_->setValue(0);
    applyButton_->setEnabled(true);
    if (busy_) {
        busy_.reset();
        Q_EMIT searchEnded();
    }
    Q_EMIT applied(outcome);
}
