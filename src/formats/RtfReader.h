#pragma once

#include <QByteArray>
#include <QFont>
#include <QString>

class QTextDocument;

/// Reads RTF into a QTextDocument: groups, character formatting (bold, italic,
/// underline, font, size, text and background colour), paragraphs, line breaks, tabs,
/// alignment, \'hh and \uN escapes, \ansicpg code pages (Windows-1252 by default). Pictures,
/// objects and \* destinations are skipped. The document is cleared first; `defaultFont` is used
/// where the RTF names no font.
void ReadRtf(const QByteArray& rtf, QTextDocument& document, const QFont& defaultFont = {});

/// The RTF as HTML, through ReadRtf.
[[nodiscard]] QString RtfToHtml(const QByteArray& rtf, const QFont& defaultFont = {});

/// True when the bytes start as an RTF document ("{\rtf").
[[nodiscard]] bool LooksLikeRtf(const QByteArray& bytes);
