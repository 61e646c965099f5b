#pragma once

#include "app/Settings.h"

#include <QMainWindow>

/// The main window `f`: folder tree beside the file list, the "File" and "Window" menus.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Runs the start-up sequence and shows the window.
    void start();

private:
    Settings settings_;
};
