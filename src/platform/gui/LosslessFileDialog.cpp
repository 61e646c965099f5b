#include "platform/gui/LosslessFileDialog.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/QtNames.h"

#include <QMessageBox>

namespace {

QString DialogStart(const QString& start)
{
    if (!platform::holdsRawBytes(start))
        return start;
    const QString reachable = platform::reachableByQt(start);
    const qsizetype slash = start.lastIndexOf(u'/');
    // Only the file's own name is out of Qt's reach: preselect it as Qt shows it.
    if (slash > 0 && reachable == start.left(slash))
        return reachable + u'/' + platform::qtShownPath(start.mid(slash + 1));
    return reachable;
}

} // namespace

LosslessFileDialog::LosslessFileDialog(QWidget* parent, const QString& title, const QString& start,
                                       const QString& filter)
    : QFileDialog(parent, title, DialogStart(start), filter)
{}

QString LosslessFileDialog::choose()
{
    chosen_.clear();
    return exec() == QDialog::Accepted ? chosen_ : QString();
}

void LosslessFileDialog::accept()
{
    const QString shown = selectedFiles().value(0);
    const QString real = platform::pathFromQt(shown);
    chosen_ = real;
    if (real == shown || !platform::pathExists(real)) {
        QFileDialog::accept(); // Qt can judge this one itself
        return;
    }
    if (fileMode() == QFileDialog::Directory && !platform::isFolder(real))
        return;
    if (acceptMode() == QFileDialog::AcceptSave && !mayReplace(real))
        return;
    QDialog::accept();
}

bool LosslessFileDialog::mayReplace(const QString& path)
{
    // A native dialog saw the real file and has asked already.
    if (testOption(QFileDialog::DontConfirmOverwrite) || testAttribute(Qt::WA_DontShowOnScreen))
        return true;
    const QString name = platform::readableFileName(path.mid(path.lastIndexOf(u'/') + 1));
    return QMessageBox::warning(
               this, windowTitle(), tr("%1 already exists.\nDo you want to replace it?").arg(name),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}
