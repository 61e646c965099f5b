#pragma once

#include <QLabel>
#include <functional>

class QMimeData;

/// `RadeZazedactrl`: the small icon that stands for the whole basket. Its tip tells how
/// many files the basket holds; a left click shows or hides the grid, a left drag
/// carries the basket, a right click asks for the basket's menu, and it takes drops.
class BasketIcon : public QLabel {
    Q_OBJECT
public:
    explicit BasketIcon(QWidget* parent = nullptr);

    /// Tells the icon how many entries the basket holds (for its tip and its drags).
    void setEntryCount(std::function<int()> count) { count_ = std::move(count); }

Q_SIGNALS:
    void clicked();
    void menuRequested(const QPoint& globalPos);
    void dropped(const QMimeData* data);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<int()> count_;
    QPoint pressPos_;
    bool pressed_ = false;
    bool dragged_ = false;
};
