#include "controls/HistoryList.h"

#include "platform/Prompts.h"

#include <QSettings>
#include <algorithm>

int HistoryList::Additem(const QString& text, int index, int icon, qint64 itemData, RowKind kind)
{
    if (index < 0 || index > ListCount())
        index = ListCount();
    rows_.insert(rows_.begin() + index, Row{text, icon, {}, 0, props.ForeColor, itemData, kind});
    if (listIndex_ >= index)
        ++listIndex_;
    return index;
}

void HistoryList::RemoveItem(int index)
{
    if (!valid(index))
        return;
    rows_.erase(rows_.begin() + index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    props.TopIndex = std::clamp(props.TopIndex, 0, std::max(0, ListCount() - 1));
}

void HistoryList::Clear()
{
    rows_.clear();
    listIndex_ = -1;
    props.TopIndex = 0;
}

void HistoryList::sortRows(bool descending)
{
    const Row* current = valid(listIndex_) ? &rows_[size_t(listIndex_)] : nullptr;
    const qint64 currentData = current ? current->itemData : 0;
    const QString currentText = current ? current->text : QString();
    std::stable_sort(rows_.begin(), rows_.end(), [descending](const Row& a, const Row& b) {
        const int order = a.text.compare(b.text, Qt::CaseInsensitive);
        return descending ? order > 0 : order < 0;
    });
    if (current) {
        const auto found = std::find_if(rows_.begin(), rows_.end(), [&](const Row& r) {
            return r.text == currentText && r.itemData == currentData;
        });
        listIndex_ = int(found - rows_.begin());
    }
}

void HistoryList::SortAscending()
{
    sortRows(false);
}

void HistoryList::SortDescending()
{
    sortRows(true);
}

QString HistoryList::list(int index) const
{
    return valid(index) ? rows_[size_t(index)].text : QString();
}

const HistoryList::Row* HistoryList::row(int index) const
{
    return valid(index) ? &rows_[size_t(index)] : nullptr;
}

void HistoryList::setListIndex(int index)
{
    if (index == -1 || valid(index))
        listIndex_ = index;
}

int HistoryList::Find(const QString& text, int start) const
{
    for (int i = std::max(0, start); i < ListCount(); ++i) {
        if (rows_[size_t(i)].text == text)
            return i;
    }
    return -1;
}

void HistoryList::ShowItem(int index, int visibleRows)
{
    if (!valid(index))
        return;
    visibleRows = std::max(1, visibleRows);
    if (index < props.TopIndex)
        props.TopIndex = index;
    else if (index >= props.TopIndex + visibleRows)
        props.TopIndex = index - visibleRows + 1;
}

void HistoryList::UpdateText(int index, const QString& text)
{
    if (valid(index))
        rows_[size_t(index)].text = text;
}

void HistoryList::UpdateIcon(int index, int icon)
{
    if (valid(index))
        rows_[size_t(index)].icon = icon;
}

void HistoryList::UpdateFont(int index, const QString& name, double size)
{
    if (!valid(index))
        return;
    rows_[size_t(index)].fontName = name;
    rows_[size_t(index)].fontSize = size;
}

void HistoryList::UpdateForeColor(int index, quint32 colour)
{
    if (valid(index))
        rows_[size_t(index)].foreColor = colour;
}

void HistoryList::UpdateItemData(int index, qint64 itemData)
{
    if (valid(index))
        rows_[size_t(index)].itemData = itemData;
}

qint64 HistoryList::GetItemData(int index) const
{
    return valid(index) ? rows_[size_t(index)].itemData : 0;
}

QStringList HistoryList::Columns(const QString& text)
{
    return text.split(QLatin1Char('\t'));
}

QStringList HistoryList::shownColumns(int index) const
{
    const Row* r = row(index);
    if (!r)
        return {};
    return r->kind == RowKind::Path ? QStringList{Visible(r->text)} : Columns(r->text);
}

QString HistoryList::firstColumn(int index) const
{
    const Row* r = row(index);
    if (!r)
        return {};
    return r->kind == RowKind::Path ? r->text : Columns(r->text).constFirst();
}

QString HistoryList::Visible(const QString& text)
{
    QString shown = text;
    for (QChar& c : shown) {
        if (c.unicode() < 0x20)
            c = QChar(char16_t(0x2400 + c.unicode()));
        else if (c.unicode() == 0x7F)
            c = QChar(char16_t(0x2421));
    }
    return shown;
}

int HistoryList::RowAt(int y, int rowHeight) const
{
    if (y < 0 || rowHeight <= 0)
        return -1;
    const int index = props.TopIndex + y / rowHeight;
    return valid(index) ? index : -1;
}

bool HistoryList::chooseRowAt(int y, int rowHeight)
{
    const int index = RowAt(y, rowHeight);
    if (index < 0)
        return false;
    listIndex_ = index;
    text_ = firstColumn(index);
    return true;
}

bool HistoryList::runMenuCode(MenuCode code, Prompts& prompts)
{
    if (code == MenuCode::SortAscending) {
        SortAscending();
        return true;
    }
    if (code == MenuCode::SortDescending) {
        SortDescending();
        return true;
    }
    if (code == MenuCode::Clear &&
        prompts.askYesNo(QStringLiteral("do you wish to clear contents?"))) {
        Clear();
        return true;
    }
    return false;
}

namespace {

template <typename T>
void writeUnlessDefault(QSettings& store, const char* key, const T& value, const T& fallback)
{
    if (value == fallback)
        store.remove(QLatin1String(key));
    else
        store.setValue(QLatin1String(key), value);
}

template <typename T> T readOr(const QSettings& store, const char* key, const T& fallback)
{
    const QVariant value = store.value(QLatin1String(key));
    return value.isValid() && value.canConvert<T>() ? value.value<T>() : fallback;
}

} // namespace

void HistoryList::save(QSettings& store) const
{
    const Properties d;
    writeUnlessDefault(store, "Enabled", props.Enabled, d.Enabled);
    writeUnlessDefault(store, "PictureList", props.PictureList, d.PictureList);
    writeUnlessDefault(store, "ListCount", ListCount(), 0);
    writeUnlessDefault(store, "Fontname", props.Fontname, d.Fontname);
    writeUnlessDefault(store, "FontSize", props.FontSize, d.FontSize);
    writeUnlessDefault(store, "ForeColor", props.ForeColor, d.ForeColor);
    writeUnlessDefault(store, "GridLines", props.GridLines, d.GridLines);
    writeUnlessDefault(store, "BorderStyle", props.BorderStyle, d.BorderStyle);
    writeUnlessDefault(store, "DropDownHeight", props.DropDownHeight, d.DropDownHeight);
    writeUnlessDefault(store, "Mode", props.Mode, d.Mode);
    writeUnlessDefault(store, "RowHeight", props.RowHeight, d.RowHeight);
    writeUnlessDefault(store, "DrawStyle", props.DrawStyle, d.DrawStyle);
    writeUnlessDefault(store, "BackColor", props.BackColor, d.BackColor);
    writeUnlessDefault(store, "GridColor", props.GridColor, d.GridColor);
    writeUnlessDefault(store, "ToolTip", props.ToolTip, d.ToolTip);
    writeUnlessDefault(store, "TopIndex", props.TopIndex, d.TopIndex);
}

void HistoryList::load(const QSettings& store)
{
    const Properties d;
    props.Enabled = readOr(store, "Enabled", d.Enabled);
    props.PictureList = readOr(store, "PictureList", d.PictureList);
    props.Fontname = readOr(store, "Fontname", d.Fontname);
    props.FontSize = readOr(store, "FontSize", d.FontSize);
    props.ForeColor = readOr(store, "ForeColor", d.ForeColor);
    props.GridLines = readOr(store, "GridLines", d.GridLines);
    props.BorderStyle = readOr(store, "BorderStyle", d.BorderStyle);
    props.DropDownHeight = readOr(store, "DropDownHeight", d.DropDownHeight);
    props.Mode = readOr(store, "Mode", d.Mode);
    props.RowHeight = readOr(store, "RowHeight", d.RowHeight);
    props.DrawStyle = readOr(store, "DrawStyle", d.DrawStyle);
    props.BackColor = readOr(store, "BackColor", d.BackColor);
    props.GridColor = readOr(store, "GridColor", d.GridColor);
    props.ToolTip = readOr(store, "ToolTip", d.ToolTip);
    props.TopIndex = readOr(store, "TopIndex", d.TopIndex);
    // The rows themselves are not part of the saved properties; a "List" given with
    // the design data becomes the rows.
    rows_.clear();
    for (const QString& text : store.value(QStringLiteral("List")).toStringList())
        Additem(text);
    text_ = readOr(store, "Text", QString());
    listIndex_ = -1;
    setListIndex(readOr(store, "ListIndex", 0));
}
