#pragma once

#include "formats/MetafileBytes.h"

#include <QPainterPath>
#include <optional>

class MetafileCanvas;

/// The path of an EMF drawing: the figures its drawing records make between BEGINPATH and
/// ENDPATH, kept in image pixels (each point mapped as it is added, so a transform
/// changed later does not move it) until a fill, stroke or clip uses it up.
class EmfPath {
public:
    /// BEGINPATH: an empty path that drawing records now build.
    void begin();
    /// ENDPATH: the path is complete and drawing records draw again.
    void end() { recording_ = false; }
    /// ABORTPATH: no path.
    void abort();
    [[nodiscard]] bool recording() const { return recording_; }

    /// Adds the figure of a drawing record of `type` to the path, moving the canvas's
    /// current position as the record does. False for records that draw no figure.
    bool add(MetafileCanvas& canvas, quint32 type, const MetafileBytes& record);
    /// CLOSEFIGURE: closes the open figure.
    void closeFigure();
    /// WIDENPATH: the path becomes the outline that stroking it with `pen` would paint.
    void widen(const QPen& pen, const QTransform& toImage);
    /// The completed path, which the caller uses up; none while recording or when there
    /// is no path.
    [[nodiscard]] std::optional<QPainterPath> take();

    /// SETARCDIRECTION: arcs, chords and pies run clockwise (as seen with y down) or not.
    void setClockwise(bool clockwise) { clockwise_ = clockwise; }
    [[nodiscard]] bool clockwise() const { return clockwise_; }

private:
    void continueFigure(const MetafileCanvas& canvas);
    void addPolyDraw(MetafileCanvas& canvas, const MetafileBytes& record, bool small);
    void addArc(MetafileCanvas& canvas, quint32 type, const MetafileBytes& record);

    QPainterPath path_;
    bool exists_ = false;
    bool recording_ = false;
    bool figureOpen_ = false;
    bool clockwise_ = false;
};
