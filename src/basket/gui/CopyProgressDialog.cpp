#include "basket/gui/CopyProgressDialog.h"

#include "shared/TextHelpers.h"

#include <QCoreApplication>

namespace {
constexpr int Steps = 1000;
constexpr int ShowAfterMs = 400;
} // namespace

CopyProgressDialog::CopyProgressDialog(QWidget* parent) : parent_(parent) {}

CopyProgressDialog::~CopyProgressDialog()
{
    finish();
}

bool CopyProgressDialog::update(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal)
{
    if (!dialog_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setWindowTitle(QStringLiteral("Copying"));
        dialog_->setObjectName(QStringLiteral("CopyProgress"));
        dialog_->setCancelButtonText(QStringLiteral("Cancel"));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(ShowAfterMs);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setRange(0, Steps);
        dialog_->setMinimumWidth(360);
    }
    if (dialog_->wasCanceled())
        return false;
    dialog_->setLabelText(QString::number(filesDone) + QStringLiteral(" of ") +
                          QString::number(filesTotal) + QStringLiteral(" files, ") +
                          SizeText(double(bytesDone)) + QStringLiteral(" of ") +
                          SizeText(double(bytesTotal)));
    const double part = bytesTotal > 0 ? double(bytesDone) / double(bytesTotal)
                                       : (filesTotal > 0 ? double(filesDone) / filesTotal : 1.0);
    dialog_->setValue(qBound(0, int(part * Steps), Steps));
    QCoreApplication::processEvents();
    return !dialog_->wasCanceled();
}

void CopyProgressDialog::finish()
{
    if (dialog_) {
        dialog_->close();
        dialog_->deleteLater();
        dialog_ = nullptr;
    }
}
