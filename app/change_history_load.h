// Loading a module's change history: FetchFeed, then CRSS::Read and Classify.
//
// The program knows the module from its command line long before its dialog is
// up, so it may start the load on a worker thread first thing; the dialog then
// takes the result where it would otherwise load the feed itself. Waiting on the
// vendor's server and reading a large history then overlap with the start of
// the user interface. The outcome is the same either way: the same entries, and
// the same error raised at the same step of the dialog.
#pragma once

#include <string>

#include "app/rss.h"

// Starts loading `module`'s change history on a worker thread, unless a load
// started earlier is still waiting to be taken.
void StartChangeHistoryLoad(const std::string& module);

// Loads `module`'s change history into rss->m_items: takes the load started for
// that module, waiting for it to end, or else loads it here. Throws what
// FetchFeed or Read throw (InternetError, std::invalid_argument); entries read
// before a Read error stay in rss->m_items.
void LoadChangeHistory(const std::string& module, CRSS* rss);

// Waits for a load that was started and not taken, so that the worker does not
// outlive the program's data. Called once the dialog is gone.
void EndChangeHistoryLoad();
