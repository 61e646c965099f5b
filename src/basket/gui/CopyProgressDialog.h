#pragma once

#include "basket/BasketCopy.h"

#include <QPointer>
#include <QProgressDialog>

/// The progress of a long copy: files and bytes done, and a Cancel button that stops the
/// copy before its next file (what was copied stays). Appears only when the copy lasts.
class CopyProgressDialog : public CopyProgress {
public:
    explicit CopyProgressDialog(QWidget* parent);
    ~CopyProgressDialog() override;

    bool update(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal) override;
    void finish() override;

    /// The dialog (null until the first update).
    [[nodiscard]] QProgressDialog* dialog() const { return dialog_; }

private:
    QWidget* parent_;
    QPointer<QProgressDialog> dialog_;
};
