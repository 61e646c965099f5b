#pragma once

#include "controls/gui/MenuCommand.h"

class QAction;
class QMenu;

/// "BasketMenu": the basket's pop-up, for the whole basket (opened from the icon) or for
/// one row. Items leave their codes. The zip and save targets of the "Default" items are
/// kept here and only shown in their captions; copy and time-stamp keep theirs in the
/// caption.
class BasketMenu : public MenuCommand {
    Q_OBJECT
public:
    /// What the items leave.
    enum class Code {
        None,
        ShowHide,
        Clear,
        Delete,
        CopyDefault,
        CopySelected,
        ZipDefault,
        ZipSelected,
        StampDefault,
        StampSelected,
        SaveDefault,
        SaveSelected,
        Thumbnails,
        Properties,
    };

    explicit BasketMenu(QWidget* owner);

    /// Shows the items and captions of the whole-basket menu or of the one-row menu, and
    /// gives each "Default" item whose caption is "" or "Default" its default target
    /// (`folder`: the listed folder, or the working folder when none is listed).
    void prepare(bool wholeBasket, const QString& folder);
    /// Runs the menu; returns the code left (Code::None when dismissed).
    Code exec(const QPoint& globalPos);

    /// Where "Zip ... to: Default" writes; set by prepare() when still unset.
    [[nodiscard]] const QString& zipTarget() const { return zipTarget_; }
    void setZipTarget(const QString& path);
    /// Where "Save RadeZazeda to Default" writes: the last file saved, else temp.bsk in
    /// saveFolder.
    [[nodiscard]] QString saveTarget() const;
    void setSaveTarget(const QString& path);

    /// Opened for the whole basket (from the icon), else for the selected row.
    bool wholeBasket = true;

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

    QString zipTarget_;
    QString saveTarget_;
};
