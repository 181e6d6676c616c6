// lighttpd on a free loopback port, stopped with the object: tests/e2e/lighttpd.conf,
// then a test's own lines and the environment its CGI programs see.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

class LighttpdServer {
 public:
  struct Options {
    std::string document_root;                           // required
    std::string cgi_dir;                                 // served as /cgi/; empty: an empty folder
    std::map<std::string, std::string> cgi_environment;  // passed to every CGI program
    std::vector<std::string> extra_config;               // lines appended to the config
  };

  explicit LighttpdServer(Options options) : options_(std::move(options)) {}
  ~LighttpdServer();
  LighttpdServer(const LighttpdServer&) = delete;
  LighttpdServer& operator=(const LighttpdServer&) = delete;

  // Waits up to ten seconds for the server to accept connections; else false and `error`.
  bool Start(std::string* error);
  void Stop();

  // "127.0.0.1:PORT", the form the programs' server variables take.
  std::string host_port() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string base_url() const { return "http://" + host_port(); }
  // The access log ("%h %t "%r" %>s %b "%{User-Agent}i"), written about once a
  // second: AccessLogContains waits up to `timeout_ms` for `text`.
  std::string AccessLog() const;
  bool AccessLogContains(const std::string& text, int timeout_ms = 5000) const;
  std::string ErrorLog() const;

 private:
  Options options_;
  std::string work_dir_;
  int port_ = 0;
  pid_t pid_ = -1;
};
