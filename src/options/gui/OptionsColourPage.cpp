// The "Colors" page of the options dialog: targets, swatches, scroll bars and sample.
#include "options/gui/OptionsForm.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString styleFor(const QColor& colour)
{
    return QStringLiteral("background-color: %1; border: 1px solid #606060;").arg(colour.name());
}

} // namespace

QWidget* OptionsForm::buildColourPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);

    auto* targets = new QGroupBox(page);
    auto* targetLayout = new QVBoxLayout(targets);
    auto* targetGroup = new QButtonGroup(targets);
    for (int i = 0; i < ColourTargetCount; ++i) {
        const auto target = ColourTarget(i);
        auto* button = new QRadioButton(ColourTargetCaption(target), targets);
        button->setObjectName(QStringLiteral("colourTarget%1").arg(i));
        targetGroup->addButton(button, i);
        targetLayout->addWidget(button);
        colourTargets_[size_t(i)] = button;
        connect(button, &QRadioButton::clicked, this,
                [this, target] { chooseColourTarget(target); });
    }
    targetLayout->addStretch(1);
    layout->addWidget(targets);

    auto* right = new QVBoxLayout;
    auto* grid = new QGridLayout;
    grid->setSpacing(3);
    const QPalette palette = QApplication::palette();
    for (int i = 0; i < SwatchCount; ++i) {
        auto* swatch = new QToolButton(page);
        swatch->setObjectName(QStringLiteral("swatch%1").arg(i));
        swatch->setToolTip(QLatin1String(Swatches()[size_t(i)].name));
        swatch->setFixedSize(26, 22);
        swatch->setStyleSheet(styleFor(SwatchColour(i, palette)));
        grid->addWidget(swatch, i / SwatchesPerRow, i % SwatchesPerRow);
        swatches_[size_t(i)] = swatch;
        connect(swatch, &QToolButton::clicked, this, [this, i] { chooseSwatch(i); });
    }
    right->addLayout(grid);

    auto* bars = new QGridLayout;
    const QString barNames[] = {QStringLiteral("redBar"), QStringLiteral("greenBar"),
                                QStringLiteral("blueBar")};
    const QString barCaptions[] = {QStringLiteral("Red"), QStringLiteral("Green"),
                                   QStringLiteral("Blue")};
    for (size_t c = 0; c < colourBars_.size(); ++c) {
        auto* bar = new QScrollBar(Qt::Horizontal, page);
        bar->setObjectName(barNames[c]);
        bar->setRange(0, 255);
        bar->setPageStep(16);
        bar->setMinimumWidth(160);
        colourBarValues_[c] = new QLabel(page);
        colourBarValues_[c]->setMinimumWidth(30);
        bars->addWidget(new QLabel(barCaptions[c], page), int(c), 0);
        bars->addWidget(bar, int(c), 1);
        bars->addWidget(colourBarValues_[c], int(c), 2);
        colourBars_[c] = bar;
        connect(bar, &QScrollBar::valueChanged, this, &OptionsForm::setSampleFromBars);
    }
    right->addLayout(bars);

    auto* bottom = new QHBoxLayout;
    colourSample_ = new QLabel(page);
    colourSample_->setObjectName(QStringLiteral("colourSample"));
    colourSample_->setFixedSize(110, 48);
    auto* reset = new QPushButton(QStringLiteral("Reset"), page);
    reset->setObjectName(QStringLiteral("resetColoursButton"));
    reset->setToolTip(QStringLiteral("Reset all colors"));
    auto* apply = new QPushButton(QStringLiteral("Apply"), page);
    apply->setObjectName(QStringLiteral("applyColourButton"));
    apply->setToolTip(QStringLiteral("Apply the selected options"));
    bottom->addWidget(colourSample_);
    bottom->addStretch(1);
    bottom->addWidget(reset);
    bottom->addWidget(apply);
    right->addStretch(1);
    right->addLayout(bottom);
    layout->addLayout(right, 1);

    connect(reset, &QPushButton::clicked, this, &OptionsForm::resetColours);
    connect(apply, &QPushButton::clicked, this, &OptionsForm::applyColour);
    return page;
}

void OptionsForm::showSample(const QColor& colour)
{
    sample_ = colour;
    colourSample_->setStyleSheet(styleFor(colour));
    const int values[] = {colour.red(), colour.green(), colour.blue()};
    for (size_t c = 0; c < colourBars_.size(); ++c) {
        const QSignalBlocker block(colourBars_[c]);
        colourBars_[c]->setValue(values[c]);
        colourBarValues_[c]->setText(QString::number(values[c]));
    }
}

void OptionsForm::chooseColourTarget(ColourTarget target)
{
    colourTarget_ = target;
    colourTargets_[size_t(target)]->setChecked(true);
    showSample(ColourOf(settings_.colours[size_t(ColourSlot(target))]));
}

void OptionsForm::chooseSwatch(int index)
{
    showSample(SwatchColour(index, QApplication::palette()));
}

void OptionsForm::setSampleFromBars()
{
    showSample(QColor(colourBars_[0]->value(), colourBars_[1]->value(), colourBars_[2]->value()));
}

void OptionsForm::applyColour()
{
    ApplyColour(settings_, colourTarget_, sample_);
    showSample(ColourOf(settings_.colours[size_t(ColourSlot(colourTarget_))]));
    Q_EMIT optionsApplied();
}

void OptionsForm::resetColours()
{
    if (!prompts_.askYesNo(QStringLiteral("do you wish to reset all colors?"),
                           QStringLiteral("Colors")))
        return;
    ResetColours(settings_);
    chooseColourTarget(colourTarget_);
    Q_EMIT optionsApplied();
}
