// The vendor's site: lighttpd running the real /cgi/changelog.cgi and /version.cgi over
// tools/vendor_site/schema.sql, the sample data and a test's rows, beside its own CGI scripts.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "tests/e2e/lighttpd_server.h"

class VendorSite {
 public:
  struct Options {
    bool sample_data = true;                     // load tools/vendor_site/sample.sql
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
