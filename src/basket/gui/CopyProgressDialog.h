#pragma once

#include "basket/BasketCopy.h"
#include "platform/Prompts.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <chrono>
#include <memory>

/// The progress of a long copy: files and bytes done, and a Cancel button that stops the
/// copy before its next file (what was copied stays). Appears only when the copy lasts.
/// Escape in it is left to the copy's own "cancel?" question, and every box the copy
/// shows through prompts() is shown with the dialog out of the way, so it can be answered.
class CopyProgressDialog : public CopyProgress {
public:
    CopyProgressDialog(QWidget* parent, Prompts& prompts,
                       std::chrono::milliseconds showAfter = std::chrono::milliseconds(400));
    ~CopyProgressDialog() override;

    bool update(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal) override;
    void finish() override;

    /// The prompts the copy must use while this dialog may be up.
    [[nodiscard]] Prompts& prompts();

    /// The dialog (null until the first update).
    [[nodiscard]] QProgressDialog* dialog() const { return dialog_; }

    /// Hides the dialog while a box of the copy is up, and shows it again afterwards.
    class StepAside {
    public:
        explicit StepAside(CopyProgressDialog& progress);
        ~StepAside();
        StepAside(const StepAside&) = delete;
        StepAside& operator=(const StepAside&) = delete;

    private:
        CopyProgressDialog& progress_;
    };

private:
    class AsidePrompts;
    class EscapeToCopy;

    QWidget* parent_;
    std::unique_ptr<AsidePrompts> prompts_;
    std::unique_ptr<EscapeToCopy> escapeFilter_;
    std::chrono::milliseconds showAfter_;
    QElapsedTimer clock_;
    int aside_ = 0; // boxes up now
    QPointer<QProgressDialog> dialog_;
};
