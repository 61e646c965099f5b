#pragma once

#include "controls/KivTabs.h"

#include <QWidget>

/// The owner-drawn tab strip: draws a KivTabs state and feeds it the keyboard, mouse
/// and focus events. The state's TabClick, MouseUp and MouseMove are the events.
class KivTabsWidget : public QWidget {
    Q_OBJECT
public:
    explicit KivTabsWidget(QWidget* parent = nullptr);

    [[nodiscard]] KivTabs& tabs() { return tabs_; }
    [[nodiscard]] const KivTabs& tabs() const { return tabs_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    /// The caption of tab `index` (1-based) as drawn: in a smaller font where the tab is
    /// narrow, and only when even that is too wide cut with "…", so that neighbouring
    /// captions never run together.
    [[nodiscard]] QString shownCaption(int index) const;
    /// The font the caption of tab `index` is drawn in.
    [[nodiscard]] QFont captionFont(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    /// The room for a caption inside tab `index`.
    [[nodiscard]] int captionRoom(int index) const;

    KivTabs tabs_;
};
