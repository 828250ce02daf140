#include "attach/applied_record.h"

#include "common/files.h"
#include "undo/sha256.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace pelto {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "pelto-applied 1 ";
// Inserted bytes from this size on are kept once, in a file named by their SHA-256 that
// every page with the same code shares (the same effect with the same values on a site).
constexpr size_t kSharedPiece = 256;

fs::path SharedPiece(const fs::path& folder, const std::string& sha) {
    return folder / "shared" / (sha + ".piece");
}

void AddText(std::string& out, std::string_view text) {
    out += "text " + std::to_string(text.size()) + "\n";
    out.append(text);
    out += '\n';
}

std::string Entry(const AppliedRecord& r, bool share) {
    std::string out = "application " + r.changeId + " " + std::to_string(r.repeat) + " " +
                      std::to_string(r.pieces.size()) + " " + std::to_string(r.externals.size()) +
                      "\n";
    AddText(out, r.time);
    AddText(out, r.scriptId);
    AddText(out, r.effectName);
    AddText(out, r.values);
    for (const std::string& e : r.externals)
        AddText(out, e);
    for (const InsertedPiece& p : r.pieces) {
        out += "piece";
        for (const uint64_t n : std::initializer_list<uint64_t>{
                 p.offset, p.removed.size(), p.inserted.size(), p.before.size(), p.after.size()}) {
            out += ' ';
            out += std::to_string(n);
        }
        const bool shared = share && p.inserted.size() >= kSharedPiece;
        if (shared) {
            out += ' ';
            out += Sha256Hex(p.inserted);
        }
        out += "\n";
        out += p.removed;
        if (!shared)
            out += p.inserted;
        out += p.before;
        out += p.after;
        out += '\n';
    }
    out += "end\n";
    return out;
}

// Reads the file's text from its start; stops quietly at an entry that does not end.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool Line(std::string& line) {
        const size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            return false;
        line = std::string(text_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return true;
    }
    bool Bytes(size_t n, std::string& out) {
        if (text_.size() - pos_ < n)
            return false;
        out = std::string(text_.substr(pos_, n));
        pos_ += n;
        return true;
    }
    bool Newline() {
        if (pos_ >= text_.size() || text_[pos_] != '\n')
            return false;
        ++pos_;
        return true;
    }
    bool Text(std::string& out) {
        std::string line;
        if (!Line(line) || line.rfind("text ", 0) != 0)
            return false;
        char* end = nullptr;
        const unsigned long long n = std::strtoull(line.c_str() + 5, &end, 10);
        return end && *end == '\0' && Bytes(n, out) && Newline();
    }
    size_t pos() const { return pos_; }
    bool AtEnd() const { return pos_ >= text_.size(); }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// A shared piece's file as read, and whether its bytes have the SHA-256 it is named by.
struct SharedBytes {
    Result<std::string> bytes;
    bool whole = false;
};
// The shared pieces read so far, by their SHA-256: a page's entries mostly name the same
// ones (the same effect applied again), which are then read once.
using SharedPieces = std::map<std::string, SharedBytes>;

// A piece whose inserted bytes are shared gets them from folder; an error names the file
// that is missing or does not hold them.
bool ReadEntry(Reader& in, AppliedRecord& r, const fs::path& folder, SharedPieces& known,
               std::optional<Error>& bad) {
    std::string line;
    if (!in.Line(line))
        return false;
    std::istringstream head(line);
    std::string word;
    size_t pieces = 0, externals = 0;
    int repeat = 0;
    if (!(head >> word >> r.changeId >> repeat >> pieces >> externals) || word != "application")
        return false;
    r.repeat = static_cast<int16_t>(repeat);
    if (!in.Text(r.time) || !in.Text(r.scriptId) || !in.Text(r.effectName) || !in.Text(r.values))
        return false;
    for (size_t i = 0; i < externals; ++i) {
        std::string name;
        if (!in.Text(name))
            return false;
        r.externals.push_back(std::move(name));
    }
    for (size_t i = 0; i < pieces; ++i) {
        InsertedPiece p;
        size_t sizes[4] = {};
        if (!in.Line(line))
            return false;
        std::istringstream ps(line);
        if (!(ps >> word >> p.offset >> sizes[0] >> sizes[1] >> sizes[2] >> sizes[3]) ||
            word != "piece")
            return false;
        std::string sha;
        const bool shared = static_cast<bool>(ps >> sha);
        if (!in.Bytes(sizes[0], p.removed) || (!shared && !in.Bytes(sizes[1], p.inserted)) ||
            !in.Bytes(sizes[2], p.before) || !in.Bytes(sizes[3], p.after) || !in.Newline())
            return false;
        if (shared) {
            const fs::path file = SharedPiece(folder, sha);
            auto it = known.find(sha);
            if (it == known.end()) {
                SharedBytes read{ReadFileBytes(file), false};
                read.whole = read.bytes && Sha256Hex(*read.bytes) == sha;
                it = known.emplace(sha, std::move(read)).first;
            }
            const Result<std::string>& bytes = it->second.bytes;
            if (!bytes || bytes->size() != sizes[1] || !it->second.whole) {
                if (!bad)
                    bad = MakeError(PathText(file), 0,
                                    bytes ? "does not hold the code Pelto inserted (it was changed)"
                                          : "is missing: " + bytes.error().message);
            } else {
                p.inserted = *bytes;
            }
        }
        r.pieces.push_back(std::move(p));
    }
    return in.Line(line) && line == "end";
}

