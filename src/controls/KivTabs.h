#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

class QSettings;

/// The tab strip's state and geometry without a widget: its saved properties, the
/// tab and page rectangles of the eight placement styles, caption placement, and the
/// keyboard and mouse rules. KivTabsWidget draws it.
///
/// Colours are kept as the original colour values: 0x80000000 | n for system colour
/// n, otherwise 0x00BBGGRR; `TranslateColor` turns them into RGB for drawing.
class KivTabs : public QObject {
    Q_OBJECT
public:
    static constexpr quint32 SystemColorFlag = 0x80000000u;
    static constexpr quint32 ButtonShadow = SystemColorFlag | 16;
    static constexpr quint32 ButtonFace = SystemColorFlag | 15;
    static constexpr quint32 ButtonHighlight = SystemColorFlag | 20;
    static constexpr quint32 ButtonText = SystemColorFlag | 18;

    /// A new control: two tabs "Tab 1" and "Tab 2", 70 x 20, top from the left,
    /// captions centred, fonts `font`.
    explicit KivTabs(const QFont& font = QFont(), QObject* parent = nullptr);

    [[nodiscard]] int TabsWidth() const { return tabsWidth_; }
    void setTabsWidth(int pixels);
    [[nodiscard]] int TabsHeight() const { return tabsHeight_; }
    void setTabsHeight(int pixels);
    [[nodiscard]] int Tabs() const { return int(captions_.size()); }
    /// At least 1; keeps existing captions and colours, new tabs get empty captions.
    void setTabs(int count);
    [[nodiscard]] int SelectedTab() const { return selectedTab_; }
    /// Clamps to 1..Tabs, records the change, then raises TabClick(new, previous).
    void setSelectedTab(int tab);
    [[nodiscard]] int Style() const { return style_; }
    /// 0..7; other values are ignored.
    void setStyle(int style);
    [[nodiscard]] int CaptionAlignment() const { return captionAlignment_; }
    /// 0..8; other values are ignored.
    void setCaptionAlignment(int alignment);
    [[nodiscard]] bool UseFocusRect() const { return useFocusRect_; }
    void setUseFocusRect(bool on);
    /// Caption of tab i (1-based); "" out of range.
    [[nodiscard]] QString Caption(int i) const;
    void setCaption(int i, const QString& text);
    [[nodiscard]] QFont TabFont() const { return tabFont_; }
    void setTabFont(const QFont& font);
    [[nodiscard]] QFont TabFontActive() const { return tabFontActive_; }
    void setTabFontActive(const QFont& font);
    [[nodiscard]] quint32 TabColor() const { return tabColor_; }
    void setTabColor(quint32 color);
    [[nodiscard]] quint32 TabColorActive() const { return tabColorActive_; }
    void setTabColorActive(quint32 color);
    [[nodiscard]] quint32 TextColor() const { return textColor_; }
    void setTextColor(quint32 color);
    [[nodiscard]] quint32 TextColorActive() const { return textColorActive_; }
    void setTextColorActive(quint32 color);
    /// Tab i's own colour: the one given by setTabBackColor, else TabColorActive for
    /// the selected tab and TabColor for the others.
    [[nodiscard]] quint32 TabBackColor(int i) const;
    void setTabBackColor(int i, quint32 color);

    [[nodiscard]] bool hasFocus() const { return hasFocus_; }
    void setHasFocus(bool focus);

    /// Tab i's rectangle (W + 1 by H + 1 pixels) in a control of inner size cw x ch.
    [[nodiscard]] QRect tabRect(int i, int cw, int ch) const;
    /// The page area: the control without the band of the tabs.
    [[nodiscard]] QRect pageRect(int cw, int ch) const;
    /// The tab under (x, y), or 0.
    [[nodiscard]] int tabAt(int x, int y, int cw, int ch) const;
    /// Top-left corner of a caption of the given text size inside tab i.
    [[nodiscard]] QPoint captionPosition(int i, int textWidth, int textHeight, int cw,
                                         int ch) const;
    /// The sides of the selected tab that get the raised edge: left, top, right, bottom.
    struct Sides {
        bool left, top, right, bottom;
    };
    [[nodiscard]] Sides closedSides() const;

    /// Right/Down select the next tab, Left/Up the previous one; true when the key
    /// was one of them. `key` is a Qt::Key.
    bool keyPressed(int key);
    /// A button pressed at (x, y) selects the tab there; true when it hit a tab.
    bool mousePressed(int x, int y, int cw, int ch);

    /// The saved-property keys changed since the last load or save.
    [[nodiscard]] const QSet<QString>& changedKeys() const { return changed_; }
    /// Reads every property from the current group of `store`; missing keys take
    /// the "missing" defaults (empty captions). Forgets recorded changes.
    void load(const QSettings& store, const QFont& controlFont);
    /// Writes every saved property into the current group of `store`.
    void save(QSettings& store);
    /// Sets `key` in `store` only when its text differs, so a store nobody changed is
    /// never rewritten.
    static void storeIfChanged(QSettings& store, const QString& key, const QVariant& value);

    /// RGB of a colour value; system colours come from the application palette.
    [[nodiscard]] static QColor TranslateColor(quint32 value);

Q_SIGNALS:
    void TabClick(int newTab, int previousTab);
    void MouseUp(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    /// A drawing property changed: views repaint.
    void changed();

private:
    void record(const QString& key);

    int tabsWidth_ = 70;
    int tabsHeight_ = 20;
    int selectedTab_ = 1;
    int style_ = 0;
    int captionAlignment_ = 4;
    bool useFocusRect_ = false;
    QStringList captions_;
    std::vector<qint64> backColors_; ///< -1 = none set
    QFont tabFont_;
    QFont tabFontActive_;
    quint32 tabColor_ = ButtonShadow;
    quint32 tabColorActive_ = ButtonFace;
    quint32 textColor_ = ButtonHighlight;
    quint32 textColorActive_ = ButtonText;
    bool hasFocus_ = false;
    QSet<QString> changed_;
};
