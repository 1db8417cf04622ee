#include "tools/demo_cd.h"

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/programs/zip_writer.h"
#include "system/win1252.h"
#include "tools/demo_cd_bitmaps.h"

namespace qov::demo {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kDemoNote = "Conteudo de demonstracao do CD de demo QOV, feito pelo gerador "
                                  "do projecto qov-setup; nao e o produto.\n";

struct Country {
  const char* folder;
  const char* digit;
  const char* name; // UTF-8
};
constexpr Country kCountries[] = {
    {"portugal", "0", "Portugal"}, {"angola", "1", "Angola"}, {"mocambiq", "2", "Moçambique"}};

struct Family {
  const char* folder;
  const char* extension;       // of archives 1 to 4
  const char* zavod_extension; // of the Zavod archives 5 to 8, without the digit
  const char* runtime;
};
constexpr Family kFamilies[] = {{"mf", "in@", "i", "QOVEXEMF"}, {"rm", "co@", "c", "QOVEXERM"}};

// A demo text, in Windows-1252, with the note that it is demo content.
std::string text(const std::string& utf8) {
  return w1252(utf8 + "\n" + kDemoNote);
}

class CdWriter {
public:
  CdWriter(fs::path root, std::string* error) : root_(std::move(root)), error_(error) {}

  bool file(const std::string& relative, const std::string& data) {
    fs::path path = root_ / relative;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
    if (out.flush())
      return true;
    *error_ = "cannot write " + path.string();
    return false;
  }

