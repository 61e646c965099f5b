#pragma once

#include "browse/FileList.h"
#include "shared/Settings.h"
#include "trees/NodeScheme.h"
#include "trees/TreeContext.h"

#include <QDateTime>
#include <QTimeZone>

/// A file list as the listing leaves it (header, entries with their metadata, a plain
/// fileTree), with a fixed clock, for the tree builders.
struct TreeFixture {
    Settings settings;
    FileList state;
    QDateTime now{QDate(2005, 3, 10), QTime(12, 0, 0), QTimeZone::utc()};
    QHash<QString, QString> typeNames; ///< extension -> type name for the fake shell

    /// Lists a folder (path ending in "/") or the basket ("" folder).
    void header(const QString& folder)
    {
        state.setSource(folder);
        FileList::Edit(state).listedNames().Clear();
        FileList::Edit(state).listedNames().Additem(folder.isEmpty() ? QStringLiteral("RadeZazeda")
                                                                     : folder);
    }

    /// Adds an entry with its length, last-write and creation days (UTC noon).
    void add(const QString& entry, qint64 size, QDate modified = {2005, 1, 5},
             QDate created = {2004, 6, 1})
    {
        FileList::Edit(state).listedNames().Additem(entry);
        platform::FileEntry e;
        e.name = entry;
        e.size = size;
        e.modifiedMs = QDateTime(modified, QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch();
        e.createdMs = QDateTime(created, QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch();
        e.birthKnown = true;
        FileList::Edit(state).contents().entries.insert(e);
    }

    /// Shows listedNames as the plain list, in its order, under the root a listing gives.
    void showPlain()
    {
        state.rebuildTree([this](NodeTree& tree) {
            tree.clear();
            const auto root = AddFileListRoot(tree, state.listedNames().list(0));
            for (int i = 1; i < state.listedNames().ListCount(); ++i) {
                const QString entry = state.listedNames().list(i);
                tree.add(root, state.setup().currentFolder + entry, entry, QStringLiteral("3"));
            }
        });
    }

    TreeContext context()
    {
        return TreeContext{settings, now, [this](const QString& path) {
                               const int dot = path.lastIndexOf(QLatin1Char('.'));
                               return typeNames.value(dot < 0 ? QString() : path.mid(dot).toLower(),
                                                      QStringLiteral("unknown"));
                           }};
    }

    /// The tree as indented lines (two spaces per level), for compact comparisons.
    [[nodiscard]] QStringList outline() const
    {
        QStringList lines;
        for (const auto id : state.tree().preorder())
            lines << QString(state.tree().depth(id) * 2, QLatin1Char(' ')) +
                         state.tree().node(id).text;
        return lines;
    }
};
