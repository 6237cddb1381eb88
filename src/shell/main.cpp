#include "platform/page.h"

// Entry point. The shell answers 1 when the game ended normally, 0 when it
// could not start, 2 on bad arguments.
int QS_WinMain(int argc, char** argv);
int main(int argc, char** argv) {
    int rc = QS_WinMain(argc, argv);
    rc = rc == 1 ? 0 : rc == 0 ? 1 : rc;
    Plat_ReportExit(rc);
    return rc;
}
