#pragma once

#include <QByteArray>
#include <QString>

/// When LUMARA_FUZZ_SEEDS names a folder, writes `bytes` as a seed input for the fuzz
/// target `target` (into <folder>/<target>/<name>); otherwise does nothing.
void SaveFuzzSeed(const QString& target, const QString& name, const QByteArray& bytes);
