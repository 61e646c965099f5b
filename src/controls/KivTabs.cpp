#include "controls/KivTabs.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QSettings>
#include <algorithm>

namespace {

// Far more than any strip uses (the filter strip has a dozen tabs).
constexpr int MostTabs = 256;
constexpr int MostPixels = 10000;
constexpr double MostFontPoints = 400;

} // namespace

KivTabs::KivTabs(const QFont& font, QObject* parent)
    : QObject(parent), tabFont_(font), tabFontActive_(font)
{
    captions_ = {QStringLiteral("Tab 1"), QStringLiteral("Tab 2")};
    backColors_.assign(2, -1);
}

void KivTabs::record(const QString& key)
{
    changed_.insert(key);
    Q_EMIT changed();
}

void KivTabs::setTabsWidth(int pixels)
{
    tabsWidth_ = std::clamp(pixels, 1, MostPixels);
    record(QStringLiteral("TABWIDE"));
}

void KivTabs::setTabsHeight(int pixels)
{
    tabsHeight_ = std::clamp(pixels, 1, MostPixels);
    record(QStringLiteral("TABHIGH"));
}

void KivTabs::setTabs(int count)
{
    count = std::clamp(count, 1, MostTabs);
    while (captions_.size() < count)
        captions_.append(QString());
    while (captions_.size() > count)
        captions_.removeLast();
    backColors_.resize(count, -1);
    selectedTab_ = std::min(selectedTab_, count);
    record(QStringLiteral("TABCOUNT"));
}

void KivTabs::setSelectedTab(int tab)
{
    const int previous = selectedTab_;
    selectedTab_ = std::clamp(tab, 1, Tabs());
    record(QStringLiteral("TABSELECTED"));
    Q_EMIT TabClick(selectedTab_, previous);
}

void KivTabs::setStyle(int style)
{
    if (style < 0 || style > 7)
        return;
    style_ = style;
    record(QStringLiteral("TABSTYLE"));
}

void KivTabs::setCaptionAlignment(int alignment)
{
    if (alignment < 0 || alignment > 8)
        return;
    captionAlignment_ = alignment;
    record(QStringLiteral("CAPTIONSTYLE"));
}

void KivTabs::setUseFocusRect(bool on)
{
    useFocusRect_ = on;
    record(QStringLiteral("FOCUSRECT"));
}

QString KivTabs::Caption(int i) const
{
    return i >= 1 && i <= Tabs() ? captions_[i - 1] : QString();
}

void KivTabs::setCaption(int i, const QString& text)
{
    if (i < 1 || i > Tabs())
        return;
    captions_[i - 1] = text;
    record(QStringLiteral("TABCAPTION") + QString::number(i));
}

void KivTabs::setTabFont(const QFont& font)
{
    tabFont_ = font;
    record(QStringLiteral("TABFONT"));
}

void KivTabs::setTabFontActive(const QFont& font)
{
    tabFontActive_ = font;
    record(QStringLiteral("TABFONTACTIVE"));
}

void KivTabs::setTabColor(quint32 color)
{
    tabColor_ = color;
    record(QStringLiteral("TABCOLOR"));
}

void KivTabs::setTabColorActive(quint32 color)
{
    tabColorActive_ = color;
    record(QStringLiteral("TABCOLORACTIVE"));
}

void KivTabs::setTextColor(quint32 color)
{
    textColor_ = color;
    record(QStringLiteral("TEXTCOLOR"));
}

void KivTabs::setTextColorActive(quint32 color)
{
    textColorActive_ = color;
    record(QStringLiteral("TEXTCOLORACTIVE"));
}

quint32 KivTabs::TabBackColor(int i) const
{
    if (i >= 1 && i <= Tabs() && backColors_[i - 1] >= 0)
        return quint32(backColors_[i - 1]);
    return i == selectedTab_ ? tabColorActive_ : tabColor_;
}

void KivTabs::setTabBackColor(int i, quint32 color)
{
    if (i < 1 || i > Tabs())
        return;
    backColors_[i - 1] = color;
    Q_EMIT changed();
}

