// Reading a package with libmsi (its tables and streams) and libgcab (its
// cabinets).
#include "platform/msi_package_reader.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <libgcab.h>
#include <libmsi.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/file_io.h"
#include "platform/install_directories.h"
#include "platform/install_transaction.h"
#include "platform/installer.h"
#include "platform/shared_library.h"

namespace {

// libmsi and libgcab are opened when a package is first read: only an
// installation needs them, and linked they would slow every start of the program.
// clang-format off
#define ZORM_MSI_FUNCTIONS(X)                                                          \
  X(libmsi_database_new) X(libmsi_query_new) X(libmsi_query_execute)                   \
  X(libmsi_query_fetch) X(libmsi_record_is_null) X(libmsi_record_get_string)           \
  X(libmsi_record_get_stream)
#define ZORM_GCAB_FUNCTIONS(X)                                                         \
  X(gcab_cabinet_new) X(gcab_cabinet_load) X(gcab_cabinet_extract)                     \
  X(gcab_file_get_name) X(gcab_file_set_extract_name)
// clang-format on

struct MsiLibraries {
  ZORM_MSI_FUNCTIONS(ZORM_LIBRARY_FUNCTION)
  ZORM_GCAB_FUNCTIONS(ZORM_LIBRARY_FUNCTION)
};

Status LoadMsiLibraries(const MsiLibraries** libraries) {
  return LoadSharedLibraryOnce(libraries, [](MsiLibraries* functions) {
    Status status = OpenSharedLibrary("installer", "libmsi.so.0",
                                      {ZORM_MSI_FUNCTIONS(ZORM_LIBRARY_SYMBOL)});
    if (!status.ok()) return status;
    return OpenSharedLibrary("cabinet", "libgcab-1.0.so.0",
                             {ZORM_GCAB_FUNCTIONS(ZORM_LIBRARY_SYMBOL)});
  });
}

struct GObjectUnref {
  void operator()(void* object) const {
    if (object) g_object_unref(object);
  }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// Holds a GError for one call and frees it.
class GErrorSlot {
 public:
  GErrorSlot() = default;
  ~GErrorSlot() { g_clear_error(&m_error); }
  GErrorSlot(const GErrorSlot&) = delete;
  GErrorSlot& operator=(const GErrorSlot&) = delete;
  GError** out() {
    g_clear_error(&m_error);
    return &m_error;
  }
  bool is_set() const { return m_error != nullptr; }
  std::string text() const { return m_error ? m_error->message : "unknown error"; }

