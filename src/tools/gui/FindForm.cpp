#include "tools/gui/FindForm.h"

#include "controls/gui/WindowGuards.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
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

FindForm::FindForm(FileListState& state, Settings& settings, Prompts& prompts, CancelKey& cancel,
                   QWidget* parent)
    : QDialog(parent), state_(state), settings_(settings), prompts_(prompts), cancel_(cancel)
{
    buildControls();
    setForm(Form::Find);
}

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
    text1_ = new QLineEdit(nameFrame);
    text1_->setToolTip(QStringLiteral("enter search criteria for file names"));
    nameLayout->addWidget(text1_);
    layout->addWidget(nameFrame);

    auto* contentFrame = new QGroupBox(QStringLiteral("Contents criteria"), this);
    auto* contentLayout = new QGridLayout(contentFrame);
    for (int i = 0; i < ContentBoxCount; ++i) {
        andOr_[size_t(i)] = new ConnectorLabel([this, i] { ToggleConnector(i); }, contentFrame);
        fcrit_[size_t(i)] = new QLineEdit(contentFrame);
        fcrit_[size_t(i)]->setToolTip(QStringLiteral("Enter text to search"));
        contentLayout->addWidget(andOr_[size_t(i)], i, 0);
        contentLayout->addWidget(fcrit_[size_t(i)], i, 1);
    }
    layout->addWidget(contentFrame);

    check1_ = new QCheckBox(QStringLiteral("Examine Zipped Files in File Tree"), this);
    layout->addWidget(check1_);
    progressBar1_ = new QProgressBar(this);
    progressBar1_->setTextVisible(false);
    progressBar1_->setValue(0);
    layout->addWidget(progressBar1_);

    auto* buttons = new QHBoxLayout;
    command2_ = new QPushButton(QStringLiteral("Apply"), this);
    command2_->setToolTip(QStringLiteral("Apply current search criteria"));
    command7_ = new QPushButton(QStringLiteral("Exit"), this);
    command7_->setToolTip(QStringLiteral("Close this window"));
    buttons->addWidget(command2_);
    buttons->addWidget(command7_);
    layout->addLayout(buttons);
    label1_ = new QLabel(QStringLiteral("press ESC key to abort"), this);
    layout->addWidget(label1_);

    connect(command2_, &QPushButton::clicked, this, [this] { Apply(); });
    connect(command7_, &QPushButton::clicked, this, &QDialog::close);
    resize(420, sizeHint().height());
}

void FindForm::ToggleConnector(int i)
{
    andOr_[size_t(i)]->setText(NextConnector(andOr_[size_t(i)]->text()));
}

FindOutcome FindForm::Apply()
{
    std::array<QString, ContentBoxCount> texts;
    std::array<QString, ContentBoxCount> connectors;
    for (int i = 0; i < ContentBoxCount; ++i) {
        texts[size_t(i)] = fcrit_[size_t(i)]->text();
        connectors[size_t(i)] = andOr_[size_t(i)]->text();
    }
    FindRequest request;
    request.namePattern = FindNamePattern(text1_->text());
    request.content = BuildContentCriteria(texts, connectors);
    request.examineZipped = check1_->isChecked();
    contentDescription_ = request.content.description;

    BusyPointer busy;
    command2_->setEnabled(false); // the search lets the window run: no second Apply
    QElapsedTimer sincePaint;
    sincePaint.start();
    const FindOutcome outcome = ApplyFind(
        state_, settings_, request, cancel_, prompts_,
        [this, &sincePaint](int done, int total) {
            progressBar1_->setMaximum(total);
            progressBar1_->setValue(done);
            // Inside a big file: paint the bar now and then, without running the event
            // loop, which could hand the list a new listing in the middle of the search.
            if (sincePaint.elapsed() > 50) {
                progressBar1_->repaint();
                sincePaint.restart();
            }
        },
        [this] {
            progressBar1_->setValue(0);
            Q_EMIT listChanged(contentDescription_);
        });
    progressBar1_->setValue(0);
    command2_->setEnabled(true);
    return outcome;
}
