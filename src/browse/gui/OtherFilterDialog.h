#pragma once

#include "browse/Filters.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

/// "Other Filter": name patterns, name length, file size and attributes. The button
/// "SetOtherFilter" hands the fields to `apply`; "Clear" empties them; "Exit" closes.
class OtherFilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit OtherFilterDialog(QWidget* parent = nullptr);

    /// Fills the fields.
    void setFields(const OtherFilterFields& fields);
    /// The fields as they stand.
    [[nodiscard]] OtherFilterFields fields() const;
    /// Empties the fields ("Clear").
    void clearFields();

Q_SIGNALS:
    /// "SetOtherFilter" was pressed.
    void apply(const OtherFilterFields& fields);

private:
    QLineEdit* fileName_ = nullptr;
    QLineEdit* nameLength_ = nullptr;
    QLineEdit* fileSize_ = nullptr;
    QRadioButton* lengthOptions_[3] = {};
    QRadioButton* sizeOptions_[3] = {};
    QCheckBox* hidden_ = nullptr;
    QCheckBox* normal_ = nullptr;
    QCheckBox* readOnly_ = nullptr;
    QCheckBox* system_ = nullptr;
};