 private:
  GError* m_error = nullptr;
};

Status Fail(long code, std::string error) { return Status::Error(std::move(error), code); }

// The folder that holds all of `paths`.
std::string CommonFolder(const std::vector<std::string>& paths) {
  if (paths.empty()) return "/";
  std::string common = paths[0];
  for (const std::string& path : paths)
    while (!IsWithinFolder(path, common)) common = ParentFolder(common);
  return common;
}

// True for "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits.
bool IsBracedGuid(const std::string& text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (size_t i = 1; i < 37; ++i) {
    bool dash_place = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash_place ? text[i] != '-' : !isxdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

// `text` with line breaks and other control characters as spaces, fit for the
// settings store.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return text;
}

// An open package: its database and the rows of the tables the installer uses.
class Package {
 public:
  explicit Package(const MsiLibraries& msi) : m_msi(msi) {}
  const MsiLibraries& msi() const { return m_msi; }

  // Opens `path`. Fails with 1619 when the file cannot be read, 1620 when it is
  // not a Windows Installer database.
  Status Open(const std::string& path) {
    struct stat st;
    // Non-blocking, so that a FIFO in the package's place is refused below
    // instead of waiting for a writer.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
      return Fail(kInstallPackageOpenFailed, "cannot open " + path + ": " + strerror(errno));
    bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    if (!regular) return Fail(kInstallPackageOpenFailed, path + " is not a file");

    GErrorSlot error;
    m_db.reset(m_msi.libmsi_database_new(path.c_str(), LIBMSI_DB_FLAGS_READONLY, nullptr, error.out()));
    if (!m_db)
      return Fail(kInstallPackageInvalid,
                  error.is_set() ? path + " is not an installation package: " + error.text()
                                 : path + " is not an installation package");
    m_folder = ParentFolder(path);
    Status read = ReadRows("SELECT `Property`, `Value` FROM `Property`", 2, &m_property_rows);
    if (!read.ok())
      return Fail(kInstallPackageInvalid,
                  path + " is not an installation package: " + read.message());
    return Status::Ok();
  }

  // Reads every row of `query` with `columns` string columns (null reads as "").
  Status ReadRows(const char* query_text, unsigned columns,
                  std::vector<std::vector<std::string>>* rows) {
    GErrorSlot error;
    GObjectPtr<LibmsiQuery> query(m_msi.libmsi_query_new(m_db.get(), query_text, error.out()));
    if (!query || !m_msi.libmsi_query_execute(query.get(), nullptr, error.out()))
      return Status::Error(error.text());
    rows->clear();
    while (true) {
      GObjectPtr<LibmsiRecord> record(m_msi.libmsi_query_fetch(query.get(), error.out()));
      if (!record) break;
      std::vector<std::string> row;
      for (unsigned i = 1; i <= columns; ++i) {
        gchar* text = m_msi.libmsi_record_is_null(record.get(), i)
                          ? nullptr
                          : m_msi.libmsi_record_get_string(record.get(), i);
        row.emplace_back(text ? text : "");
        g_free(text);
      }
      rows->push_back(std::move(row));
    }
    return Status::Ok();
  }

  // Reads the stream `name` of the package's _Streams table into `bytes`.
  Status ReadStream(const std::string& name, GBytes** bytes) {
    GErrorSlot error;
    GObjectPtr<LibmsiQuery> query(
        m_msi.libmsi_query_new(m_db.get(), "SELECT `Name`, `Data` FROM `_Streams`", error.out()));
    if (!query || !m_msi.libmsi_query_execute(query.get(), nullptr, error.out()))
      return Status::Error(error.text());
    while (true) {
      GObjectPtr<LibmsiRecord> record(m_msi.libmsi_query_fetch(query.get(), error.out()));
      if (!record) break;
      gchar* stream_name = m_msi.libmsi_record_get_string(record.get(), 1);
      bool match = stream_name && name == stream_name;
      g_free(stream_name);
      if (!match) continue;
      GObjectPtr<GInputStream> stream(m_msi.libmsi_record_get_stream(record.get(), 2));
      if (!stream) break;
      GByteArray* data = g_byte_array_new();
      guint8 buffer[65536];
      while (true) {
        gssize got = g_input_stream_read(stream.get(), buffer, sizeof buffer, nullptr, error.out());
        if (got < 0) {
          g_byte_array_unref(data);
          return Status::Error("cannot read the cabinet " + name + ": " + error.text());
        }
        if (got == 0) break;
        g_byte_array_append(data, buffer, static_cast<guint>(got));
      }
      *bytes = g_byte_array_free_to_bytes(data);
      return Status::Ok();
    }
    return Status::Error("the package has no cabinet " + name);
  }

  std::string Property(const std::string& name) const {
    for (const auto& row : m_property_rows)
      if (row[0] == name) return row[1];
    return "";
  }
  const std::vector<std::vector<std::string>>& property_rows() const { return m_property_rows; }
  const std::string& folder() const { return m_folder; }

 private:
  const MsiLibraries& m_msi;
  GObjectPtr<LibmsiDatabase> m_db;
  std::vector<std::vector<std::string>> m_property_rows;
  std::string m_folder;
};

// One file of the package and where it goes.
struct PlannedFile {
  std::string key;          // the File table's key, also its name in the cabinet
  std::string destination;  // absolute path
  std::string root;         // the allowed folder it lies in
  uint64_t size = 0;
  std::string staged;  // where the cabinet put it
};

struct Plan {
  std::vector<PlannedFile> files;
  std::vector<std::string> cabinets;  // "#stream" or a file name beside the package
  std::string install_folder;
  uint64_t total_bytes = 0;
};

// Folders may only be the installation root or folders the operator named:
// a package must not reach into the rest of the user's files. Sets `*within` to
// the allowed folder that holds `folder`.
Status CheckFolderAllowed(const std::string& id, const std::string& folder,
                          const std::vector<std::string>& roots, std::string* within) {
  for (const std::string& root : roots)
    if (IsWithinFolder(folder, root)) {
      *within = root;
      if (StaysWithinOnDisk(folder, root)) return Status::Ok();
      return Fail(kInstallFailure, "the package's folder " + id + " (" + folder +
                                       ") leads out of " + root + " through a symbolic link");
    }
  return Fail(kInstallFailure, "the package's folder " + id + " (" + folder +
                                   ") lies outside the installation folder " + roots[0]);
}

// Works out from the package's tables which file goes where.
Status MakePlan(Package& package, const InstallProperties& properties,
                const InstallProperties& command_properties, Plan* plan) {
  std::vector<std::vector<std::string>> directory_rows, components, files, media;
  const struct {
    const char* query;
    unsigned columns;
    std::vector<std::vector<std::string>>* rows;
  } kTables[] = {
      {"SELECT `Directory`, `Directory_Parent`, `DefaultDir` FROM `Directory`", 3,
       &directory_rows},
      {"SELECT `Component`, `Directory_` FROM `Component`", 2, &components},
      {"SELECT `File`, `Component_`, `FileName`, `FileSize` FROM `File`", 4, &files},
      {"SELECT `DiskId`, `Cabinet` FROM `Media`", 2, &media},
  };
  for (const auto& table : kTables) {
    Status read = package.ReadRows(table.query, table.columns, table.rows);
    if (!read.ok())
      return Fail(kInstallPackageInvalid, "the package's tables cannot be read: " + read.message());
  }

  std::vector<InstallDirectoryRow> rows;
  for (const auto& row : directory_rows) rows.push_back({row[0], row[1], row[2]});
  std::map<std::string, std::string> folders;
  Status resolved = ResolveInstallDirectories(rows, properties, DefaultInstallRoot(), &folders);
  if (!resolved.ok()) return Fail(kInstallFailure, resolved.message());

  std::vector<std::string> roots = {WithoutTrailingSlash(DefaultInstallRoot())};
  for (const auto& [id, value] : command_properties)
    if (folders.count(id) && !value.empty()) roots.push_back(folders[id]);

  std::map<std::string, std::string> component_folder, component_root;
  for (const auto& row : components) {
    auto folder = folders.find(row[1]);
    if (folder == folders.end())
      return Fail(kInstallFailure, "the component " + row[0] + " has no folder " + row[1]);
    Status allowed = CheckFolderAllowed(row[1], folder->second, roots, &component_root[row[0]]);
    if (!allowed.ok()) return allowed;
    component_folder[row[0]] = folder->second;
  }

  std::set<std::string> destinations;
  for (const auto& row : files) {
    auto folder = component_folder.find(row[1]);
    if (folder == component_folder.end())
      return Fail(kInstallFailure, "the file " + row[0] + " belongs to no component");
    std::string name = LongTargetName(row[2]);
    if (!IsPlainFileName(name))
      return Fail(kInstallFailure,
                  "the file " + row[0] + " has the unusable name \"" + name + "\"");
    PlannedFile file;
    file.key = row[0];
    file.destination = (folder->second == "/" ? "" : folder->second) + "/" + name;
    file.root = component_root[row[1]];
    file.size = strtoull(row[3].c_str(), nullptr, 10);
    if (!destinations.insert(file.destination).second)
      return Fail(kInstallFailure, "two files of the package go to " + file.destination);
    plan->total_bytes += file.size;
    plan->files.push_back(std::move(file));
  }
  for (const auto& row : media)
    if (!row[1].empty()) plan->cabinets.push_back(row[1]);

  for (const char* id : {"INSTALLDIR", "TARGETDIR"}) {
    auto folder = folders.find(id);
    if (folder != folders.end()) {
      plan->install_folder = folder->second;
      break;
    }
  }
  if (plan->install_folder.empty()) {
    std::vector<std::string> paths;
    for (const PlannedFile& file : plan->files) paths.push_back(ParentFolder(file.destination));
    plan->install_folder = CommonFolder(paths);
  }
  return Status::Ok();
}

// While alive, writes past the size Set() gives fail with EFBIG instead of
// raising SIGXFSZ; the process's earlier limit and handling come back after.
class FileSizeLimit {
 public:
  FileSizeLimit() {
    getrlimit(RLIMIT_FSIZE, &m_old_limit);
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &m_old_action);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old_limit);
    sigaction(SIGXFSZ, &m_old_action, nullptr);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  static void Set(uint64_t bytes) {
    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min<rlim_t>(static_cast<rlim_t>(bytes), limit.rlim_max);
    setrlimit(RLIMIT_FSIZE, &limit);
  }

 private:
  struct rlimit m_old_limit;
  struct sigaction m_old_action;
};

// Extracts a plan's files from the package's cabinets into the staging folder,
// reporting the bytes done as it goes. It runs in the reader's child process,
// which the installer ends to cancel, so it has no cancel of its own.
class CabinetExtractor {
 public:
  using Reporter = std::function<void(uint64_t done, uint64_t total)>;

