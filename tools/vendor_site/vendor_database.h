// The vendor's release database (SQLite, opened read-only): modules and their
// change histories, and the releases of each program. Every query is a prepared
// statement with bound values. Not thread-safe; one object per request.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct ModuleInfo {
  std::string name;
  std::string title;
  std::string description;
};

// One change as the database holds it; the texts are valid during the visit only.
struct ChangeEntry {
  std::string_view title;
  std::string_view description;
  std::string_view published;  // "YYYY-MM-DD HH:MM:SS", the server's clock
};

class VendorDatabase {
 public:
  VendorDatabase() = default;
  ~VendorDatabase();
  VendorDatabase(const VendorDatabase&) = delete;
  VendorDatabase& operator=(const VendorDatabase&) = delete;

  // Opens the database at `path` for reading; false with `*error` filled when it
  // is missing or not a database.
  bool Open(const std::string& path, std::string* error);

  // The module of that exact name; nothing when there is none or the query fails.
  std::optional<ModuleInfo> FindModule(const std::string& name);

  // Calls `visit` for each change of `module`, newest first. False when the
  // query failed part way.
  bool ForEachChange(const std::string& module,
                     const std::function<void(const ChangeEntry&)>& visit);

  // The location of the newest release of `program` built after `built`
  // ("YYYY-MM-DD"); nothing when the program has none newer.
  std::optional<std::string> NewerRelease(const std::string& program, const std::string& built);

 private:
  sqlite3* db_ = nullptr;
};

// The database path: $ZORMVENDORDB, else "vendor.db" in the working directory.
std::string VendorDatabasePath();
