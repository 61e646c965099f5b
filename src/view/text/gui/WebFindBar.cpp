#include "view/text/gui/WebFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

WebFindBar::WebFindBar(QWebEngineView& view) : QWidget(&view), view_(view)
{
    setObjectName(QStringLiteral("WebFindBar"));
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    line_ = new QLineEdit(this);
    line_->setPlaceholderText(QStringLiteral("Find in page"));
    line_->setClearButtonEnabled(true);
    auto* next = new QToolButton(this);
    next->setText(QStringLiteral("Find next"));
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("x"));
    layout->addWidget(line_);
    layout->addWidget(next);
    layout->addWidget(close);
    connect(line_, &QLineEdit::returnPressed, this, [this] { find(false); });
    connect(next, &QToolButton::clicked, this, [this] { find(false); });
    connect(close, &QToolButton::clicked, this, [this] {
        view_.findText(QString()); // clears the highlighted hits
        hide();
    });
    hide();
}

void WebFindBar::open()
{
    place();
    show();
    raise();
    line_->setFocus();
    line_->selectAll();
}

void WebFindBar::place()
{
    adjustSize();
    const int width = std::min(360, view_.width());
    setGeometry(view_.width() - width, 0, width, sizeHint().height());
}

void WebFindBar::find(bool backward)
{
    const QWebEnginePage::FindFlags flags =
        backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags();
    view_.findText(line_->text(), flags);
}

void WebFindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        view_.findText(QString());
        hide();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() & Qt::ShiftModifier) {
        find(true);
        return;
    }
    QWidget::keyPressEvent(event);
}
