#pragma once

#include "controls/gui/MenuCommand.h"

class QAction;
class QMenu;

/// "BasketMenu": the basket's pop-up, for the whole basket (opened from the icon, tag
/// "ALL") or for one row (tag = the row's number). Items leave their codes; the
/// "Default" items keep their target in their caption.
class BasketMenu : public MenuCommand {
    Q_OBJECT
public:
    // Codes the items leave.
    static inline const QString ShowHide = QStringLiteral("SH");
    static inline const QString Clear = QStringLiteral("CL");
    static inline const QString Delete = QStringLiteral("DE");
    static inline const QString CopyDefault = QStringLiteral("CD");
    static inline const QString CopySelected = QStringLiteral("CS");
    static inline const QString ZipDefault = QStringLiteral("ZD");
    static inline const QString ZipSelected = QStringLiteral("ZS");
    static inline const QString StampDefault = QStringLiteral("TD");
    static inline const QString StampSelected = QStringLiteral("TS");
    static inline const QString SaveDefault = QStringLiteral("SD");
    static inline const QString SaveSelected = QStringLiteral("SS");
    static inline const QString Thumbnails = QStringLiteral("PT");
    static inline const QString Properties = QStringLiteral("P");

    explicit BasketMenu(QWidget* owner);

    /// Shows the items and captions of the whole-basket menu or of the one-row menu, and
    /// gives each "Default" item whose caption is "" or "Default" its default target
    /// (`folder`: the listed folder, or the working folder when none is listed).
    void prepare(bool wholeBasket, const QString& folder);
    /// Runs the menu; returns the code left ("" when dismissed).
    QString exec(const QPoint& globalPos);

    /// "ALL" or the row number the menu was opened for.
    QString tag;

    QMenu* menu = nullptr;
    QAction* delete_ = nullptr;
    QMenu* copyTo = nullptr;
    QAction* copyDefault = nullptr;
    QAction* copySelected = nullptr;
    QMenu* zipTo = nullptr;
    QAction* zipDefault = nullptr;
    QAction* zipSelected = nullptr;
    QMenu* stampTo = nullptr;
    QAction* stampDefault = nullptr;
    QAction* stampSelected = nullptr;
    QMenu* saveTo = nullptr;
    QAction* saveDefault = nullptr;
    QAction* saveSelected = nullptr;
    QAction* thumbnails = nullptr;
    QAction* properties = nullptr;
    QAction* showHide = nullptr;
    QAction* clear = nullptr;
    QAction* cancel = nullptr;
    QString saveFolder; ///< where "Save RadeZazeda to" proposes temp.bsk

private:
    static bool isUnset(const QAction* item);
};
