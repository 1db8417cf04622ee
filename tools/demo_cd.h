// The demo installation CD: every file the installer reads from a CD, all
// of it small demo content made here.
//
//   AUTORUN/BIN/   setup.exe, comdlg32.ocx, mvzipunz.ocx, qovsp2.cfg,
//                  qovqpr.cfg and the bitmaps of the screens and of "PSETUP"
//   runtimes/      qovexemf.ex@, qovexemf.co@, qovexerm.co@
//   COUNTRY/FAMILY/520/  the Zavod archives and pos0600D.doc
//   COUNTRY/FAMILY/600/  the application archives, QOVROT.TXT, qov600.doc,
//                        emp0600D.doc
//   utils/unzip.exe
//
// COUNTRY is portugal, angola or mocambiq (D = 0, 1, 2), FAMILY mf or rm.
#pragma once

#include <string>

namespace qov::demo {

// Writes the CD tree into the host folder (created when missing); false,
// with the reason in *error, when a file cannot be written.
bool write_demo_cd(const std::string& root, std::string* error);

} // namespace qov::demo
