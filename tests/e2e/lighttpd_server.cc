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
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// A port the kernel considers free right now; lighttpd binds it a moment later,
// and Start() tries again with another port if that race is lost.
int FreeLoopbackPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  close(fd);
  return port;
}

bool Accepts(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

std::string SourceDir() {
  const char* dir = getenv("ZORM_SOURCE_DIR");
  return dir != nullptr ? dir : ZORM_SOURCE_DIR_DEFAULT;
}

}  // namespace

LighttpdServer::LighttpdServer(Options options) : options_(std::move(options)) {}

LighttpdServer::~LighttpdServer() {
  Stop();
  if (!work_dir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(work_dir_, ignored);
  }
}

std::string LighttpdServer::host_port() const { return "127.0.0.1:" + std::to_string(port_); }
std::string LighttpdServer::base_url() const { return "http://" + host_port(); }
std::string LighttpdServer::AccessLog() const { return ReadFile(work_dir_ + "/access.log"); }
bool LighttpdServer::AccessLogContains(const std::string& text, int timeout_ms) const {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  do {
    if (AccessLog().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

std::string LighttpdServer::ErrorLog() const { return ReadFile(work_dir_ + "/error.log"); }

bool LighttpdServer::Start(std::string* error) {
  std::string base = std::filesystem::temp_directory_path() / "zorm-lighttpd-XXXXXX";
  if (mkdtemp(base.data()) == nullptr) {
    *error = "cannot create a folder for lighttpd";
    return false;
  }
  work_dir_ = base;
  std::string cgi_dir = options_.cgi_dir;
  if (cgi_dir.empty()) {
    cgi_dir = work_dir_ + "/cgi";
    mkdir(cgi_dir.c_str(), 0755);
  }

  for (int attempt = 0; attempt < 5; ++attempt) {
    port_ = FreeLoopbackPort();
    std::string config_path = work_dir_ + "/lighttpd.conf";
    {
      std::ofstream config(config_path);
      config << "var.zorm_root = " << Quote(options_.document_root) << "\n"
             << "var.zorm_port = " << port_ << "\n"
             << "var.zorm_cgi_dir = " << Quote(cgi_dir) << "\n"
             << "var.zorm_log_dir = " << Quote(work_dir_) << "\n"
             << "include " << Quote(SourceDir() + "/tests/e2e/lighttpd.conf") << "\n";
      if (!options_.cgi_environment.empty()) {
        config << "setenv.add-environment = (";
        const char* separator = "";
        for (const auto& [name, value] : options_.cgi_environment) {
          config << separator << Quote(name) << " => " << Quote(value);
          separator = ", ";
        }
        config << ")\n";
      }
      for (const std::string& line : options_.extra_config) config << line << "\n";
    }

    pid_ = fork();
    if (pid_ == 0) {
      execlp("lighttpd", "lighttpd", "-D", "-f", config_path.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (Accepts(port_)) return true;
      int status;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {  // ended: port taken, or bad config
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
  int status;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}
