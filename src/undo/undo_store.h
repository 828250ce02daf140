#pragma once
// The record of every change Pelto makes to the user's folders, and its undoing. The
// store is a folder (beside the templates) with one record folder per change, named by
// its id: a sequence number one above the highest in the store, then the UTC time it
// began ("000042-20261210T153000Z"), so changes keep their order whatever the clock or
// the time zone does. Records of earlier versions, named by their local time
// ("20261210-153000-123456"), sort before every numbered one. A run begins a change,
// records each file before it writes it (ChangeWriter), and finishes it; undo puts the
// previous bytes back and removes the files the change created.
//
// Before undoing, every file is checked against the SHA-256 of what the change wrote:
// a file edited since is named and nothing is touched, unless the undo is forced. Undo
// holds the lock of every folder it writes in (FileLock::TakeFolder), as runs do while
// they record and replace a file, so a run and an undo never overwrite each other's
// bytes unseen. A file that is now a symbolic link is never written through, forced or
// not, and a manifest that does not read whole, or names a file that is not an absolute,
// normalised path beside one of the change's pages, is refused, naming it.
// Old records are pruned, oldest first, to the last 100 changes or 200 MB.
#include "common/result.h"
#include "undo/change_record.h"
#include "undo/pending_write.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace pelto {

class ChangeWriter;

struct UndoOutcome {
    std::string id;
    std::vector<std::string> pages;
    // Files edited after the change (by the user or a later change). When not empty and
    // the undo was not forced, nothing was undone.
    std::vector<std::string> changedSince;
    bool undone = false;
    std::vector<std::string> restored; // files that got their previous bytes back
    std::vector<std::string> removed;  // files the change had created
};

class UndoStore {
public:
    static constexpr size_t kMaxChanges = 100;
    static constexpr uint64_t kMaxBytes = 200ull * 1024 * 1024;

    explicit UndoStore(std::filesystem::path folder, size_t maxChanges = kMaxChanges,
                       uint64_t maxBytes = kMaxBytes);

    const std::filesystem::path& folder() const { return folder_; }

    // Starts a change record; fails (with a message naming the folder) when the record
    // cannot be made, before anything is written to the user's folder.
    Result<std::unique_ptr<ChangeWriter>>
    Begin(const std::string& scriptId, const std::string& effectName, const std::string& option);

    // The recorded changes, newest first (at most limit of them).
    Result<std::vector<ChangeInfo>> History(size_t limit = SIZE_MAX) const;

    // Undoes the change with this id (the newest when id is empty). waiting is called
    // once when another run holds a folder the undo writes in, before waiting for it.
    Result<UndoOutcome> Undo(const std::string& id, bool force,
                             const std::function<void(const std::string&)>& waiting = {});

    // The clock that dates new records (the system's by default).
    void SetClock(std::function<std::chrono::system_clock::time_point()> clock) {
        clock_ = std::move(clock);
    }

    // Removes the oldest finished records until both limits hold; the newest record is
    // always kept.
    Status Prune();

private:
    friend class ChangeWriter;
    // Prune after the record id of this many bytes was finished: the store is looked at
    // only where the sizes kept beside the records may have crossed a limit.
    Status PruneAfter(const std::string& id, uint64_t bytes);
    Status PruneListed(); // Prune, with the store's lock held
    std::filesystem::path folder_;
    size_t maxChanges_;
    uint64_t maxBytes_;
    std::function<std::chrono::system_clock::time_point()> clock_;
};

// True when the change named a was begun before the one named b (see the ids above).
bool ChangeIdBefore(const std::string& a, const std::string& b);

// One change being made. Record may be called from several threads at once (a batch's
// pages); each call returns once the record of those files is on the disk.
class ChangeWriter {
public:
    ~ChangeWriter();
    ChangeWriter(const ChangeWriter&) = delete;
    ChangeWriter& operator=(const ChangeWriter&) = delete;

    const std::string& id() const { return id_; }
    const std::filesystem::path& folder() const { return folder_; }

    // Records the files about to be written for page: the current bytes of each (or that
    // it does not exist yet) and the SHA-256 of the bytes it will get.
    Status Record(const std::string& page, const std::vector<PendingWrite>& writes);

    // Ends the change and prunes old records; with allWritten it is marked complete (every
    // file it names was written), otherwise it stays "cut short" and still undoes what was
    // written. A change that recorded no file is removed instead. Returns true when a
    // change was kept.
    Result<bool> Finish(bool allWritten = true);

private:
    friend class UndoStore;
    ChangeWriter(UndoStore& store, std::string id, std::filesystem::path folder, int fd);
    Status Append(const std::string& lines, bool flush = true);

    struct Entry {
        int number = 0;
        bool ready = false;
    };

    UndoStore& store_;
    std::string id_;
    std::filesystem::path folder_;
    int fd_ = -1; // the manifest, open for appending and locked while the run lasts
    std::mutex mutex_;
    std::condition_variable readyChanged_;
    std::map<std::string, Entry> entries_;
    int nextNumber_ = 1;
    bool broken_ = false;
    bool finished_ = false;
    bool named_ = false; // the record's folder and manifest names are on the disk
};

} // namespace pelto