void KivTabs::setHasFocus(bool focus)
{
    hasFocus_ = focus;
    Q_EMIT changed();
}

QRect KivTabs::tabRect(int i, int cw, int ch) const
{
    const int w = tabsWidth_, h = tabsHeight_, n = Tabs();
    int left = 0, top = 0;
    switch (style_) {
    case 0:
        left = (i - 1) * w;
        break;
    case 1:
        left = cw - n * w + (i - 1) * w - 1;
        break;
    case 2:
        left = (i - 1) * w;
        top = ch - h - 1;
        break;
    case 3:
        left = cw - n * w + (i - 1) * w - 1;
        top = ch - h - 1;
        break;
    case 4:
        top = (i - 1) * h;
        break;
    case 5:
        left = cw - w - 1;
        top = (i - 1) * h;
        break;
    case 6:
        top = ch - n * h + (i - 1) * h - 1;
        break;
    case 7:
        left = cw - w - 1;
        top = ch - n * h + (i - 1) * h - 1;
        break;
    default:
        break;
    }
    return {left, top, w + 1, h + 1};
}

QRect KivTabs::pageRect(int cw, int ch) const
{
    const int w = tabsWidth_, h = tabsHeight_;
    switch (style_) {
    case 0:
    case 1:
        return {0, h, cw, std::max(ch - h, 0)};
    case 2:
    case 3:
        return {0, 0, cw, std::max(ch - h - 1, 0)};
    case 4:
    case 6:
        return {w, 0, std::max(cw - w, 0), ch};
    default:
        return {0, 0, std::max(cw - w - 1, 0), ch};
    }
}

int KivTabs::tabAt(int x, int y, int cw, int ch) const
{
    for (int i = 1; i <= Tabs(); ++i) {
        if (tabRect(i, cw, ch).contains(x, y))
            return i;
    }
    return 0;
}

QPoint KivTabs::captionPosition(int i, int textWidth, int textHeight, int cw, int ch) const
{
    const QRect r = tabRect(i, cw, ch);
    int x = r.left() + (r.width() - textWidth) / 2;
    if (captionAlignment_ % 3 == 0)
        x = r.left() + 3;
    else if (captionAlignment_ % 3 == 2)
        x = r.left() + r.width() - textWidth - 4;
    int y = r.top() + (r.height() - textHeight) / 2;
    if (captionAlignment_ < 3)
        y = r.top();
    else if (captionAlignment_ > 5)
        y = r.top() + r.height() - textHeight - 2;
    return {x, y};
}

KivTabs::Sides KivTabs::closedSides() const
{
    switch (style_) {
    case 0:
    case 1:
        return {true, true, true, false};
    case 2:
    case 3:
        return {true, false, true, true};
    case 4:
    case 6:
        return {true, true, false, true};
    default:
        return {false, true, true, true};
    }
}

bool KivTabs::keyPressed(int key)
{
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        setSelectedTab(selectedTab_ + 1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
        setSelectedTab(selectedTab_ - 1);
        return true;
    default:
        return false;
    }
}

bool KivTabs::mousePressed(int x, int y, int cw, int ch)
{
    const int tab = tabAt(x, y, cw, ch);
    if (tab == 0)
        return false;
    setSelectedTab(tab);
    return true;
}

