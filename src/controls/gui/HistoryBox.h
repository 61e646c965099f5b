#pragma once

#include <QComboBox>

/// The drop-down of a history list: the opened list always starts at the newest entry,
/// whichever entry was chosen last (a popup placed over the current entry would hide
/// the entries above it).
class HistoryBox : public QComboBox {
    Q_OBJECT
public:
    explicit HistoryBox(QWidget* parent = nullptr);

    void showPopup() override;
};
