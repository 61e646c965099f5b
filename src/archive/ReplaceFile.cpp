#include "archive/ReplaceFile.h"

#include <QFile>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

bool ReplaceFileWith(QTemporaryFile& finished, const QString& target)
{
    finished.close();
    // QFile::rename refuses an existing target; the standard rename replaces it at once.
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(finished.fileName()).toStdString(),
                            QFile::encodeName(target).toStdString(), error);
    if (error)
        return false;
    finished.setAutoRemove(false);
    return true;
}