  CabinetExtractor(Plan* plan, const std::string& staging, Reporter report)
      : m_plan(plan), m_staging(staging), m_report(std::move(report)) {
    for (size_t i = 0; i < plan->files.size(); ++i) m_by_key[plan->files[i].key] = i;
  }

  Status ExtractAll(Package& package) {
    m_msi = &package.msi();
    FileSizeLimit limit;
    for (const std::string& cabinet : m_plan->cabinets) {
      GBytes* raw = nullptr;
      if (cabinet[0] == '#') {
        Status read = package.ReadStream(cabinet.substr(1), &raw);
        if (!read.ok()) return Fail(kInstallFailure, read.message());
      } else {
        gchar* contents = nullptr;
        gsize length = 0;
        std::string path = package.folder() + "/" + cabinet;
        if (!IsPlainFileName(cabinet) ||
            !g_file_get_contents(path.c_str(), &contents, &length, nullptr))
          return Fail(kInstallFailure, "cannot read the cabinet " + path);
        raw = g_bytes_new_take(contents, length);
      }
      Status result = Extract(cabinet, raw);
      g_bytes_unref(raw);
      if (!result.ok()) return result;
    }
    for (const PlannedFile& file : m_plan->files) {
      struct stat st;
      if (file.staged.empty() || stat(file.staged.c_str(), &st) != 0)
        return Fail(kInstallFailure,
                    "the file " + file.key + " is missing from the package's cabinets");
      if (static_cast<uint64_t>(st.st_size) != file.size)
        return Fail(kInstallFailure, "the file " + file.key + " came out of its cabinet damaged");
    }
    m_report(m_plan->total_bytes, m_plan->total_bytes);
    return Status::Ok();
  }

