#pragma once
// Files are bytes: read and written whole, in binary. Writes that replace a file the
// user owns go through a temporary file and a rename, so a failure never leaves half a
// file behind.
#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

namespace fs = std::filesystem;

// The whole file as bytes, or an error naming the file. A file (or device) that gives
// more than maxBytes is an error naming the file and the limit; nothing more is read.
Result<std::string> ReadFileBytes(const fs::path& path, size_t maxBytes = SIZE_MAX);

// A whole file read into memory that is not cleared first: for a large page that is
// read once and only looked at.
class FileBuffer {
public:
    std::string_view view() const { return {data_.get(), size_}; }

private:
    friend Result<FileBuffer> ReadFileBuffer(const fs::path& path);
    struct Free {
        size_t mapped; // the length of a mapping; 0 for memory from malloc
        void operator()(char* p) const;
    };
    std::unique_ptr<char, Free> data_{nullptr, Free{0}};
    size_t size_ = 0;
};

// The whole file, or an error naming the file (the messages of ReadFileBytes).
Result<FileBuffer> ReadFileBuffer(const fs::path& path);

// Creates or truncates the file and writes the bytes.
Status WriteFileBytes(const fs::path& path, std::string_view bytes);

// Creates or truncates the file and writes the parts one after another, in one go. A new
// file gets mode (less the umask); a symbolic link at path is not written through.
Status WriteFileParts(const fs::path& path, const std::vector<std::string_view>& parts,
                      unsigned mode = 0666);

// Writes the bytes to a temporary file in the same folder, flushes it to the disk, renames
// it over the target and flushes the folder: the target is either fully old or fully new,
// also after a power cut. The temporary file is private (0600) while it is written; the
// new file then gets the permission bits of the file it replaces (and its owner and group
// where the process may give them), or the usual ones of a new file. A target that is a
// symbolic link is refused: nothing is written through a link.
Status WriteFileAtomic(const fs::path& path, std::string_view bytes);

// The same for bytes given in parts, written one after another as if they were joined.
Status WriteFileAtomic(const fs::path& path, const std::vector<std::string_view>& parts);

// Whether WriteFileAtomic flushes the folder after the rename. A caller that writes
// several files into one folder may leave it to one SyncFolder after the last of them.
enum class FolderFlush { Now, Later };
Status WriteFileAtomic(const fs::path& path, const std::vector<std::string_view>& parts,
                       FolderFlush flush);

// Creates or truncates the file, writes the bytes and flushes them to the disk. A new
// file gets mode (less the umask); a symbolic link at path is not written through.
Status WriteFileDurable(const fs::path& path, std::string_view bytes, unsigned mode = 0666);

// The name of a temporary file beside path that a run of this process writes: it carries
// the process number, so a later run can tell the leftovers of a run that died.
fs::path TemporaryNameBeside(const fs::path& path, const std::string& kind = "tmp");

// Removes the leftovers of Pelto runs that died while writing into folder: temporary
// files named by TemporaryNameBeside whose process is gone (or, with anyRun, every one:
// the caller holds the folder's lock, so no live run is writing there). Gives the names
// removed.
std::vector<fs::path> RemoveDeadRunLeftovers(const fs::path& folder, bool anyRun);

// True while a process with this number runs.
bool ProcessIsAlive(long pid);

// The permission bits a new file gets from the umask (0666 less it).
unsigned NewFileMode();

// Flushes a folder's entries (a created, renamed or removed name) to the disk.
Status SyncFolder(const fs::path& folder);

// Splits text into lines the way a line-oriented reader sees them: a line ends at
// CR LF, at a lone CR or at a lone LF; the terminator is not part of the line. A final
// line without terminator counts as a line; text that ends with a terminator has no
// extra empty line after it.
std::vector<std::string> SplitLines(std::string_view text);

// The ordinary files of a folder (no subfolders), sorted by name.
Result<std::vector<fs::path>> FolderFiles(const fs::path& folder);

// A path as bytes for messages.
std::string PathText(const fs::path& path);

} // namespace pelto
