#include "basket/BasketFile.h"

#include "basket/Basket.h"
#include "basket/BasketHeader.h"
#include "browse/FileList.h"
#include "browse/ResolveFileNode.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"
#include "platform/SafeWrite.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QFile>

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");
constexpr qint64 MaxHeaderBytes = 4096;

/// The text of line 1 (without its line end) and where the entries start.
std::pair<QString, qsizetype> splitHeader(const QString& text)
{
    const qsizetype end = text.indexOf(u'\n');
    QString first = end < 0 ? text : text.left(end);
    if (first.endsWith(u'\r'))
        first.chop(1);
    return {first, end < 0 ? text.size() : end + 1};
}

void addField(QStringList& entries, QString field)
{
    field = field.trimmed();
    if (!field.isEmpty())
        entries.append(field);
}

bool writeReplacing(const QString& path, const QByteArray& bytes, QString& why)
{
    return platform::WriteFileSafely(path, bytes, &why);
}

/// An entry listed under its basket file's node: its icon, or "k28" for a missing or
/// empty file.
void addEntryNode(NodeTree& tree, NodeTree::Id node, const QString& entry, bool present,
                  const Settings& settings)
{
    const QString prefix = QLatin1Char('[') + tree.node(node).text + QLatin1Char(']');
    const QString image =
        present
            ? QLatin1Char('k') + QString::number(FileListIconIndex(ExtensionOf(entry), settings))
            : QStringLiteral("k28");
    tree.add(node, prefix + entry, entry, image);
}

} // namespace

QByteArray BasketFileBytes(const Basket& basket)
{
    QByteArray bytes = EncodeBasketHeader(BasketMark, BasketKey).toLatin1() + CrLf;
    for (int row = 1; row < basket.grid().rows(); ++row)
        bytes += platform::encodeFileName(basket.shown(row)) + CrLf;
    return bytes;
}

bool SaveBasketFile(const Basket& basket, const QString& path, Prompts& prompts)
{
    if (FileLenOrZero(path) > 0 &&
        !prompts.askYesNoWarning(path + LineBreak +
                                 QStringLiteral(" file already exists, overwrite?")))
        return false;
    QString why;
    if (!writeReplacing(path, BasketFileBytes(basket), why)) {
        prompts.message(QStringLiteral("RadeZazeda not saved to:") + LineBreak + path + LineBreak +
                        why);
        return false;
    }
    prompts.message(QStringLiteral("RadeZazeda saved to:") + LineBreak + path);
    return true;
}

QStringList ParseBasketEntries(QStringView text)
{
    QStringList entries;
    QString field;
    bool quoted = false;     // inside "..."
    bool afterQuote = false; // the closing quote was read; the rest up to the comma goes
    bool started = false;    // a non-blank character of this field was read
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
                afterQuote = true;
            } else if (c == u'\n' || c == u'\r') {
                quoted = false; // an unclosed quote ends with its line
                addField(entries, field);
                field.clear();
                started = afterQuote = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == u',' || c == u'\n' || c == u'\r') {
            if (c == u',' || started || afterQuote)
                addField(entries, field);
            field.clear();
            started = afterQuote = false;
            continue;
        }
        if (afterQuote)
            continue;
        if (!started && c == u'"') {
            quoted = true;
            started = true;
            continue;
        }
        if (!started && c.isSpace())
            continue;
        started = true;
        field += c;
    }
    addField(entries, field);
    return entries;
}

BasketFileContents ReadBasketFile(const QString& path)
{
    BasketFileContents contents;
    QFile file;
    if (!platform::openForReading(file, path))
        return contents;
    // Entries are the names' own bytes, so a name that is not UTF-8 comes back whole.
    const QString text = platform::decodeFileName(file.readAll());
    const auto [header, start] = splitHeader(text);
    contents.headerLine = header;
    contents.isBasket = IsBasketHeaderLine(header);
    if (contents.isBasket)
        contents.entries = ParseBasketEntries(QStringView(text).mid(start));
    return contents;
}

BasketLoad LoadBasketFile(Basket& basket, const QString& path)
{
    if (!platform::pathExists(path))
        return BasketLoad::Unreadable;
    const BasketFileContents contents = ReadBasketFile(path);
    if (!contents.isBasket)
        return BasketLoad::NotBasket;
    basket.ResetBasketGrid();
    for (const QString& entry : contents.entries)
        basket.addLoadedEntry(entry);
    basket.host().gridChanged();
    basket.host().showGrid();
    basket.host().focusGrid();
    return BasketLoad::Loaded;
}

BasketLoad LoadBasketFile(Basket& basket, const QString& path, NodeTree& tree, NodeTree::Id node,
                          const Settings& settings)
{
    const BasketLoad load = LoadBasketFile(basket, path);
    if (load != BasketLoad::Loaded || !tree.contains(node) || !tree.children(node).empty())
        return load;
    NodeTreeLock lock(tree);
    for (int row = 1; row < basket.grid().rows(); ++row)
        addEntryNode(tree, node, basket.shown(row),
                     basket.grid().textMatrix(row, Basket::SizeColumn) != u"0", settings);
    tree.makeVisible(node);
    return load;
}

int RemoveListedBasketFileEntry(FileList& list, NodeTree::Id entryNode, const Settings& settings,
                                Prompts& prompts)
{
    const NodeTree& tree = list.tree();
    if (!tree.contains(entryNode) || tree.node(entryNode).parent == NodeTree::None)
        return -1;
    const NodeTree::Id parent = tree.node(entryNode).parent;
    const QString basketFile = tree.key(parent);
    if (!IsBasketFile(basketFile, settings))
        return -1;
    const int removed = RemoveBasketFileEntry(basketFile, tree.node(entryNode).text, prompts);
    if (removed < 0)
        return removed;
    // The entries listed under the file are listed again from what it holds now.
    list.rebuildTree([&](NodeTree& changed) {
        changed.removeChildren(parent);
        for (const QString& entry : ReadBasketFile(basketFile).entries)
            addEntryNode(changed, parent, entry, FileLenOrZero(entry) > 0, settings);
    });
    return removed;
}

bool IsBasketFile(const QString& path, const Settings& settings)
{
    if (!HasBasketKind(path, settings))
        return false;
    QFile file;
    if (!platform::openForReading(file, path))
        return false;
    const QString first = splitHeader(QString::fromUtf8(file.read(MaxHeaderBytes))).first;
    return IsBasketHeaderLine(first);
}

int RemoveBasketFileEntry(const QString& path, const QString& entry, Prompts& prompts)
{
    const QString failed =
        QStringLiteral("the entry was not removed from the basket file:") + LineBreak + path;
    QFile file;
    if (!platform::openForReading(file, path)) {
        prompts.message(failed);
        return -1;
    }
    const QByteArray old = file.readAll();
    file.close();
    QList<QByteArray> lines = old.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // the end of the last line
    const QByteArray target = platform::encodeFileName(entry);
    QByteArray kept;
    int removed = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (i > 0 && line == target) {
            ++removed;
            continue;
        }
        kept += line + CrLf;
    }
    QString why;
    if (!writeReplacing(path, kept, why)) {
        prompts.message(failed + LineBreak + why);
        return -1;
    }
    return removed;
}
