#pragma once

#include "view/FontViews.h"

#include <QHash>

/// The system's fonts through Qt's font database; font files are registered as
/// application fonts, for this run only. Needs a Gui application.
class ApplicationFonts : public FontRegistry {
public:
    QStringList installedFonts() override;
    bool AddFont(const QString& path) override;
    void RemoveFont(const QString& path) override;
    [[nodiscard]] QString registeredFamily(const QString& path) const override;

private:
    QHash<QString, int> ids_;
};