 private:
  Status Extract(const std::string& cabinet_name, GBytes* raw) {
    GObjectPtr<GInputStream> stream(g_memory_input_stream_new_from_bytes(raw));
    GObjectPtr<GCabCabinet> cabinet(m_msi->gcab_cabinet_new());
    GObjectPtr<GFile> folder(g_file_new_for_path(m_staging.c_str()));
    GErrorSlot error;
    if (!m_msi->gcab_cabinet_load(cabinet.get(), stream.get(), nullptr, error.out()) ||
        !m_msi->gcab_cabinet_extract(cabinet.get(), folder.get(), &CabinetExtractor::OnFile, nullptr,
                              this, nullptr, error.out())) {
      // GIO has no code of its own for EFBIG; its text carries the system's.
      if (m_current != nullptr && error.text().find(strerror(EFBIG)) != std::string::npos)
        return Fail(kInstallFailure, "the file " + m_current->key + " in the cabinet " +
                                         cabinet_name + " is larger than its declared " +
                                         std::to_string(m_current->size) + " bytes");
      return Fail(kInstallFailure, "the cabinet " + cabinet_name + " is damaged: " + error.text());
    }
    return Status::Ok();
  }

  // Called by libgcab before each file: extract only the files of the plan, under
  // names of our own so that no name from the cabinet reaches the disk.
  static gboolean OnFile(GCabFile* cab_file, gpointer context) {
    auto* self = static_cast<CabinetExtractor*>(context);
    auto found = self->m_by_key.find(self->m_msi->gcab_file_get_name(cab_file));
    if (found == self->m_by_key.end()) return FALSE;
    self->m_report(self->m_done_bytes, self->m_plan->total_bytes);
    PlannedFile& file = self->m_plan->files[found->second];
    // The file is cut off where its declared size ends, so a cabinet that
    // unpacks to far more than the package claims cannot fill the disk.
    self->m_current = &file;
    FileSizeLimit::Set(file.size);
    std::string name = "file-" + std::to_string(found->second);
    self->m_msi->gcab_file_set_extract_name(cab_file, name.c_str());
    file.staged = self->m_staging + "/" + name;
    self->m_done_bytes += file.size;
    return TRUE;
  }

