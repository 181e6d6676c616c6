#include "tests/e2e/vendor_site.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/cgi_script.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;

VendorSite::~VendorSite() {
  server_.reset();
  std::error_code ignored;
  if (!dir_.empty()) fs::remove_all(dir_, ignored);
}

bool VendorSite::Start(std::string* error) {
  const char* source = getenv("ZORM_SOURCE_DIR");
  const char* binary = getenv("ZORM_BINARY_DIR");
  const std::string vendor =
      (source ? source : ZORM_SOURCE_DIR_DEFAULT) + std::string("/tools/vendor_site/");
  std::string sql = ReadWholeFile(vendor + "schema.sql");
  if (options_.sample_data) sql += ReadWholeFile(vendor + "sample.sql");
  sql += options_.extra_sql;
  std::string pattern = fs::temp_directory_path() / "zorm-vendor-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    *error = "cannot create the site folder";
    return false;
  }
  dir_ = pattern;
  const std::string www = dir_ + "/www", cgi = dir_ + "/cgi", database = dir_ + "/vendor.db";
  fs::create_directories(www);
  fs::create_directories(cgi);
  sqlite3* db = nullptr;
  char* message = nullptr;
  error->clear();
  if (sqlite3_open(database.c_str(), &db) != SQLITE_OK ||
      sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
    *error = std::string("SQL failed: ") + (message ? message : sqlite3_errmsg(db));
  sqlite3_free(message);
  sqlite3_close(db);
  std::error_code failed;
  for (const char* program : {"changelog.cgi", "version.cgi"})
    if (!fs::copy_file(
            (binary ? binary : ZORM_BINARY_DIR_DEFAULT) + std::string("/tools/vendor_site/") + program,
            cgi + "/" + program, failed))
      *error = std::string("cannot place ") + program + ": " + failed.message();
  for (const auto& [name, body] : options_.scripts)
    if (!WriteCgiScript(cgi + "/" + name, body)) *error = "cannot write " + name;
  if (!error->empty()) return false;

  server_ = std::make_unique<LighttpdServer>(LighttpdServer::Options{
      www,
      cgi,
      {{"ZORMVENDORDB", database}},
      {"alias.url += (\"/version.cgi\" => \"" + cgi + "/version.cgi\")",
       "$HTTP[\"url\"] == \"/version.cgi\" { cgi.assign = (\"\" => \"\") }"}});
  return server_->Start(error);
}
