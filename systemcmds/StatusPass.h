#pragma once
// Works out the status of every row of a reload on a worker thread and
// posts the results to the window in batches. A new pass or the window's
// end cancels the running one without waiting for it: a probe blocked on a
// dead drive must never hold the window.
#include "systemcmds/EntryProbe.h"

#include <windows.h>

#include <memory>
#include <vector>

// What the window receives: lParam of the pass's message, owned by the
// receiver (TakeStatusBatch), for rows first.. of the pass `generation`.
struct StatusBatch {
    unsigned generation = 0;
    size_t first = 0;
    std::vector<EntryStatus> statuses;
    bool last = false; // every row of the pass is known
};

std::unique_ptr<StatusBatch> TakeStatusBatch(LPARAM lParam);

class CStatusPass {
public:
    CStatusPass() = default;
    ~CStatusPass() { Cancel(); }
    CStatusPass(const CStatusPass&) = delete;
    CStatusPass& operator=(const CStatusPass&) = delete;

    // Cancels the running pass and starts one for these rows; false when no
    // thread could be started (the rows then keep no status).
    bool Start(HWND window, UINT message, unsigned generation, std::vector<EntryToJudge> rows);
    void Cancel();

    struct State;

private:
    std::shared_ptr<State> m_state;
};
