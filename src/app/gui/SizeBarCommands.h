#pragma once

#include <QObject>
#include <functional>

class FileListPanel;
class Prompts;
class ViewWindow;
struct Settings;

/// The size bar chart of the size table in the view window's grid, or of the basket
/// while its grid is shown: "Show size bar" draws it on the chart pages (`Sizebartab`) in
/// front of the grid and takes it away again; a resize draws it again with the last
/// label width.
class SizeBarCommands : public QObject {
    Q_OBJECT
public:
    SizeBarCommands(Settings& settings, Prompts& prompts, FileListPanel& panel,
                    std::function<ViewWindow*()> viewWindow, QObject* parent = nullptr);

    /// Draws the chart of the basket's grid when it is shown (ViewMode "BARB"), else of
    /// the view window's grid ("BARV"); `labelWidth` in twips, 0 or less for the default
    /// of the tree type. Says "nothing to draw" (and changes nothing) while a file is
    /// shown, the grid is hidden or it holds no data row. True when drawn.
    bool DrawSizeBars(int labelWidth);

    /// Connects "Show size bar" and the redraw after a resize of `view` (once per window).
    void attach(ViewWindow* view);

private:
    Settings& settings_;
    Prompts& prompts_;
    FileListPanel& panel_;
    std::function<ViewWindow*()> viewWindow_;
    ViewWindow* attached_ = nullptr;
    int labelWidth_ = -1;
};
