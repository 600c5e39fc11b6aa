// Draws the window as the operator sees it, against kelvara-sim, into two PNG files: at start
// and with the calibration frame revealed and the window widened. Run by
// scripts/screenshots.sh under Xvfb.

#include <QAction>
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "tests/e2e/window_rig.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_screenshots <at-start.png> <calibration.png>\n");
        return 2;
    }
    char runtime[] = "/tmp/kelvara-shots-XXXXXX";
    setenv("XDG_RUNTIME_DIR", mkdtemp(runtime), 1);
    QApplication app(argc, argv);
    SimProcess sim;
    WindowRig rig;
    if (!sim.start({"--port", "3"}) || !rig.session().Form_Load()) {
        std::fprintf(stderr, "window_screenshots: no simulated controller\n");
        return 1;
    }
    rig.form->show();
    bool saved = QTest::qWaitForWindowExposed(rig.form.get());
    QTest::qWait(300);
    saved = rig.form->grab().save(argv[1]) && saved;
    rig.boxes.answer = "qvx";
    rig.choose("AD_Calibration");
    rig.form->resize(1100, rig.form->height());
    QTest::qWait(300);
    saved = rig.form->grab().save(argv[2]) && saved;
    rig.form->close();
    return saved ? 0 : 1;
}
