// Starts lighttpd on a free loopback port for one test and stops it afterwards.
// The configuration is tests/e2e/lighttpd.conf; a test adds lines of its own and
// the environment its CGI programs see. Not thread-safe; one server per object.
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
  ~LighttpdServer();  // stops the server if it runs, removes its folder
  LighttpdServer(const LighttpdServer&) = delete;
  LighttpdServer& operator=(const LighttpdServer&) = delete;

  // Starts the server and waits until it accepts connections. Returns false and
  // fills `error` when it cannot start within ten seconds.
  bool Start(std::string* error);
  void Stop();

  int port() const { return port_; }
  // "127.0.0.1:PORT", the host[:port] form the programs' server variables take.
  std::string host_port() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string base_url() const { return "http://" + host_port(); }
  // The access log's lines so far ("%h %t "%r" %>s %b "%{User-Agent}i"").
  std::string AccessLog() const;
  // lighttpd writes its access log about once a second: waits up to `timeout_ms`
  // for `text` to appear in it.
  bool AccessLogContains(const std::string& text, int timeout_ms = 5000) const;
  std::string ErrorLog() const;

 private:
  Options options_;
  std::string work_dir_;
  int port_ = 0;
  pid_t pid_ = -1;
};
