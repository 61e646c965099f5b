#pragma once

#include <QFileDialog>

/// A file dialog whose choice keeps the exact bytes of the name. A native dialog gives a
/// name that is not UTF-8 back with U+FFFD in place of its raw bytes, and Qt's own dialog
/// refuses such a path as missing; this one maps the choice back to the real file (see
/// platform/QtNames.h) and accepts it. (Qt's own dialog does not list such names at all.)
class LosslessFileDialog : public QFileDialog {
public:
    /// `start` is a folder, or a file to preselect; a start Qt cannot reach is replaced
    /// by its nearest reachable folder.
    LosslessFileDialog(QWidget* parent, const QString& title, const QString& start,
                       const QString& filter);

    /// The chosen path with its exact bytes; "" before a choice is accepted.
    [[nodiscard]] QString chosenPath() const { return chosen_; }

    /// Shows the dialog modally; the chosen path, or "" when cancelled.
    QString choose();

    void accept() override;

private:
    /// Asks before a file is replaced that Qt could not see, and so did not ask about.
    bool mayReplace(const QString& path);

    QString chosen_;
};
