#pragma once

#include <QString>

/// The LibreOffice program on the PATH ("soffice", else "libreoffice"); empty when
/// LibreOffice is not installed.
[[nodiscard]] QString OfficeProgram();

/// Renders the first page of a document to a PNG in `outputFolder` through LibreOffice
/// (--headless --convert-to png). Returns the PNG's path, or empty when LibreOffice is
/// missing, fails or takes longer than `timeoutMs`.
[[nodiscard]] QString RenderFirstPage(const QString& documentPath, const QString& outputFolder,
                                      int timeoutMs = 60000);

/// The class name an OLE container would use for the extension (".PPT", ".PCX",
/// ".VSD"); empty for others such as ".MPP".
[[nodiscard]] QString OleClassFor(const QString& extension);
