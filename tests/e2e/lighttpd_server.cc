#include "tests/e2e/lighttpd_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/test_env.h"

namespace {

// Binds (port 0: one free right now) or connects to a loopback port; 0 on failure.
int OnLoopback(int port, bool connect_to) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t length = sizeof address;
  auto* any = reinterpret_cast<sockaddr*>(&address);
  bool ok = connect_to ? connect(fd, any, length) == 0
                       : bind(fd, any, length) == 0 && getsockname(fd, any, &length) == 0;
  close(fd);
  return ok ? ntohs(address.sin_port) : 0;
}

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) quoted += (c == '"' || c == '\\') ? std::string{'\\', c} : std::string{c};
  return quoted + "\"";
}

}  // namespace

LighttpdServer::~LighttpdServer() {
  Stop();
  std::error_code ignored;
  if (!work_dir_.empty()) std::filesystem::remove_all(work_dir_, ignored);
}

std::string LighttpdServer::AccessLog() const { return ReadWholeFile(work_dir_ + "/access.log"); }
std::string LighttpdServer::ErrorLog() const { return ReadWholeFile(work_dir_ + "/error.log"); }

bool LighttpdServer::AccessLogContains(const std::string& text, int timeout_ms) const {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (AccessLog().find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

bool LighttpdServer::Start(std::string* error) {
  std::string base = std::filesystem::temp_directory_path() / "zorm-lighttpd-XXXXXX";
  work_dir_ = mkdtemp(base.data()) ? base : "/nonexistent";  // then lighttpd fails to start
  std::string cgi_dir = options_.cgi_dir.empty() ? work_dir_ + "/cgi" : options_.cgi_dir;
  mkdir(cgi_dir.c_str(), 0755);
  const char* source = getenv("ZORM_SOURCE_DIR");
  const std::string conf =
      (source ? source : ZORM_SOURCE_DIR_DEFAULT) + std::string("/tests/e2e/lighttpd.conf");
  const std::string config_path = work_dir_ + "/lighttpd.conf";
  // Should another process take the port first, lighttpd ends: try another.
  for (int attempt = 0; attempt < 5; ++attempt) {
    port_ = OnLoopback(0, false);
    std::string config =
        "var.zorm_root = " + Quote(options_.document_root) +
        "\nvar.zorm_port = " + std::to_string(port_) + "\nvar.zorm_cgi_dir = " + Quote(cgi_dir) +
        "\nvar.zorm_log_dir = " + Quote(work_dir_) + "\ninclude " + Quote(conf) + "\n";
    for (const auto& [name, value] : options_.cgi_environment)
      config += "setenv.add-environment += (" + Quote(name) + " => " + Quote(value) + ")\n";
    for (const std::string& line : options_.extra_config) config += line + "\n";
    WriteWholeFile(config_path, config);
    if ((pid_ = fork()) == 0) {
      execlp("lighttpd", "lighttpd", "-D", "-f", config_path.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (OnLoopback(port_, true)) return true;
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {  // ended: port taken, or a bad config
        pid_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop();
  }
  *error = "lighttpd did not start: " + ErrorLog();
  return false;
}

void LighttpdServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}