// The records of the file's text and the length up to the end of the last whole one.
Result<std::vector<AppliedRecord>> Parse(std::string_view text, const std::string& page,
                                         const fs::path& file, size_t* whole,
                                         const fs::path& folder) {
    Reader in(text);
    std::string line;
    std::string name;
    if (!in.Line(line) || line.rfind(kHeader, 0) != 0)
        return MakeError(PathText(file), 1, "is not a record of applied effects");
    const unsigned long long n = std::strtoull(line.c_str() + std::strlen(kHeader), nullptr, 10);
    if (!in.Bytes(n, name) || !in.Newline() || name != page)
        return MakeError(PathText(file), 1, "is the record of another page, not of " + page);
    std::vector<AppliedRecord> records;
    size_t good = in.pos();
    std::optional<Error> bad;
    SharedPieces pieces;
    while (!in.AtEnd()) {
        AppliedRecord r;
        if (!ReadEntry(in, r, folder, pieces, bad))
            break; // an entry cut short: the run that wrote it did not finish
        if (bad)
            return *bad;
        records.push_back(std::move(r));
        good = in.pos();
    }
    if (whole)
        *whole = good;
    return records;
}

} // namespace

fs::path AppliedRecordFile(const fs::path& folder, const std::string& page) {
    return folder / (Sha256Hex(page).substr(0, 32) + ".applied");
}

Status AppendApplied(const fs::path& folder, const std::string& page, const AppliedRecord& record) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path file = AppliedRecordFile(folder, page);
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return MakeError(PathText(file), 0,
                         std::string("cannot be written: ") + std::strerror(errno));
    std::string old;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        old.append(buffer, static_cast<size_t>(n));
    std::string out;
    size_t keep = 0;
    if (!old.empty()) {
        Result<std::vector<AppliedRecord>> read = Parse(old, page, file, &keep, folder);
        if (!read) {
            ::close(fd);
            return read.error();
        }
    } else {
        out = kHeader + std::to_string(page.size()) + "\n" + page + "\n";
    }
    for (const InsertedPiece& p : record.pieces) {
        if (p.inserted.size() < kSharedPiece)
            continue;
        const fs::path shared = SharedPiece(folder, Sha256Hex(p.inserted));
        if (fs::exists(shared, ec))
            continue;
        fs::create_directories(shared.parent_path(), ec);
        if (Status st = WriteFileAtomic(shared, p.inserted); !st) {
            ::close(fd);
            return st;
        }
    }
    out += Entry(record, true);
    // A tail left by a run cut short goes: the new entry follows the last whole one.
    bool ok = ::ftruncate(fd, static_cast<off_t>(keep)) == 0 &&
              ::lseek(fd, static_cast<off_t>(keep), SEEK_SET) >= 0;
    for (size_t done = 0; ok && done < out.size();) {
        const ssize_t n = ::write(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok)
        return MakeError(PathText(file), 0,
                         std::string("cannot be written: ") + std::strerror(err));
    if (old.empty())
        return SyncFolder(folder);
    return Status::Ok();
}

Result<std::vector<AppliedRecord>> ReadApplied(const fs::path& folder, const std::string& page) {
    const fs::path file = AppliedRecordFile(folder, page);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec)))
        return std::vector<AppliedRecord>{};
    Result<std::string> text = ReadFileBytes(file);
    if (!text)
        return text.error();
    return Parse(*text, page, file, nullptr, folder);
}

size_t AppliedRecordSize(const AppliedRecord& record) {
    return Entry(record, true).size();
}

std::string AppliedTimeNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

} // namespace pelto
