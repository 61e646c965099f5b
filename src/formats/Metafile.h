#pragma once

#include <QByteArray>
#include <QImage>

/// Draws an Enhanced Metafile (EMF) placed by its header's frame, at most EmfMaxSide
/// pixels a side (DrawEmf in EmfReader.h, which says more). Records it does not know are
/// skipped. A null image when the bytes are not an EMF.
[[nodiscard]] QImage RenderEmf(const QByteArray& bytes);

/// Draws a Windows Metafile (WMF), with or without the placeable header: at the size
/// of the placeable bounding box (in 96 pixels per inch), else of the window extent.
/// The same drawing records as RenderEmf. A null image when the bytes are not a WMF.
[[nodiscard]] QImage RenderWmf(const QByteArray& bytes);

/// RenderEmf or RenderWmf, chosen by the bytes' signature.
[[nodiscard]] QImage RenderMetafile(const QByteArray& bytes);
