#include "tests/e2e/vendor_site.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/cgi_script.h"
#include "tests/support/test_env.h"

namespace {

std::string EnvDir(const char* name, const char* fallback) {
  const char* dir = getenv(name);
  return dir != nullptr ? dir : fallback;
}

bool RunSql(sqlite3* db, const std::string& sql, std::string* error) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
  *error = std::string("SQL failed: ") + (message ? message : "?");
  sqlite3_free(message);
  return false;
}

}  // namespace

std::string ProjectSourceDir() { return EnvDir("ZORM_SOURCE_DIR", ZORM_SOURCE_DIR_DEFAULT); }
std::string ProjectBinaryDir() { return EnvDir("ZORM_BINARY_DIR", ZORM_BINARY_DIR_DEFAULT); }

VendorSite::VendorSite(Options options) : options_(std::move(options)) {}

VendorSite::~VendorSite() {
  server_.reset();
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

bool VendorSite::Start(std::string* error) {
  std::string source = ProjectSourceDir();
  std::string binary = ProjectBinaryDir();
  std::string pattern = std::filesystem::temp_directory_path() / "zorm-vendor-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    *error = "cannot create the site folder";
    return false;
  }
  dir_ = pattern;
  std::string www = dir_ + "/www", cgi = dir_ + "/cgi";
  mkdir(www.c_str(), 0755);
  mkdir(cgi.c_str(), 0755);

  database_path_ = dir_ + "/vendor.db";
  sqlite3* db = nullptr;
  bool built = sqlite3_open(database_path_.c_str(), &db) == SQLITE_OK &&
               RunSql(db, ReadWholeFile(source + "/tools/vendor/schema.sql"), error) &&
               (!options_.sample_data ||
                RunSql(db, ReadWholeFile(source + "/tools/vendor/sample.sql"), error)) &&
               RunSql(db, options_.extra_sql, error);
  sqlite3_close(db);
  if (!built) return false;

  for (const char* program : {"changelog.cgi", "version.cgi"}) {
    std::error_code failed;
    std::filesystem::copy_file(binary + "/tools/vendor/" + program, cgi + "/" + program, failed);
    if (failed) {
      *error = std::string("cannot place ") + program + ": " + failed.message();
      return false;
    }
  }
  for (const auto& [name, body] : options_.scripts) {
    if (!WriteCgiScript(cgi + "/" + name, body)) {
      *error = "cannot write " + name;
      return false;
    }
  }

  server_ = std::make_unique<LighttpdServer>(LighttpdServer::Options{
      www, cgi, {{"ZORMVENDORDB", database_path_}},
      {"alias.url += (\"/version.cgi\" => \"" + cgi + "/version.cgi\")",
       "$HTTP[\"url\"] == \"/version.cgi\" { cgi.assign = (\"\" => \"\") }"}});
  return server_->Start(error);
}
