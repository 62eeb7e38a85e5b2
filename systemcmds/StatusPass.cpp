#include "systemcmds/StatusPass.h"

#include "framework/Handles.h"

#include <atomic>
#include <new>

struct CStatusPass::State {
    HWND window = nullptr;
    UINT message = 0;
    unsigned generation = 0;
    std::vector<EntryToJudge> rows;
    std::atomic<bool> cancelled{false};
    // Held while posting and while cancelling: once Cancel returns no batch
    // can reach the queue, so the drain on close frees every one. A probe
    // never runs under it, so cancelling never waits for one.
    SRWLOCK posting = SRWLOCK_INIT;
};

namespace {

// The posting lock held for a scope.
class CPostingLock {
public:
    explicit CPostingLock(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
    ~CPostingLock() { ReleaseSRWLockExclusive(&m_lock); }
    CPostingLock(const CPostingLock&) = delete;
    CPostingLock& operator=(const CPostingLock&) = delete;

private:
    SRWLOCK& m_lock;
};

constexpr size_t kBatchRows = 64;
constexpr ULONGLONG kBatchMilliseconds = 100;

// False when the window is gone: the batch is freed and the pass ends.
bool Post(CStatusPass::State& state, std::unique_ptr<StatusBatch> batch)
{
    const CPostingLock lock(state.posting);
    if (state.cancelled || !PostMessageW(state.window, state.message, 0, reinterpret_cast<LPARAM>(batch.get())))
        return false;
    batch.release();
    return true;
}

void Judge(CStatusPass::State& state) noexcept
{
    try {
        const CProbingThreadMode mode;
        CDriveKinds drives;
        auto batch = std::make_unique<StatusBatch>();
        batch->generation = state.generation;
        ULONGLONG posted = GetTickCount64();
        for (size_t row = 0; row < state.rows.size(); ++row) {
            if (state.cancelled)
                return;
            batch->statuses.push_back(JudgeAppPathsEntry(state.rows[row], drives));
            if (batch->statuses.size() >= kBatchRows || GetTickCount64() - posted >= kBatchMilliseconds) {
                auto next = std::make_unique<StatusBatch>();
                next->generation = state.generation;
                next->first = row + 1;
                if (!Post(state, std::move(batch)))
                    return;
                batch = std::move(next);
                posted = GetTickCount64();
            }
        }
        batch->last = true;
        Post(state, std::move(batch));
    } catch (...) {
        // Out of memory: the rows keep no status; nothing else is affected.
    }
}

DWORD WINAPI PassThread(void* parameter)
{
    const std::unique_ptr<std::shared_ptr<CStatusPass::State>> state(
        static_cast<std::shared_ptr<CStatusPass::State>*>(parameter));
    Judge(**state);
    return 0;
}

} // namespace

std::unique_ptr<StatusBatch> TakeStatusBatch(LPARAM lParam)
{
    return std::unique_ptr<StatusBatch>(reinterpret_cast<StatusBatch*>(lParam));
}

bool CStatusPass::Start(HWND window, UINT message, unsigned generation, std::vector<EntryToJudge> rows)
{
    Cancel();
    auto state = std::make_shared<State>();
    state->window = window;
    state->message = message;
    state->generation = generation;
    state->rows = std::move(rows);
    auto* handed = new (std::nothrow) std::shared_ptr<State>(state);
    if (!handed)
        return false;
    // Not joined: the thread keeps its state alive and ends on its own.
    const CKernelHandle thread(CreateThread(nullptr, 0, PassThread, handed, 0, nullptr));
    if (!thread) {
        delete handed;
        return false;
    }
    m_state = std::move(state);
    return true;
}

void CStatusPass::Cancel()
{
    if (m_state) {
        const CPostingLock lock(m_state->posting);
        m_state->cancelled = true;
    }
    m_state.reset();
}
