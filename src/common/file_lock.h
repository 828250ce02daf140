#pragma once
// A lock held through a lock file for as long as the object lives: two Pelto runs (two
// windows, or pelto-cli beside the windows) that share a folder take turns instead of
// mixing their files. The lock belongs to the open file, so a run that crashes releases
// it at once; the file keeps the holder's process number for the message.
#include "common/result.h"

#include <filesystem>
#include <functional>
#include <string>

namespace pelto {

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    enum class Wait { No, Yes };
    // Takes the lock of lockFile (created when missing). With Wait::No a lock that another
    // run holds is an error naming `what` and that run's process; with Wait::Yes the call
    // waits for it and calls waiting once first.
    static Result<FileLock> Take(const std::filesystem::path& lockFile, const std::string& what,
                                 Wait wait,
                                 const std::function<void(const std::string&)>& waiting = {});

    // Takes the lock of a folder itself (nothing is created in it): every Pelto run that
    // replaces a file in the folder, and every undo of such a change, holds it from the
    // moment it looks at the file it replaces until its new bytes have their name, so
    // their reads and renames never interleave. Waits for another holder, calling waiting
    // once first.
    static Result<FileLock> TakeFolder(const std::filesystem::path& folder,
                                       const std::function<void(const std::string&)>& waiting = {});

    bool held() const { return fd_ >= 0; }

private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace pelto
