// The vendor's web site for end-to-end tests: lighttpd running the real
// changelog.cgi (/cgi/changelog.cgi) and version.cgi (/version.cgi) over a
// database of tools/vendor/schema.sql, the sample data and a test's own rows,
// and any shell-script CGI programs the test adds.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "tests/e2e/lighttpd_server.h"

class VendorSite {
 public:
  struct Options {
    bool sample_data = true;                     // load tools/vendor/sample.sql
    std::string extra_sql;                       // run after the sample data
    std::map<std::string, std::string> scripts;  // CGI name -> shell script body
  };

  explicit VendorSite(Options options) : options_(std::move(options)) {}
  ~VendorSite();  // stops the server, removes the site's folder

  // Builds the database, places the programs and starts the server; false with
  // `*error` filled when any step fails.
  bool Start(std::string* error);

  LighttpdServer& server() { return *server_; }
  std::string host_port() const { return server_->host_port(); }

 private:
  Options options_;
  std::string dir_;
  std::unique_ptr<LighttpdServer> server_;
};
