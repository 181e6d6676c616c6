#include "app/change_history_load.h"

#include <exception>
#include <memory>
#include <thread>
#include <utility>

#include "app/feed_fetch.h"
#include "platform/huge_pages.h"

namespace {

struct EarlyLoad {
  std::string module;
  // Made by the worker without a word: what the user sees comes from the dialog's
  // own reader, in the dialog's turn.
  std::unique_ptr<CRSS> rss;
  std::exception_ptr error;
  std::thread worker;
};

// Only the GUI thread starts, takes and ends the load.
std::unique_ptr<EarlyLoad> g_early;

void Load(const std::string& module, CRSS* rss) {
  rss->Read(FetchFeed(module));
  rss->Classify();
}

}  // namespace

void StartChangeHistoryLoad(const std::string& module) {
  if (g_early) return;
  g_early = std::make_unique<EarlyLoad>();
  EarlyLoad* load = g_early.get();
  load->module = module;
  load->worker = std::thread([load] {
    // A long history is tens of thousands of strings read into this thread's heap.
    AdviseHugePagesForThreadHeap();
    try {
      load->rss = std::make_unique<CRSS>(CRSS::OnCreationFailure::kStaySilent);
      if (!load->rss->HasDocument()) return;  // the dialog loads it itself
      Load(load->module, load->rss.get());
    } catch (...) {
      load->error = std::current_exception();
    }
  });
}

void LoadChangeHistory(const std::string& module, CRSS* rss) {
  if (!g_early || g_early->module != module) {
    Load(module, rss);
    return;
  }
  std::unique_ptr<EarlyLoad> load = std::move(g_early);
  load->worker.join();
  if (!load->rss || !load->rss->HasDocument()) {
    Load(module, rss);
    return;
  }
  if (rss->m_items.empty())
    rss->m_items.swap(load->rss->m_items);
  else
    for (CRSSItem& item : load->rss->m_items) rss->m_items.push_back(std::move(item));
  if (load->error) std::rethrow_exception(load->error);
}

void EndChangeHistoryLoad() {
  if (!g_early) return;
  g_early->worker.join();
  g_early.reset();
}
