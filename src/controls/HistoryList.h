#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class Prompts;
class QSettings;

/// The history list control's rows and saved properties without a widget: rows of
/// TAB-separated columns, each with a picture index, font, fore colour and item data;
/// the current row, the first visible row, sorting, and the codes of its pop-up menu.
/// HistoryListBox draws it.
///
/// Colours are kept as the original colour values: 0x80000000 | n for system colour n,
/// otherwise 0x00BBGGRR.
class HistoryList {
public:
    static constexpr quint32 SystemColorFlag = 0x80000000u;
    static constexpr quint32 WindowText = SystemColorFlag | 8;
    static constexpr quint32 ButtonFace = SystemColorFlag | 15;
    /// The face name rows use when none was set.
    static inline const QString DefaultFontName = QStringLiteral("MS Sans Serif");

    /// What a row's text is: TAB-separated columns, or one path (a file name may hold
    /// TABs and line breaks of its own).
    enum class RowKind { Columns, Path };

    struct Row {
        QString text;     ///< columns separated by TAB, or a path
        int icon = -1;    ///< index into PictureList, -1 for none
        QString fontName; ///< "" for the control's font
        double fontSize = 0;
        quint32 foreColor = WindowText;
        qint64 itemData = 0;
        RowKind kind = RowKind::Columns;
    };

    /// The saved properties with their defaults.
    struct Properties {
        bool Enabled = false;
        QString PictureList;
        QString Fontname = DefaultFontName;
        double FontSize = 0;
        quint32 ForeColor = WindowText;
        int GridLines = 0;
        int BorderStyle = 1;
        int DropDownHeight = 0;
        int Mode = 0; ///< 0 plain list, 1 drop-down
        int RowHeight = 0;
        int DrawStyle = 0;
        quint32 BackColor = ButtonFace;
        quint32 GridColor = 0;
        int ToolTip = 0;
        int TopIndex = 0;
    };

    Properties props;

    /// Inserts a row at `index` (appends when out of range) and returns where it went.
    /// The new row takes the control's fore colour.
    int Additem(const QString& text, int index = -1, int icon = -1, qint64 itemData = 0,
                RowKind kind = RowKind::Columns);
    /// Removes row `index`; the current row follows its row or becomes -1.
    void RemoveItem(int index);
    /// Removes every row; no current row, the first row at the top.
    void Clear();
    /// Sort the rows by their text without regard to case; rows keep their attributes
    /// and the current row follows its row.
    void SortAscending();
    void SortDescending();

    [[nodiscard]] int ListCount() const { return int(rows_.size()); }
    /// The text of row `index`; "" out of range.
    [[nodiscard]] QString list(int index) const;
    [[nodiscard]] const Row* row(int index) const;
    /// The current row, -1 for none.
    [[nodiscard]] int ListIndex() const { return listIndex_; }
    /// Makes `index` the current row (-1 for none; others out of range are ignored).
    void setListIndex(int index);
    /// The edit field's text: the first column of the current row when one was chosen.
    [[nodiscard]] QString text() const { return text_; }
    void setText(const QString& text) { text_ = text; }

    /// The first row whose text equals `text` (case-sensitive), from `start` on; -1.
    [[nodiscard]] int Find(const QString& text, int start = 0) const;
    /// Scrolls so that row `index` is among the `visibleRows` rows shown.
    void ShowItem(int index, int visibleRows);

    void UpdateText(int index, const QString& text);
    void UpdateIcon(int index, int icon);
    void UpdateFont(int index, const QString& name, double size);
    void UpdateForeColor(int index, quint32 colour);
    void UpdateItemData(int index, qint64 itemData);
    [[nodiscard]] qint64 GetItemData(int index) const;
    void SetItemData(int index, qint64 itemData) { UpdateItemData(index, itemData); }

    /// The columns of a row's text.
    [[nodiscard]] static QStringList Columns(const QString& text);
    /// The cells row `index` is drawn as: its columns, or for a path row the one path with
    /// its control characters made visible; none out of range.
    [[nodiscard]] QStringList shownColumns(int index) const;
    /// The value of row `index` the edit field takes: its first column, or its whole path.
    [[nodiscard]] QString firstColumn(int index) const;
    /// `text` with each control character (TAB, line breaks, ...) replaced by the symbol
    /// that stands for it (U+2400 + code, U+2421 for DEL), so a name shows on one line.
    [[nodiscard]] static QString Visible(const QString& text);
    /// The row under a pointer `y` pixels below the top of the rows, or -1.
    [[nodiscard]] int RowAt(int y, int rowHeight) const;
    /// A click that chooses the row under the pointer: it becomes the current row and
    /// its first column goes into the edit field. True when a row was hit.
    bool chooseRowAt(int y, int rowHeight);

    /// What the pop-up menu's items leave.
    enum class MenuCode { None, Clear, SortDescending, SortAscending };
    /// Acts on the code left by the pop-up menu; Clear asks "do you wish to clear
    /// contents?" and clears on Yes. True when the rows changed.
    bool runMenuCode(MenuCode code, Prompts& prompts);

    /// Writes the saved properties into the current group of `store`, leaving out the
    /// ones equal to their defaults (a key left out reads back as its default).
    void save(QSettings& store) const;
    /// Reads the saved properties, and "List" (the row texts), "Text" and "ListIndex",
    /// from the current group of `store`; missing keys take the defaults.
    void load(const QSettings& store);

private:
    void sortRows(bool descending);
    [[nodiscard]] bool valid(int index) const { return index >= 0 && index < ListCount(); }

    std::vector<Row> rows_;
    int listIndex_ = -1;
    QString text_;
};
