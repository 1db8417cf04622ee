#include "tests/support/installer_run.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

extern char** environ;

namespace qov::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string templ = (fs::temp_directory_path() / "qov-test-XXXXXX").string();
  char* made = mkdtemp(templ.data());
  if (made == nullptr)
    throw std::runtime_error("mkdtemp failed");
  path_ = made;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Give back write permission first, so read-only test folders go too.
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
       it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

TempMachine::TempMachine() = default;

std::string TempMachine::host(const std::string& relative) const {
  return root() + "/" + relative;
}

std::string TempMachine::make_folder(const std::string& relative) const {
  fs::create_directories(host(relative));
  return host(relative);
}

void TempMachine::write_file(const std::string& relative, const std::string& content) const {
  write_host_file(host(relative), content);
}

bool TempMachine::exists(const std::string& relative) const {
  return fs::exists(host(relative));
}

std::string TempMachine::read_file(const std::string& relative) const {
  return read_host_file(host(relative));
}

void write_host_file(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string read_host_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

RunResult run_setup(const RunOptions& options) {
  TempDir work;
  std::string script = work.path() + "/answers.txt";
  std::string trace = work.path() + "/trace.jsonl";
  std::string out_path = work.path() + "/stdout";
  std::string err_path = work.path() + "/stderr";
  write_host_file(script, options.answers);

  std::map<std::string, std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string kv = *e;
    std::size_t eq = kv.find('=');
    if (eq != std::string::npos)
      env[kv.substr(0, eq)] = kv.substr(eq + 1);
  }
  for (const char* name : {"QOV_GUI_SCRIPT", "QOV_MACHINE", "QOV_TRACE", "windir", "WINDIR"})
    env.erase(name);
  if (!options.no_script)
    env["QOV_GUI_SCRIPT"] = script;
  if (!options.machine.empty())
    env["QOV_MACHINE"] = options.machine;
  env["QOV_TRACE"] = trace;
  // A run without a machine map uses the default machine, whose drive C:
  // lives in the data folder: keep it in the run's own folder.
  env["XDG_DATA_HOME"] = work.path();
  for (const auto& [k, v] : options.env)
    env[k] = v;

  std::vector<std::string> env_strings;
  for (const auto& [k, v] : env)
    env_strings.push_back(k + "=" + v);
  std::vector<char*> envp;
  for (std::string& s : env_strings)
    envp.push_back(s.data());
  envp.push_back(nullptr);

  RunResult result;
  pid_t pid = fork();
  if (pid == 0) {
    std::string cwd = options.cwd.empty()
                          ? (options.machine.empty() ? work.path() : options.machine)
                          : options.cwd;
    if (chdir(cwd.c_str()) != 0)
      _exit(120);
    int in = open("/dev/null", O_RDONLY);
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    char* argv[] = {const_cast<char*>(QOV_SETUP_BINARY), nullptr};
    execve(QOV_SETUP_BINARY, argv, envp.data());
    _exit(121);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.out = read_host_file(out_path);
  result.err = read_host_file(err_path);
  if (fs::exists(trace))
    result.trace = read_trace(trace);
  return result;
}

} // namespace qov::testing
