#include "attach/output_folder.h"

#include "common/files.h"
#include "expansion/placeholder.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pelto {

namespace fs = std::filesystem;

Status ClearOutputFolder(const Workspace& ws) {
    return ClearOutputFolder(ws.OutputFolder());
}

Status ClearOutputFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return MakeError(PathText(folder), 0, "cannot be created: " + ec.message());
    Result<std::vector<fs::path>> files = FolderFiles(folder);
    if (!files)
        return files.error();
    for (const fs::path& f : *files) {
        fs::remove(f, ec);
        if (ec)
            return MakeError(PathText(f), 0, "cannot be deleted: " + ec.message());
    }
    return Status::Ok();
}

bool IsPictureName(const std::string& name) {
    std::string upper;
    upper.reserve(name.size());
    for (char c : name)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    for (std::string_view end : {"GIF", "JPG", "JPEG", "PNG", "ICO", "BMP", "WEBP"})
        if (upper.size() >= end.size() &&
            upper.compare(upper.size() - end.size(), end.size(), end) == 0)
            return true;
    return false;
}

namespace {

// True when every CR of the text is followed by an LF: its lines then stand in it as
// they are written out, and the lines without a placeholder can be copied in bulk.
bool OnlyCrLfBreaks(std::string_view bytes) {
    const size_t n = bytes.size();
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: every CR must have an LF behind it.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 17 <= n; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        const int crs = _mm_movemask_epi8(_mm_cmpeq_epi8(here, cr));
        const int lfs = _mm_movemask_epi8(_mm_cmpeq_epi8(next, lf));
        if ((crs & ~lfs) != 0)
            return false;
    }
#endif
    for (size_t cr = bytes.find('\r', i); cr != std::string_view::npos;
         cr = bytes.find('\r', cr + 2))
        if (cr + 1 >= n || bytes[cr + 1] != '\n')
            return false;
    return true;
}

// The general way: line by line.
std::string ExpandLines(Workspace& ws, std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    size_t budget = ExpansionBudget(bytes.size()); // for the whole file, not per line
    size_t start = 0;
    while (start < bytes.size()) {
        // A line ends at CR LF or at a lone CR; a lone LF stays inside the line.
        size_t cr = bytes.find('\r', start);
        size_t end = cr == std::string_view::npos ? bytes.size() : cr;
        std::string_view line = bytes.substr(start, end - start);
        if (line.find(kOpeningMark) == std::string_view::npos)
            out.append(line);
        else
            out += ExpandLine(ws, line, budget);
        out += "\r\n";
        if (cr == std::string_view::npos)
            break;
        start = cr + 1;
        if (start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    out += "\r\n";
    return out;
}

} // namespace

std::string ExpandText(Workspace& ws, std::string_view bytes) {
    if (!OnlyCrLfBreaks(bytes))
        return ExpandLines(ws, bytes);
    // Every line ends in CR LF (but perhaps the last): copy the stretches between the
    // lines that hold a placeholder as they are, and expand those lines.
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 4);
    size_t budget = ExpansionBudget(bytes.size()); // for the whole file, not per line
    size_t copied = 0;                             // bytes[0, copied) are done
    size_t mark = bytes.find(kOpeningMark);
    while (mark != std::string_view::npos) {
        const size_t lineStart = mark == 0 ? 0 : bytes.rfind('\r', mark - 1) + 1;
        const size_t start = lineStart == 0 ? 0 : lineStart + 1; // behind the CR LF
        const size_t cr = bytes.find('\r', mark);
        const size_t end = cr == std::string_view::npos ? bytes.size() : cr;
        out.append(bytes.substr(copied, start - copied));
        out += ExpandLine(ws, bytes.substr(start, end - start), budget);
        out += "\r\n";
        copied = cr == std::string_view::npos ? bytes.size() : cr + 2;
        mark = bytes.find(kOpeningMark, copied);
    }
    out.append(bytes.substr(copied));
    const bool endsInBreak = bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n";
    if (copied < bytes.size() && !endsInBreak)
        out += "\r\n"; // the last line had no line end
    out += "\r\n";
    return out;
}

std::string TextParts::Join() const {
    size_t size = 0;
    for (std::string_view p : parts)
        size += p.size();
    std::string out;
    out.reserve(size);
    for (std::string_view p : parts)
        out.append(p);
    return out;
}

namespace {

// Every CR of the parts' text has an LF behind it, also where a part ends in the CR.
bool OnlyCrLfBreaks(const std::vector<std::string_view>& parts) {
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string_view p = parts[i];
        if (p.empty() || p.back() != '\r') {
            if (!OnlyCrLfBreaks(p))
                return false;
            continue;
        }
        if (!OnlyCrLfBreaks(p.substr(0, p.size() - 1)))
            return false;
        size_t next = i + 1;
        while (next < parts.size() && parts[next].empty())
            ++next;
        if (next == parts.size() || parts[next][0] != '\n')
            return false;
    }
    return true;
}

