#pragma once

#include <QByteArray>
#include <QImage>

/// Draws an Enhanced Metafile (EMF) at the size its header's bounds give: lines,
/// polylines, polygons, Bézier curves, rectangles, rounded rectangles, ellipses, pens,
/// brushes, fonts, text, the map mode and the window and viewport. Records it does
/// not know are skipped. A null image when the bytes are not an EMF or the size is
/// unreasonable.
[[nodiscard]] QImage RenderEmf(const QByteArray& bytes);

/// Draws a Windows Metafile (WMF), with or without the placeable header: at the size
/// of the placeable bounding box (in 96 pixels per inch), else of the window extent.
/// The same drawing records as RenderEmf. A null image when the bytes are not a WMF.
[[nodiscard]] QImage RenderWmf(const QByteArray& bytes);

/// RenderEmf or RenderWmf, chosen by the bytes' signature.
[[nodiscard]] QImage RenderMetafile(const QByteArray& bytes);