void KivTabs::load(const QSettings& store, const QFont& controlFont)
{
    auto intValue = [&store](const char* key, int fallback) {
        return store.value(QLatin1String(key), fallback).toInt();
    };
    auto colorValue = [&store](const char* key, quint32 fallback) {
        return store.value(QLatin1String(key), fallback).toUInt();
    };
    auto fontValue = [&store, &controlFont](const char* key) {
        QFont f = controlFont;
        const QString text = store.value(QLatin1String(key)).toString();
        if (!text.isEmpty() && f.fromString(text) &&
            (f.pointSizeF() > MostFontPoints || f.pixelSize() > MostFontPoints))
            f.setPointSizeF(MostFontPoints);
        return f;
    };
    // The store is a text file anyone may edit: sizes and counts are held to what a
    // strip of tabs can show, or start-up would spend seconds making tabs.
    tabsWidth_ = std::clamp(intValue("TABWIDE", 70), 1, MostPixels);
    tabsHeight_ = std::clamp(intValue("TABHIGH", 20), 1, MostPixels);
    const int count = std::clamp(intValue("TABCOUNT", 2), 1, MostTabs);
    captions_.clear();
    for (int i = 1; i <= count; ++i)
        captions_.append(store.value(QStringLiteral("TABCAPTION") + QString::number(i)).toString());
    backColors_.assign(count, -1);
    selectedTab_ = std::clamp(intValue("TABSELECTED", 1), 1, count);
    const int style = intValue("TABSTYLE", 0);
    style_ = style >= 0 && style <= 7 ? style : 0;
    const int align = intValue("CAPTIONSTYLE", 4);
    captionAlignment_ = align >= 0 && align <= 8 ? align : 4;
    useFocusRect_ = store.value(QStringLiteral("FOCUSRECT"), false).toBool();
    tabFont_ = fontValue("TABFONT");
    tabFontActive_ = fontValue("TABFONTACTIVE");
    tabColor_ = colorValue("TABCOLOR", ButtonShadow);
    tabColorActive_ = colorValue("TABCOLORACTIVE", ButtonFace);
    textColor_ = colorValue("TEXTCOLOR", ButtonHighlight);
    textColorActive_ = colorValue("TEXTCOLORACTIVE", ButtonText);
    changed_.clear();
    Q_EMIT changed();
}

void KivTabs::storeIfChanged(QSettings& store, const QString& key, const QVariant& value)
{
    if (!store.contains(key) || store.value(key).toString() != value.toString())
        store.setValue(key, value);
}

void KivTabs::save(QSettings& store)
{
    storeIfChanged(store, QStringLiteral("TABWIDE"), tabsWidth_);
    storeIfChanged(store, QStringLiteral("TABHIGH"), tabsHeight_);
    storeIfChanged(store, QStringLiteral("TABCOUNT"), Tabs());
    storeIfChanged(store, QStringLiteral("TABSELECTED"), selectedTab_);
    storeIfChanged(store, QStringLiteral("TABSTYLE"), style_);
    storeIfChanged(store, QStringLiteral("CAPTIONSTYLE"), captionAlignment_);
    storeIfChanged(store, QStringLiteral("FOCUSRECT"), useFocusRect_);
    for (int i = 1; i <= Tabs(); ++i)
        storeIfChanged(store, QStringLiteral("TABCAPTION") + QString::number(i), captions_[i - 1]);
    storeIfChanged(store, QStringLiteral("TABFONT"), tabFont_.toString());
    storeIfChanged(store, QStringLiteral("TABFONTACTIVE"), tabFontActive_.toString());
    storeIfChanged(store, QStringLiteral("TABCOLOR"), tabColor_);
    storeIfChanged(store, QStringLiteral("TABCOLORACTIVE"), tabColorActive_);
    storeIfChanged(store, QStringLiteral("TEXTCOLOR"), textColor_);
    storeIfChanged(store, QStringLiteral("TEXTCOLORACTIVE"), textColorActive_);
    changed_.clear();
}

QColor KivTabs::TranslateColor(quint32 value)
{
    if (value & SystemColorFlag) {
        const QPalette pal = QGuiApplication::palette();
        switch (value & 0xFF) {
        case 5: // window background
            return pal.color(QPalette::Base);
        case 8: // window text
            return pal.color(QPalette::Text);
        case 15:
            return pal.color(QPalette::Button);
        case 16:
            return pal.color(QPalette::Dark);
        case 18:
            return pal.color(QPalette::ButtonText);
        case 20:
            return pal.color(QPalette::Light);
        case 13:
            return pal.color(QPalette::Highlight);
        case 14:
            return pal.color(QPalette::HighlightedText);
        default:
            return pal.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}
