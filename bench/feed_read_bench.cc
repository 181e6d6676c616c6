// The change-history reader on a large feed: a 10 MB RSS document of about
// 40,000 items, read and classified. Google Benchmark times the reader; then one
// run compares it with what a user would reach for instead, Python's feedparser
// (Debian's python3-feedparser), each in a fresh process on the same file, and
// prints the time and peak-memory ratios.
//
// Goals: at least 20 times faster than feedparser; peak memory of reading under
// five times the size of the body.
//
// BM_ReadAndClassifyFreshProcess is the figure that counts for start-up: the
// utility reads the feed once, into a heap that has not held a feed before.
// --no-compare runs the benchmarks alone; --write-feed PATH writes the feed, so
// that another build's --read-once can be timed on the same bytes.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/rss.h"

namespace {

constexpr int kItems = 40000;

// A feed like the vendor's: titles of both kinds, descriptions with markup to
// escape and non-ASCII text, RFC 822 dates.
std::string MakeFeed(int items = kItems) {
  static const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string feed =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\">\n<channel>\n"
      "<title>Calvaro ABC change history</title>\n<link>http://vendor/cgi/changelog.cgi?Module=ABC"
      "</link>\n<description>Changes to the ABC module</description>\n";
  char item[512];
  for (int i = 0; i < items; ++i) {
    snprintf(item, sizeof item,
             "<item>\n<title>%c%05d Change number %d</title>\n"
             "<description>Scanning &amp; totals &lt; 0 for Caf\xC3\xA9 Z\xC3\xBCrich: entry %d "
             "of the history, a line of text read before an upgrade.</description>\n"
             "<pubDate>%s, %02d %s %d %02d:%02d:00 GMT</pubDate>\n</item>\n",
             i % 3 == 0 ? 'E' : 'F', i, i, i, kDays[i % 7], 1 + i % 28, kMonths[i % 12],
             2000 + i % 25, i % 24, i % 60);
    feed += item;
  }
  feed += "</channel>\n</rss>\n";
  return feed;
}

const std::string& Feed() {
  static const std::string feed = MakeFeed();
  return feed;
}

void BM_ReadAndClassify(benchmark::State& state) {
  for (auto _ : state) {
    CRSS rss;
    rss.Read(Feed());
    rss.Classify();
    benchmark::DoNotOptimize(rss.m_items.data());
    if (rss.m_items.size() != kItems) state.SkipWithError("wrong number of entries");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Feed().size()));
}
BENCHMARK(BM_ReadAndClassify)->Unit(benchmark::kMillisecond);

bool RunAndRead(const std::string& command, double* seconds, long* peak, long* entries);

// The feed of kItems written to a file once, for runs in fresh processes.
const std::string& FeedFile() {
  static const std::string path = [] {
    char name[] = "/tmp/zorm-feed-bench-fresh-XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    std::ofstream(name, std::ios::binary) << Feed();
    return std::string(name);
  }();
  return path;
}

std::string SelfPath() {
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  return length > 0 ? std::string(self, length) : std::string();
}

// Read + Classify as the utility does it at start-up: once, in a fresh process
// whose heap has not been warmed by earlier rounds (a loop in one process reuses
// the memory of the previous round and measures the allocator as much as the
// reader). The time is the child's own processor time for Read + Classify.
void BM_ReadAndClassifyFreshProcess(benchmark::State& state) {
  const std::string command = SelfPath() + " --read-once " + FeedFile();
  for (auto _ : state) {
    double seconds = 0;
    long peak = 0, entries = 0;
    if (!RunAndRead(command, &seconds, &peak, &entries) || entries != kItems) {
      state.SkipWithError("the reading process failed");
      break;
    }
    state.SetIterationTime(seconds);
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Feed().size()));
}
BENCHMARK(BM_ReadAndClassifyFreshProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);

long KilobytesOf(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + strlen(field));
  return 0;
}

// Child mode: reads `path`, then times Read + Classify alone and prints
// "seconds peak_bytes_above_start entries".
int ReadOnce(const char* path) {
  long start_kb = KilobytesOf("VmRSS:");
  std::string body;
  if (FILE* file = fopen(path, "rb")) {
    fseek(file, 0, SEEK_END);
    body.resize(ftell(file));
    fseek(file, 0, SEEK_SET);
    body.resize(fread(body.data(), 1, body.size(), file));
    fclose(file);
  }
  // Processor time, not wall time: the comparison stays fair on a busy machine.
  std::clock_t begin = std::clock();
  CRSS rss;
  rss.Read(std::move(body));
  rss.Classify();
  double seconds = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
  printf("%.6f %ld %zu\n", seconds, (KilobytesOf("VmHWM:") - start_kb) * 1024, rss.m_items.size());
  return 0;
}

