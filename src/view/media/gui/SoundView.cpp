#include "view/media/gui/SoundView.h"

#include "controls/gui/MenuCommand.h"
#include "platform/Mci.h"
#include "view/ViewerHost.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

SoundView::SoundView(ViewerHost& host, Mci& mci)
    : QObject(&host.hostWidget()), host_(host), mci_(mci), playback_(mci),
      menus_(new MenuCommand(this))
{
    soundMenu_ = MenuCommand::popup(QStringLiteral("SoundMenu"), &host.hostWidget());
    connect(menus_->item(soundMenu_, QStringLiteral("Stop")), &QAction::triggered, this,
            &SoundView::Stop);
    connect(menus_->item(soundMenu_, QStringLiteral("Pause")), &QAction::triggered, this,
            &SoundView::Pause);
    connect(menus_->item(soundMenu_, QStringLiteral("Resume")), &QAction::triggered, this,
            &SoundView::Resume);
    connect(menus_->item(soundMenu_, QStringLiteral("Replay")), &QAction::triggered, this,
            &SoundView::Replay);
    connect(&mci, &Mci::loadEnded, this, &SoundView::LoadEnded);
    countdown_.setInterval(1000);
    connect(&countdown_, &QTimer::timeout, this, &SoundView::Tick);
    statusBar_ = &host.statusArea();
    statusBar_->installEventFilter(this);
    statusBar_->setMouseTracking(true);
}

void SoundView::PlaySoundFile(const QString& path)
{
    playback_.PlaySoundFile(path);
    countdown_.start();
}

void SoundView::PlayVideo(const QString& path)
{
    ViewVideo(mci_, path);
}

void SoundView::StopMedia()
{
    countdown_.stop(); // every view that ends takes the count-down with it
    if (playback_.loaded()) {
        playback_.Stop();
        // Nothing plays any more: the count-down and its tip go with it ("<< back").
        host_.SetViewMessage(QString());
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
    host_.SetViewMessage(QString());
    statusBar_->setToolTip(QString());
    countdown_.stop();
}

void SoundView::Pause()
{
    playback_.Pause();
    countdown_.stop();
}

void SoundView::Resume()
{
    playback_.Resume();
    countdown_.start();
}

void SoundView::Replay()
{
    playback_.Replay();
    countdown_.start();
}

void SoundView::Tick()
{
    if (!playback_.loaded())
        return;
    const QString remaining = playback_.countdownText();
    host_.SetViewMessage(remaining);
    if (remaining.isEmpty())
        statusBar_->setToolTip(QString());
}

void SoundView::LoadEnded(const QString& device)
{
    // Loaded or not, the tick shows what is known: a sound that did not open has no
    // length, so nothing remains and panel 2 and the tip are cleared, as ever.
    if (playback_.isDevice(device))
        Tick();
}

void SoundView::UpdateToolTip(int panel)
{
    if (panel == panelUnderMouse_)
        return;
    panelUnderMouse_ = panel;
    QString tip;
    if (host_.statusMessage().startsWith(QLatin1String("icon")))
        tip = QStringLiteral("right click on icon to save");
    else if (playback_.loaded())
        tip = playback_.toolTipText();
    statusBar_->setToolTip(tip);
}

bool SoundView::eventFilter(QObject* watched, QEvent* event)
{
    // The window may be on its way out: use the bar kept, never ask the window for it.
    QWidget* bar = statusBar_;
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