  bool archive(const std::string& relative, const Entries& entries) {
    fs::path path = root_ / relative;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    ZipWriter zip;
    bool ok = zip.open(path.string());
    for (const auto& [name, data] : entries)
      ok = ok && zip.add_file(name, data);
    ok = ok && zip.close();
    if (!ok)
      *error_ = relative + ": " + zip.error();
    return ok;
  }

private:
  fs::path root_;
  std::string* error_;
};

// The product's batch files print where they run and the value of cobdir,
// with nothing but the commands our command shell knows.
std::string batch(const std::string& product) {
  return "@echo off\n"
         "rem Demo QOV: ficheiro de demonstracao, nao e o produto.\n"
         "@echo Demo " +
         product + ": a correr em %CD% com cobdir=%cobdir%\n";
}

bool write_autorun(CdWriter& cd) {
  const std::string bin = "AUTORUN/BIN/";
  bool ok = cd.file(bin + "setup.exe", text("Demo: o programa de instalação QOV (setup.exe)."));
  ok = ok && cd.file(bin + "comdlg32.ocx", text("Demo: controlo comdlg32.ocx."));
  ok = ok && cd.file(bin + "mvzipunz.ocx", text("Demo: controlo mvzipunz.ocx."));
  ok = ok && cd.file(bin + "qovsp2.cfg", demo_sp2_config());
  ok = ok && cd.file(bin + "qovqpr.cfg",
                     text("# qovqpr.cfg - configuração QPR de demonstração.\nlingua PT"));
  for (size_t i = 0; ok && i < demo_bitmaps().size(); ++i)
    ok = cd.file(bin + demo_bitmaps()[i].name, demo_bitmap_file(i));
  return ok;
}

// The run-time archives create the run-time folder with the GUI library's
// three DLLs, which the installer copies under their QPR names.
Entries runtime_entries(const Family& f, const std::string& part) {
  const std::string dir = std::string(f.runtime) + "\\";
  Entries e = {{dir + "LEIAME-" + part + ".TXT",
                text(std::string("Demo: run-time ") + f.folder + ", parte " + part + ".")}};
  if (part == "ex" || std::string(f.folder) == "rm") {
    for (const char* dll : {"SP2IMA32.DLL", "SP2TVW32.DLL", "SP2OCX32.DLL"})
      e.emplace_back(dir + dll, text(std::string("Demo: biblioteca SP2 ") + dll + "."));
    e.emplace_back(dir + "BIN\\RUNCOB.EXE", text("Demo: o run-time COBOL."));
  }
  if (part == "co")
    e.emplace_back(dir + "LIB\\COBLIB.DLL", text("Demo: biblioteca do run-time."));
  return e;
}

bool write_runtimes(CdWriter& cd) {
  return cd.archive("runtimes/qovexemf.ex@", runtime_entries(kFamilies[0], "ex")) &&
         cd.archive("runtimes/qovexemf.co@", runtime_entries(kFamilies[0], "co")) &&
         cd.archive("runtimes/qovexerm.co@", runtime_entries(kFamilies[1], "co"));
}

// Demo data spread over the archives: nested folders that several archives
// fill (in another case, too), and a file that later archives replace.
Entries data_entries(const std::string& archive, const Country& c, const Family& f) {
  const std::string about = std::string(c.name) + ", " + f.folder + ", " + archive;
  return {{"LEIAME.TXT", text("Demo: último arquivo extraído: " + about + ".")},
          {"DADOS\\" + archive + "\\INDICE.DAT", text("Demo: índice de " + about + ".")},
          {"dados/comum/" + archive + ".dat", text("Demo: dados comuns de " + about + ".")}};
}

bool write_application(CdWriter& cd, const Country& c, const Family& f) {
  const std::string base = std::string(c.folder) + "/" + f.folder + "/";
  const std::string app = base + "600/", zavod = base + "520/";
  const std::string ext = f.extension, d = c.digit;
  auto with = [&](Entries e, std::string name, std::string data) {
    e.emplace_back(std::move(name), std::move(data));
    return e;
  };
  bool ok = cd.archive(app + "qov600_1." + ext,
                       with(data_entries("qov600_1", c, f), "qov.bat", batch("Qov")));
  ok = ok && cd.archive(app + "qov600_2." + ext, data_entries("qov600_2", c, f));
  ok = ok && cd.archive(app + "qov600_3." + ext, data_entries("qov600_3", c, f));
  ok = ok && cd.archive(app + "emp0600" + d + "." + ext,
                        with(data_entries("emp0600" + d, c, f), "QOV.BAT", batch("Qov")));
  ok = ok && cd.file(app + "QOVROT.TXT",
                     text(std::string("Demo: QOVROT.TXT de ") + c.name + ", " + f.folder + "."));
  ok = ok && cd.file(app + "qov600.doc", text("Demo: documentação da aplicação QOV 6.00."));
  ok = ok && cd.file(app + "emp0600" + d + ".doc",
                     text(std::string("Demo: documentação da empresa, ") + c.name + "."));

  ok = ok && cd.archive(zavod + "pos600_1." + ext,
                        with(data_entries("pos600_1", c, f), "posto.bat", batch("Zavod")));
  const std::string z = f.zavod_extension;
  ok = ok && cd.archive(zavod + "pos0600" + d + "." + z + "1@",
                        with(data_entries("pos0600" + d, c, f), "POSTO.BAT", batch("Zavod")));
  for (const char* n : {"1", "2", "3"})
    ok = ok && cd.archive(zavod + "fac0600" + d + "." + z + n + "@",
                          data_entries("fac0600" + d + "_" + n, c, f));
  ok = ok && cd.file(zavod + "pos0600" + d + ".doc",
                     text(std::string("Demo: documentação do posto Zavod, ") + c.name + "."));
  return ok;
}

} // namespace

bool write_demo_cd(const std::string& root, std::string* error) {
  CdWriter cd(root, error);
  bool ok = write_autorun(cd) && write_runtimes(cd);
  for (const Country& c : kCountries)
    for (const Family& f : kFamilies)
      ok = ok && write_application(cd, c, f);
  return ok && cd.file("utils/unzip.exe", text("Demo: o utilitário unzip.exe."));
}

} // namespace qov::demo
