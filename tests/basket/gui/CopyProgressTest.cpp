#include "basket/Basket.h"
#include "basket/gui/BasketPanel.h"
#include "common/TempTree.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "platform/gui/EscapeWatch.h"
#include "platform/gui/QtPrompts.h"
#include "shared/Settings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct NoEscape : CancelKey {
    bool pressed() override { return false; }
    void clear() override {}
};

/// Runs the event loop until the panel's copy has ended.
void FinishCopy(BasketPanel& panel)
{
    QEventLoop loop;
    QObject::connect(&panel, &BasketPanel::copyFinished, &loop, &QEventLoop::quit);
    if (panel.copying())
        loop.exec();
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMessageBox* ShownBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    return nullptr;
}

/// Escape pressed in `window` as the window system delivers it: a shortcut override to
/// the focus widget first; unless a widget takes the key, an Escape shortcut of the
/// window fires and the key press is not delivered.
void PressEscape(QWidget* window)
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier);
    override.ignore();
    QApplication::sendEvent(target, &override);
    if (!override.isAccepted()) {
        for (QShortcut* shortcut : window->findChildren<QShortcut*>()) {
            if (shortcut->isEnabled() && shortcut->key() == QKeySequence(Qt::Key_Escape)) {
                Q_EMIT shortcut->activated();
                return;
            }
        }
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

/// A user who reads each box that comes up for a while, then clicks what can be
/// clicked: the box's OK when nothing blocks it, else the Cancel of the dialog on top.
class ReadingUser : public QObject {
public:
    QStringList boxes;
    bool pressedProgressCancel = false;

    ReadingUser()
    {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, &ReadingUser::look);
        timer_.start();
    }

private:
    void look()
    {
        QMessageBox* box = ShownBox();
        if (box != seen_) {
            seen_ = box;
            reading_.start();
            return;
        }
        if (!box || reading_.elapsed() < 700)
            return;
        QWidget* top = QApplication::activeModalWidget();
        if (top == box) {
            boxes << box->text();
            box->button(QMessageBox::Ok)->click();
        } else if (auto* progress = qobject_cast<QProgressDialog*>(top)) {
            pressedProgressCancel = true;
            if (auto* cancel = progress->findChild<QPushButton*>())
                cancel->click();
        }
    }

    QTimer timer_;
    QMessageBox* seen_ = nullptr;
    QElapsedTimer reading_;
};

} // namespace

TEST(CopyProgress, BoxesOfTheCopyCanBeAnsweredAndTheCopyGoesOnAfterAnError)
{
    TempTree t;
    Settings settings;
    QWidget window;
    window.resize(640, 360);
    window.show();
    QtPrompts prompts(&window);
    NoEscape escape;
    BasketPanel panel(settings, prompts, escape, &window);
    panel.basket().addLoadedEntry(t.path("gone.txt")); // cannot be copied
    panel.basket().addLoadedEntry(t.file("a.txt", QByteArray("aaa")));
    panel.basket().addLoadedEntry(t.file("b.txt", QByteArray("bbb")));
    const QString out = t.folder("out") + "/";

    ReadingUser user;
    panel.copyRows(out, 1, 3, false);
    FinishCopy(panel);

    EXPECT_FALSE(user.pressedProgressCancel) << "the progress dialog came over a box";
    EXPECT_EQ(ReadAll(out + "a.txt"), "aaa") << "the copy goes on after the error";
    EXPECT_EQ(ReadAll(out + "b.txt"), "bbb");
    ASSERT_EQ(user.boxes.size(), 2);
    EXPECT_TRUE(user.boxes[0].startsWith("error copying:")) << user.boxes[0].toStdString();
    EXPECT_TRUE(user.boxes[1].startsWith(" 2 files copied to:")) << user.boxes[1].toStdString();
}

TEST(CopyProgress, EscapeInTheProgressDialogAsksCancel)
{
    for (const bool yes : {false, true}) {
        TempTree t;
        Settings settings;
        QWidget window;
        window.show();
        ScriptedPrompts prompts;
        prompts.answers = {yes ? Prompts::Answer::Yes : Prompts::Answer::No};
        EscapeWatch escape;
        BasketPanel panel(settings, prompts, escape, &window);
        panel.setProgressDelay(std::chrono::milliseconds(0));
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            panel.basket().addLoadedEntry(t.file(name, QByteArray("x")));
        const QString out = t.folder("out") + "/";

        // Escape pressed once in the progress dialog as soon as it is up.
        bool pressed = false;
        QTimer user;
        user.setInterval(0);
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* progress = window.findChild<QProgressDialog*>("CopyProgress");
            if (pressed || !progress || !progress->isVisible())
                return;
            pressed = true;
            PressEscape(progress);
        });
        user.start();
        panel.copyRows(out, 1, 3, false);
        FinishCopy(panel);

        ASSERT_TRUE(pressed);
        ASSERT_FALSE(prompts.shown.isEmpty());
        EXPECT_EQ(prompts.shown.first().kind, "yesno");
        EXPECT_EQ(prompts.shown.first().text, "cancel?");
        if (yes) {
            EXPECT_FALSE(QFile::exists(out + "c.txt")) << "Yes stops the copy";
        } else {
            EXPECT_EQ(ReadAll(out + "c.txt"), "x") << "No lets the copy go on";
            EXPECT_EQ(prompts.shownTexts().last(), " 3 files copied to:\r\n" + out);
        }
    }
}

TEST(CopyProgress, TheCopyRunsFromTheEventLoopOverTheRowsItStartedWith)
{
    TempTree t;
    Settings settings;
    QWidget window;
    ScriptedPrompts prompts;
    NoEscape escape;
    BasketPanel panel(settings, prompts, escape, &window);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        panel.basket().addLoadedEntry(t.file(name, QByteArray(name)));
    const QString out = t.folder("out") + "/";

    // Each file is a turn of the event loop: a timer of the window runs between them.
    int turns = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&turns] { ++turns; });
    other.start(0);
    panel.copyRows(out, 1, 3, false);
    ASSERT_TRUE(panel.copying());
    panel.copyRows(t.folder("elsewhere") + "/", 1, 3, false); // one copy at a time
    panel.basket().ResetBasketGrid(); // the window is free to change the basket meanwhile
    FinishCopy(panel);

    EXPECT_FALSE(panel.copying());
    EXPECT_GE(turns, 3);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        EXPECT_EQ(ReadAll(out + name), QByteArray(name)) << name;
    EXPECT_TRUE(QDir(t.path("elsewhere")).isEmpty());
    EXPECT_EQ(prompts.shownTexts().last(), " 3 files copied to:\r\n" + out);
}
