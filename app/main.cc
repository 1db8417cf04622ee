// qov-setup: the installer that runs from the QOV installation CD.
//
// It takes no command-line arguments. The layers behind its boundaries (the
// machine, the GUI library and the helper programs) are chosen from the
// environment; see the README.
#include "app/main_flow.h"
#include "platform/wiring.h"

int main() {
  qov::reset_run_state();
  qov::wire_platform();
  qov::run_installer();
}
