#pragma once

#include <QString>

class QMimeData;

/// Drags that start in the basket: the grid "RadeZazeda" (a row move, or the basket
/// dropped on the folder tree) or the icon "RadeZazedactrl" (the whole basket).
namespace basketdrag {

inline const QString Format = QStringLiteral("application/x-lumara-basket");
inline const QString FromGrid = QStringLiteral("RadeZazeda");
inline const QString FromIcon = QStringLiteral("RadeZazedactrl");

/// A new drag payload naming its source.
[[nodiscard]] QMimeData* payload(const QString& source);
/// The source a payload names, or "" when it is not a basket drag.
[[nodiscard]] QString sourceOf(const QMimeData* data);

} // namespace basketdrag
