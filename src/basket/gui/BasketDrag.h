#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

/// Drags that start in the basket: the grid "RadeZazeda" (a row move, or the basket
/// dropped on the folder tree) or the icon "RadeZazedactrl" (the whole basket). They
/// carry the files as a uri-list too, for other programs and other Lumara windows.
namespace basketdrag {

inline const QString Format = QStringLiteral("application/x-lumara-basket");
inline const QString FromGrid = QStringLiteral("RadeZazeda");
inline const QString FromIcon = QStringLiteral("RadeZazedactrl");

/// A new drag payload naming its source and this process, with `paths` as a uri-list.
[[nodiscard]] QMimeData* payload(const QString& source, const QStringList& paths = {});
/// The source a payload names, or "" when it is not a drag of this process's basket
/// (a basket dragged from another Lumara is only its files).
[[nodiscard]] QString sourceOf(const QMimeData* data);

} // namespace basketdrag