// Collects the output: adjacent views of the same bytes are joined into one.
class PartsOut {
public:
    explicit PartsOut(TextParts& out) : out_(out) {}
    void View(std::string_view v) {
        if (v.empty())
            return;
        std::vector<std::string_view>& parts = out_.parts;
        if (!parts.empty() && parts.back().data() + parts.back().size() == v.data())
            parts.back() = std::string_view(parts.back().data(), parts.back().size() + v.size());
        else
            parts.push_back(v);
    }
    void Own(std::string text) {
        out_.owned.push_back(std::move(text));
        View(out_.owned.back());
    }

private:
    TextParts& out_;
};

} // namespace

TextParts ExpandParts(Workspace& ws, const std::vector<std::string_view>& parts) {
    TextParts result;
    if (!OnlyCrLfBreaks(parts)) {
        std::string joined;
        for (std::string_view p : parts)
            joined.append(p);
        result.owned.push_back(ExpandText(ws, joined));
        result.parts.push_back(result.owned.back());
        return result;
    }
    size_t total = 0;
    for (std::string_view p : parts)
        total += p.size();
    size_t budget = ExpansionBudget(total); // for the whole text, as ExpandText has it
    PartsOut out(result);
    // A line that runs over the end of a part is carried over as a copy (lines are short;
    // the long stretches between them stay views).
    std::string carry;
    bool carrying = false;
    enum class Lf { None, Keep, Skip } lf = Lf::None; // the LF of a CR that ended a part
    auto endLine = [&](std::string_view line) {
        if (line.find(kOpeningMark) == std::string_view::npos)
            out.Own(std::string(line) + "\r\n");
        else
            out.Own(ExpandLine(ws, line, budget) + "\r\n");
    };
    for (std::string_view p : parts) {
        if (p.empty())
            continue;
        size_t pos = 0;
        if (lf != Lf::None) { // the part starts with the LF (checked above)
            if (lf == Lf::Keep)
                out.View(p.substr(0, 1));
            lf = Lf::None;
            pos = 1;
        }
        if (carrying) {
            const size_t cr = p.find('\r', pos);
            if (cr == std::string_view::npos) {
                carry.append(p.substr(pos));
                continue;
            }
            carry.append(p.substr(pos, cr - pos));
            endLine(carry);
            carry.clear();
            carrying = false;
            pos = cr + 2;
            if (pos > p.size()) {
                lf = Lf::Skip;
                continue;
            }
        }
        while (pos < p.size()) {
            const size_t mark = p.find(kOpeningMark, pos);
            const size_t stop = mark == std::string_view::npos ? p.size() : mark;
            // Whole lines before the one that holds stop go out as they stand.
            const size_t lastCr = p.substr(0, stop).rfind('\r');
            size_t lineStart = pos;
            if (lastCr != std::string_view::npos && lastCr >= pos) {
                lineStart = std::min(lastCr + 2, p.size());
                out.View(p.substr(pos, lineStart - pos));
                if (lastCr + 1 == p.size())
                    lf = Lf::Keep;
            }
            if (mark == std::string_view::npos) {
                if (lineStart < p.size()) {
                    carry.assign(p.substr(lineStart));
                    carrying = true;
                }
                break;
            }
            const size_t cr = p.find('\r', mark);
            if (cr == std::string_view::npos) {
                carry.assign(p.substr(lineStart));
                carrying = true;
                break;
            }
            endLine(p.substr(lineStart, cr - lineStart));
            pos = cr + 2;
            if (pos > p.size())
                lf = Lf::Skip;
        }
    }
    if (carrying)
        endLine(carry); // the last line had no line end
    out.Own("\r\n");
    return result;
}

Status ExpandFile(Workspace& ws, const fs::path& path) {
    if (IsPictureName(path.filename().string()))
        return Status::Ok();
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return bytes.error();
    if (bytes->find('\0') != std::string::npos)
        return Status::Ok(); // binary: line expansion would corrupt it
    return WriteFileBytes(path, ExpandText(ws, *bytes));
}

Status ExpandOutputFolder(Workspace& ws) {
    Result<std::vector<fs::path>> files = FolderFiles(ws.OutputFolder());
    if (!files)
        return files.error();
    for (const fs::path& f : *files)
        if (Status st = ExpandFile(ws, f); !st)
            return st;
    return Status::Ok();
}

fs::path CopyPagePath(const fs::path& page) {
    std::string name = page.filename().string();
    size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        name += "_1";
    else
        name.insert(dot, "_1");
    return page.parent_path() / name;
}

} // namespace pelto
