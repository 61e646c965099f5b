#pragma once

#include "view/fonts/FontViews.h"

#include <QHash>

/// The system's fonts through Qt's font database; font files are registered as
/// application fonts, for this run only. Needs a Gui application.
class ApplicationFonts : public FontRegistry {
public:
    /// The families Qt knows, and every full and PostScript name of the installed fonts:
    /// a font's face name is often one of those, not its family.
    QStringList installedFonts() override;
    bool AddFont(const QString& path) override;
    void RemoveFont(const QString& path) override;
    [[nodiscard]] QString registeredFamily(const QString& path) const override;
    [[nodiscard]] QString familyOf(const QString& name) const override;

private:
    QHash<QString, int> ids_;
    QHash<QString, QString> familyOf_; ///< installed name -> its family, from the last look
};
