#pragma once

#include <QLabel>
#include <QStringList>
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
    /// Tells the icon the full paths of the basket's files, which its drags carry.
    void setEntryPaths(std::function<QStringList()> paths) { paths_ = std::move(paths); }

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
    std::function<QStringList()> paths_;
    QPoint pressPos_;
    bool pressed_ = false;
    bool dragged_ = false;
};
