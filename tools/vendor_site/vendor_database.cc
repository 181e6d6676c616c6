#include "tools/vendor_site/vendor_database.h"

#include <cstdlib>

namespace {

// One prepared statement, finalised when it goes out of scope.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (db != nullptr) sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return statement_ != nullptr; }
  void Bind(int index, const std::string& value) {
    sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
  }
  int Step() { return sqlite3_step(statement_); }
  // The column's text, valid until the next step; empty for NULL.
  std::string_view ColumnView(int index) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
    return text != nullptr ? std::string_view(text, sqlite3_column_bytes(statement_, index))
                           : std::string_view();
  }
  std::string Column(int index) { return std::string(ColumnView(index)); }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace

VendorDatabase::~VendorDatabase() { sqlite3_close(db_); }

bool VendorDatabase::Open(const std::string& path, std::string* error) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    *error = "cannot open the release database " + path + ": " + sqlite3_errmsg(db_);
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  // Opening is lazy; a first query tells whether the file is a database at all.
  Statement probe(db_, "SELECT count(*) FROM module");
  if (!probe.ok() || probe.Step() != SQLITE_ROW) {
    *error = "the release database " + path + " cannot be read: " + sqlite3_errmsg(db_);
    return false;
  }
  // Read through a mapping of the file rather than copies into a page cache: a
  // long change history touches megabytes of it.
  sqlite3_exec(db_, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
  return true;
}

std::optional<ModuleInfo> VendorDatabase::FindModule(const std::string& name) {
  Statement query(db_, "SELECT name, title, description FROM module WHERE name = ?1");
  if (!query.ok()) return std::nullopt;
  query.Bind(1, name);
  if (query.Step() != SQLITE_ROW) return std::nullopt;
  return ModuleInfo{query.Column(0), query.Column(1), query.Column(2)};
}

bool VendorDatabase::ForEachChange(const std::string& module,
                                   const std::function<void(const ChangeEntry&)>& visit) {
  Statement query(db_,
                  "SELECT title, description, published FROM change WHERE module = ?1 "
                  "ORDER BY published DESC, id DESC");
  if (!query.ok()) return false;
  query.Bind(1, module);
  int step;
  while ((step = query.Step()) == SQLITE_ROW)
    visit(ChangeEntry{query.ColumnView(0), query.ColumnView(1), query.ColumnView(2)});
  return step == SQLITE_DONE;
}

std::optional<std::string> VendorDatabase::NewerRelease(const std::string& program,
                                                        const std::string& built) {
  Statement query(db_,
                  "SELECT url FROM release WHERE program = ?1 AND built > ?2 "
                  "ORDER BY built DESC LIMIT 1");
  if (!query.ok()) return std::nullopt;
  query.Bind(1, program);
  query.Bind(2, built);
  if (query.Step() != SQLITE_ROW) return std::nullopt;
  return query.Column(0);
}

std::string VendorDatabasePath() {
  const char* path = getenv("ZORMVENDORDB");
  return path != nullptr && *path != '\0' ? path : "vendor.db";
}