  const MsiLibraries* m_msi = nullptr;  // the package's, set by ExtractAll
  Plan* m_plan;
  std::string m_staging;
  Reporter m_report;
  std::map<std::string, size_t> m_by_key;
  uint64_t m_done_bytes = 0;
  const PlannedFile* m_current = nullptr;  // the file being extracted
};

}  // namespace

void ReadMsiPackage(const std::string& path, const InstallProperties& command_properties,
                    const PackageReaderSender& send) {
  // The libraries' own complaints about a damaged file would reach the user's
  // terminal beside the installer's answer, which already says what is wrong.
  g_log_set_default_handler([](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
  auto finish = [&](Status result, PackageContents contents = {}) {
    PackageReaderMessage message;
    message.result = std::move(result);
    message.contents = std::move(contents);
    send(message);
  };
  const MsiLibraries* msi;
  if (Status loaded = LoadMsiLibraries(&msi); !loaded.ok())
    return finish(Fail(kInstallFailure, loaded.message()));
  Package package(*msi);
  Status opened = package.Open(path);
  if (!opened.ok()) return finish(opened);
  PackageContents contents;
  contents.product_code = package.Property("ProductCode");
  contents.upgrade_code = package.Property("UpgradeCode");
  if (!IsBracedGuid(contents.product_code))
    return finish(Fail(kInstallPackageInvalid,
                       path + " is not an installation package: its ProductCode is not a GUID"));
  if (!contents.upgrade_code.empty() && !IsBracedGuid(contents.upgrade_code))
    return finish(Fail(kInstallPackageInvalid,
                       path + " is not an installation package: its UpgradeCode is not a GUID"));

  InstallProperties properties;
  for (const auto& row : package.property_rows()) properties[row[0]] = row[1];
  for (const auto& [name, value] : command_properties) properties[name] = value;
  Plan plan;
  Status planned = MakePlan(package, properties, command_properties, &plan);
  if (!planned.ok()) return finish(planned);

  PackageReaderMessage staged;
  staged.kind = PackageReaderMessage::Kind::kStaging;
  // The installing process owns the folder: it moves the files out after this
  // reader has ended.
  Status created = CreateStagingFolder(plan.install_folder, getppid(), &staged.staging);
  if (!created.ok()) return finish(Fail(kInstallFailure, created.message()));
  send(staged);
  CabinetExtractor extractor(&plan, staged.staging, [&send](uint64_t done, uint64_t total) {
    PackageReaderMessage progress;
    progress.kind = PackageReaderMessage::Kind::kProgress;
    progress.done = done;
    progress.total = total;
    send(progress);
  });
  Status extracted = extractor.ExtractAll(package);
  if (!extracted.ok()) return finish(extracted);

  contents.name = OneLine(package.Property("ProductName"));
  contents.version = OneLine(package.Property("ProductVersion"));
  contents.install_folder = plan.install_folder;
  for (const PlannedFile& file : plan.files)
    contents.files.push_back({file.staged, file.destination, file.root});
  finish(Status::Ok(), std::move(contents));
}