const char kFeedparserScript[] = R"(
import sys, time
import feedparser
def kb(field):
    for line in open('/proc/self/status'):
        if line.startswith(field):
            return int(line.split()[1])
start = kb('VmRSS:')
body = open(sys.argv[1], 'rb').read()
begin = time.process_time()
feed = feedparser.parse(body)
kinds = [1 if e.get('title', '').startswith('E') else 0 for e in feed.entries]
seconds = time.process_time() - begin
print('%.6f %d %d' % (seconds, (kb('VmHWM:') - start) * 1024, len(kinds)))
)";

bool RunAndRead(const std::string& command, double* seconds, long* peak, long* entries) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  int fields = fscanf(pipe, "%lf %ld %ld", seconds, peak, entries);
  return pclose(pipe) == 0 && fields == 3;
}

void CompareWithFeedparser(const char* self) {
  char path[] = "/tmp/zorm-feed-bench-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return;
  close(fd);
  std::ofstream(path, std::ios::binary) << Feed();
  std::string script_path = std::string(path) + ".py";
  std::ofstream(script_path) << kFeedparserScript;

  double ours_s = 0, theirs_s = 0;
  long ours_peak = 0, theirs_peak = 0, ours_n = 0, theirs_n = 0;
  bool ours_ok = RunAndRead(std::string(self) + " --read-once " + path, &ours_s, &ours_peak, &ours_n);
  bool theirs_ok = RunAndRead("/usr/bin/python3 " + script_path + " " + path, &theirs_s,
                              &theirs_peak, &theirs_n);
  double body_mb = Feed().size() / 1e6;
  printf("\nFeed of %.1f MB, %d items, read and classified in a fresh process "
         "(processor time):\n", body_mb, kItems);
  if (ours_ok)
    printf("  CRSS::Read+Classify  %8.3f s  peak %7.1f MB (%.2fx body)  %ld entries\n", ours_s,
           ours_peak / 1e6, ours_peak / 1e6 / body_mb, ours_n);
  else
    printf("  CRSS run failed\n");
  if (theirs_ok)
    printf("  feedparser           %8.3f s  peak %7.1f MB (%.2fx body)  %ld entries\n", theirs_s,
           theirs_peak / 1e6, theirs_peak / 1e6 / body_mb, theirs_n);
  else
    printf("  feedparser run failed (is python3-feedparser installed?)\n");
  if (ours_ok && theirs_ok && ours_s > 0)
    printf("  ratio: %.1fx faster than feedparser (goal >= 20x); peak %.2fx body (goal < 5x); "
           "feedparser peak / ours %.1fx\n",
           theirs_s / ours_s, ours_peak / 1e6 / body_mb,
           ours_peak > 0 ? static_cast<double>(theirs_peak) / ours_peak : 0.0);
  unlink(path);
  unlink(script_path.c_str());
}

// Memory must stay proportional to the body also for bodies of hundreds of
// megabytes: the same feed twenty times over, read once.
void ReadLargeBody(const char* self) {
  char path[] = "/tmp/zorm-feed-bench-large-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return;
  close(fd);
  size_t size;
  {
    std::string feed = MakeFeed(kItems * 20);
    size = feed.size();
    std::ofstream(path, std::ios::binary) << feed;
  }
  double seconds = 0;
  long peak = 0, entries = 0;
  if (RunAndRead(std::string(self) + " --read-once " + path, &seconds, &peak, &entries))
    printf("\nLarge body: %.0f MB, %ld entries read and classified in %.2f s "
           "(%.0f MB/s), peak %.0f MB (%.2fx body)\n",
           size / 1e6, entries, seconds, size / 1e6 / seconds, peak / 1e6,
           static_cast<double>(peak) / size);
  else
    printf("\nLarge body: the run failed\n");
  unlink(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "--read-once") == 0) return ReadOnce(argv[2]);
  // The feed itself, for timing another build's --read-once on the same bytes.
  if (argc == 3 && strcmp(argv[1], "--write-feed") == 0)
    return (std::ofstream(argv[2], std::ios::binary) << Feed()) ? 0 : 1;
  // Rounds in one process: fixed allocator thresholds, so that glibc neither moves
  // its mmap threshold after each round's large free nor trims the heap between
  // rounds; the loop then times the reader, not whether the allocator happened to
  // give last round's pages back. (--read-once children keep the defaults.)
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest glibc takes
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  unlink(FeedFile().c_str());
  // --no-compare: the in-process benchmarks alone, without the fresh-process runs.
  if (argc == 2 && strcmp(argv[1], "--no-compare") == 0) return 0;
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return 1;
  self[length] = '\0';
  CompareWithFeedparser(self);
  ReadLargeBody(self);
  return 0;
}
