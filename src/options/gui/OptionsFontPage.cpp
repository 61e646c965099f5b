// The "Fonts" page of the options dialog: targets, installed fonts, size label, sample.
#include "options/gui/OptionsForm.h"
#include "shared/Settings.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <functional>

namespace {

/// The size label: reports which button was pressed on it.
class SizeLabel : public QLabel {
public:
    SizeLabel(std::function<void(Qt::MouseButton)> onClick, QWidget* parent)
        : QLabel(parent), onClick_(std::move(onClick))
    {}

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        onClick_(event->button());
        event->accept();
    }
    // The right button must not open a context menu on the label.
    void contextMenuEvent(QContextMenuEvent* event) override { event->accept(); }

private:
    std::function<void(Qt::MouseButton)> onClick_;
};

QFont fontOf(const FontSetting& setting)
{
    QFont font(setting.name);
    if (setting.size > 0)
        font.setPointSizeF(setting.size);
    return font;
}

} // namespace

QWidget* OptionsForm::buildFontPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);

    auto* left = new QVBoxLayout;
    auto* targets = new QGroupBox(page);
    auto* targetLayout = new QVBoxLayout(targets);
    auto* targetGroup = new QButtonGroup(targets);
    for (int i = 0; i < FontTargetCount; ++i) {
        const auto target = FontTarget(i);
        auto* button = new QRadioButton(FontTargetCaption(target), targets);
        button->setObjectName(QStringLiteral("fontTarget%1").arg(i));
        targetGroup->addButton(button, i);
        targetLayout->addWidget(button);
        fontTargets_[size_t(i)] = button;
        connect(button, &QRadioButton::clicked, this, [this, target] { chooseFontTarget(target); });
    }
    left->addWidget(targets);
    sizeLabel_ = new SizeLabel([this](Qt::MouseButton button) { clickSize(button); }, page);
    sizeLabel_->setObjectName(QStringLiteral("fontSizeLabel"));
    sizeLabel_->setToolTip(QStringLiteral("Left/Right-click to change size"));
    sizeLabel_->setFrameShape(QFrame::Panel);
    sizeLabel_->setFrameShadow(QFrame::Raised);
    sizeLabel_->setAlignment(Qt::AlignCenter);
    sizeLabel_->setMinimumHeight(26);
    left->addWidget(sizeLabel_);
    auto* defaults = new QPushButton(QStringLiteral("Set Default Fonts"), page);
    defaults->setObjectName(QStringLiteral("defaultFontsButton"));
    defaults->setToolTip(QStringLiteral("Set all fonts to default"));
    auto* apply = new QPushButton(QStringLiteral("Apply"), page);
    apply->setObjectName(QStringLiteral("applyFontButton"));
    apply->setToolTip(QStringLiteral("Apply the selected font"));
    left->addStretch(1);
    left->addWidget(defaults);
    left->addWidget(apply);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    fontList_ = new QListWidget(page);
    fontList_->setObjectName(QStringLiteral("fontList"));
    fontList_->addItems(QFontDatabase::families());
    fontSample_ = new QLabel(OptionsFontSample, page);
    fontSample_->setObjectName(QStringLiteral("fontSample"));
    fontSample_->setFrameShape(QFrame::StyledPanel);
    // The sample shows what fits: a large size must not widen the dialog for good.
    fontSample_->setFixedHeight(120);
    fontSample_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    fontSample_->setAlignment(Qt::AlignCenter);
    right->addWidget(fontList_, 1);
    right->addWidget(fontSample_);
    layout->addLayout(right, 1);

    connect(fontList_, &QListWidget::currentTextChanged, this, &OptionsForm::chooseFontName);
    connect(defaults, &QPushButton::clicked, this, &OptionsForm::setDefaultFonts);
    connect(apply, &QPushButton::clicked, this, &OptionsForm::applyFont);
    return page;
}

void OptionsForm::showPendingFont()
{
    sizeLabel_->setText(FontSizeLabelText(pendingFont_.size));
    fontSample_->setFont(fontOf(pendingFont_));
    const QList<QListWidgetItem*> found = fontList_->findItems(pendingFont_.name, Qt::MatchExactly);
    const QSignalBlocker block(fontList_);
    if (found.isEmpty())
        fontList_->setCurrentRow(-1);
    else
        fontList_->setCurrentItem(found.first());
}

void OptionsForm::chooseFontTarget(FontTarget target)
{
    fontTarget_ = target;
    fontTargets_[size_t(target)]->setChecked(true);
    pendingFont_ = FontOf(settings_, target);
    showPendingFont();
}

void OptionsForm::chooseFontName(const QString& name)
{
    if (name.isEmpty())
        return;
    pendingFont_.name = name;
    showPendingFont();
}

bool OptionsForm::clickSize(Qt::MouseButton button)
{
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return false;
    const std::optional<double> next = SteppedFontSize(pendingFont_.size, button == Qt::LeftButton);
    if (!next)
        return false;
    pendingFont_.size = *next;
    showPendingFont();
    return true;
}

void OptionsForm::applyFont()
{
    FontOf(settings_, fontTarget_) = pendingFont_;
    Q_EMIT optionsApplied();
}

void OptionsForm::setDefaultFonts()
{
    SetDefaultFonts(settings_);
    chooseFontTarget(fontTarget_);
    Q_EMIT optionsApplied();
}
