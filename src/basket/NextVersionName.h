#pragma once

#include <QString>

/// The first free version name of `name` in `folder`: "report.txt" gives "report;01.txt",
/// then "report;02.txt"; "report;07.txt" goes on from 08; after 99 it wraps to 01.
/// `folder` may be "" when `name` is a whole path. Returns "" when all 99 names are taken.
[[nodiscard]] QString NextVersionName(const QString& folder, const QString& name);
