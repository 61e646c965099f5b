#include "view/media/gui/SoundView.h"

#include "controls/gui/MenuCommand.h"
#include "platform/Mci.h"
#include "view/window/gui/ViewWindow.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>

SoundView::SoundView(ViewWindow& window, Mci& mci)
    : QObject(&window), window_(window), mci_(mci), playback_(mci), menus_(new MenuCommand(this))
{
    soundMenu_ = MenuCommand::popup(QStringLiteral("SoundMenu"), &window);
    connect(menus_->item(soundMenu_, QStringLiteral("Stop")), &QAction::triggered, this,
            &SoundView::Stop);
    connect(menus_->item(soundMenu_, QStringLiteral("Pause")), &QAction::triggered, this,
            &SoundView::Pause);
    connect(menus_->item(soundMenu_, QStringLiteral("Resume")), &QAction::triggered, this,
            &SoundView::Resume);
    connect(menus_->item(soundMenu_, QStringLiteral("Replay")), &QAction::triggered, this,
            &SoundView::Replay);
    connect(&window.countdownTimer(), &QTimer::timeout, this, &SoundView::Tick);
    statusBar_ = window.statusBar();
    statusBar_->installEventFilter(this);
    statusBar_->setMouseTracking(true);
}

void SoundView::PlaySoundFile(const QString& path)
{
    playback_.PlaySoundFile(path);
    window_.countdownTimer().setInterval(1000);
    window_.countdownTimer().start();
}

void SoundView::PlayVideo(const QString& path)
{
    ViewVideo(mci_, path);
}

void SoundView::StopMedia()
{
    if (playback_.loaded()) {
        playback_.Stop();
        // Nothing plays any more: the count-down and its tip go with it ("<< back").
        window_.countdownTimer().stop();
        window_.SetViewMessage(QString());
        statusBar_->setToolTip(QString());
    }
    StopVideo(mci_);
}

void SoundView::CancelMedia()
{
    mci_.send(QStringLiteral("stop mp3"));
    mci_.send(QStringLiteral("close all"));
}

void SoundView::Stop()
{
    playback_.mp3().MP3Stop();
    window_.SetViewMessage(QString());
    statusBar_->setToolTip(QString());
    window_.countdownTimer().stop();
}

void SoundView::Pause()
{
    playback_.Pause();
    window_.countdownTimer().stop();
}

void SoundView::Resume()
{
    playback_.Resume();
    window_.countdownTimer().start();
}

void SoundView::Replay()
{
    playback_.Replay();
    window_.countdownTimer().start();
}

void SoundView::Tick()
{
    if (!playback_.loaded())
        return;
    const QString remaining = playback_.countdownText();
    window_.SetViewMessage(remaining);
    if (remaining.isEmpty())
        statusBar_->setToolTip(QString());
}

void SoundView::UpdateToolTip(int panel)
{
    if (panel == panelUnderMouse_)
        return;
    panelUnderMouse_ = panel;
    QString tip;
    if (window_.statusMessage().startsWith(QLatin1String("icon")))
        tip = QStringLiteral("right click on icon to save");
    else if (playback_.loaded())
        tip = playback_.toolTipText();
    statusBar_->setToolTip(tip);
}

bool SoundView::eventFilter(QObject* watched, QEvent* event)
{
    // The window may be on its way out: use the bar kept, never ask the window for it.
    QStatusBar* bar = statusBar_;
    if (watched != bar)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // Panel 1 is the path on the left, panel 2 the message on the right.
        UpdateToolTip(mouse->position().x() < bar->width() * 3 / 4 ? 1 : 2);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && playback_.loaded()) {
            menus_->run(soundMenu_, mouse->globalPosition().toPoint());
            return true;
        }
    } else if (event->type() == QEvent::Leave) {
        panelUnderMouse_ = -1;
    }
    return QObject::eventFilter(watched, event);
}
