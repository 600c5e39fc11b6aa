#pragma once

#include "ui_Form1.h"

#include <QMainWindow>
#include <QTest>

// The window as its designer file builds it, on a bare main window.
struct Form1Layout {
    QMainWindow window;
    Ui::Form1 ui;

    Form1Layout() { ui.setupUi(&window); }

    // Focus only moves in an active window, also under the offscreen platform.
    bool showActive() {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};
