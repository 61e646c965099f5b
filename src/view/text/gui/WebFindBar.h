#pragma once

#include <QWidget>

class QLineEdit;
class QWebEngineView;

/// The browser's own find bar: a line over the top right of the page; Enter finds the
/// next hit (Shift+Enter the one before), Escape closes it.
class WebFindBar : public QWidget {
    Q_OBJECT
public:
    explicit WebFindBar(QWebEngineView& view);

    /// Shows the bar over the page and puts the cursor in it.
    void open();
    [[nodiscard]] QLineEdit* line() const { return line_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void find(bool backward);
    void place();

    QWebEngineView& view_;
    QLineEdit* line_ = nullptr;
};
