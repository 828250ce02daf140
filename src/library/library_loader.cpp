#include "library/library_loader.h"

#include "common/file_text.h"
#include "common/files.h"
#include "common/numbers.h"
#include "common/scramble.h"
#include "common/text.h"

#include <algorithm>

namespace pelto {

namespace fs = std::filesystem;

Status LoadHandlerTexts(Workspace& ws) {
    struct Target {
        const char* file;
        std::string* text;
    };
    const Target targets[] = {{"mousehandler.js", &ws.MouseHandlerText},
                              {"onloadhandler.js", &ws.OnloadHandlerText},
                              {"onresizehandler.js", &ws.OnresizeHandlerText},
                              {"onscrollhandler.js", &ws.OnscrollHandlerText}};
    std::string texts[4];
    for (int i = 0; i < 4; ++i) {
        auto bytes = ReadFileBytes(ws.DataFolder() / targets[i].file);
        if (!bytes)
            return MakeError(PathText(ws.DataFolder() / targets[i].file), 0,
                             "the handler file is missing or unreadable (" + bytes.error().message +
                                 ")");
        texts[i] = std::move(*bytes);
    }
    for (int i = 0; i < 4; ++i)
        *targets[i].text = std::move(texts[i]);
    return Status::Ok();
}

namespace {

// Reads the comma-delimited fields of the item list: fields end at a comma or a line
// end; blanks before a field are skipped; a field that starts with a double quote runs
// to the next double quote.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    long Line() const { return line_; }

    std::optional<std::string> Next() {
        SkipBlanks(afterLineEnd_);
        if (AtEnd())
            return std::nullopt;
        std::string field;
        if (text_[pos_] == '"') {
            size_t close = text_.find('"', pos_ + 1);
            size_t end = close == std::string_view::npos ? text_.size() : close;
            field.assign(text_.substr(pos_ + 1, end - pos_ - 1));
            CountLines(pos_, end);
            pos_ = close == std::string_view::npos ? text_.size() : close + 1;
            // Anything between the closing quote and the delimiter is dropped.
            while (!AtEnd() && text_[pos_] != ',' && text_[pos_] != '\r' && text_[pos_] != '\n')
                ++pos_;
        } else {
            size_t start = pos_;
            while (!AtEnd() && text_[pos_] != ',' && text_[pos_] != '\r' && text_[pos_] != '\n')
                ++pos_;
            field.assign(text_.substr(start, pos_ - start));
            while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
                field.pop_back();
        }
        afterLineEnd_ = false;
        if (!AtEnd()) {
            if (text_[pos_] == ',') {
                ++pos_;
            } else {
                SkipLineEnd();
                afterLineEnd_ = true;
            }
        }
        return field;
    }

private:
    void SkipLineEnd() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
            ++pos_;
        ++pos_;
        ++line_;
    }
    void SkipBlanks(bool lineEnds) {
        while (!AtEnd()) {
            char c = text_[pos_];
            if (c == ' ' || c == '\t')
                ++pos_;
            else if (lineEnds && (c == '\r' || c == '\n'))
                SkipLineEnd();
            else
                break;
        }
    }
    void CountLines(size_t from, size_t to) {
        for (size_t i = from; i < to && i < text_.size(); ++i)
            if (text_[i] == '\n')
                ++line_;
    }

    std::string_view text_;
    size_t pos_ = 0;
    long line_ = 9;
    bool afterLineEnd_ = true;
};

// The first eight lines of a header and the byte offset behind them.
bool TakeLines(std::string_view text, int count, std::vector<std::string>& lines, size_t& rest) {
    size_t pos = 0;
    while (static_cast<int>(lines.size()) < count) {
        if (pos >= text.size())
            return false;
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(pos));
            pos = text.size();
        } else {
            lines.emplace_back(text.substr(pos, end - pos));
            pos = end +
                  ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        }
    }
    rest = pos;
    return true;
}

bool EndsWithHdr(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return ext == ".hdr";
}

} // namespace

Result<ScriptRecord> ReadScriptHeader(const std::string& fileText, const std::string& headerName) {
    const std::string plainText = FileTextToUtf8(fileText);
    std::vector<std::string> lines;
    size_t rest = 0;
    if (!TakeLines(plainText, 8, lines, rest))
        return MakeError(headerName, static_cast<long>(lines.size()) + 1,
                         "the header ends before its eight lines are complete");
    ScriptRecord r;
    r.HeaderFile = headerName;
    r.ScriptId = lines[0];
    r.IdPrefix = std::string(TrimBlanks(lines[1]));
    auto stride = ToInt16(LeadingNumber(lines[2]));
    if (!stride)
        return MakeError(headerName, 3, "the variable number stride is outside the 16-bit range");
    r.IdStride = *stride;
    r.Name = lines[3];
    r.Description = lines[4];
    r.Category = lines[5];
    if (!ParseInt32(lines[6]))
        return MakeError(headerName, 7, "line 7 must be a whole number, not \"" + lines[6] + "\"");
    double countRead = LeadingNumber(lines[7]);
    auto count = ToInt16(countRead);
    if (!count || *count < 0)
        return MakeError(headerName, 8,
                         "the item count \"" + lines[7] + "\" is not a count from 0 to 32767");
    r.ItemCount = FormatNumber(countRead);
    r.ParameterFile =
        headerName.size() >= 3 ? headerName.substr(0, headerName.size() - 3) + "par" : "par";
    FieldReader fields(std::string_view(plainText).substr(rest));
    const size_t slots = static_cast<size_t>(*count) + 1;
    r.ItemLocation.reserve(slots);
    r.ItemCodeFile.reserve(slots);
    r.ItemExternalName.reserve(slots);
    r.ItemInclude.reserve(slots);
    r.ItemOnce.reserve(slots);
    for (int k = 1; k <= *count; ++k) {
        std::string f[5];
        const long itemLine = fields.Line();
        for (int j = 0; j < 5; ++j) {
            auto v = fields.Next();
            if (!v)
                return MakeError(headerName, fields.Line(),
                                 "the header ends before item " + std::to_string(k) + " of " +
                                     std::to_string(*count) + " is complete");
            f[j] = std::move(*v);
        }
        auto include = ParseInt16(f[3]);
        auto once = ParseInt16(f[4]);
        if (!include || !once)
            return MakeError(headerName, itemLine,
                             "item " + std::to_string(k) +
                                 ": the include and once flags must be 16-bit whole numbers");
        r.ItemLocation.push_back(std::move(f[0]));
        r.ItemCodeFile.push_back(std::move(f[1]));
        r.ItemExternalName.push_back(std::move(f[2]));
        r.ItemInclude.push_back(*include);
        r.ItemOnce.push_back(*once);
    }
    return r;
}

namespace {

LibraryLoadReport LoadHeaders(Workspace& ws, const std::string* upTo) {
    LibraryLoadReport report;
    fs::path data = ws.DataFolder();
    std::error_code ec;
    if (!fs::is_directory(data, ec)) {
        report.fatal = MakeError(PathText(data), 0, "the data folder is missing");
        return report;
    }
    auto files = FolderFiles(data);
    if (!files) {
        report.fatal = files.error();
        return report;
    }
    // A stable order (the file names', as a sorted listing gives them) so that the
    // categories and scripts appear the same way on every machine.
    std::vector<std::string> names;
    for (const fs::path& file : *files) {
        std::string name = file.filename().string();
        if (name[0] != '.' && EndsWithHdr(name))
            names.push_back(std::move(name));
    }
    ws.Library.assign(1, ScriptRecord{});
    std::string lastPlain;
    bool any = false;
    for (const auto& name : names) {
        if (ws.Library.size() > 32767) {
            report.skipped.push_back(
                MakeError(PathText(data / name), 0, "the library holds more than 32767 scripts"));
            continue;
        }
        auto plain = ReadScrambledFile(data / name);
        if (!plain) {
            report.skipped.push_back(plain.error());
            continue;
        }
        auto record = ReadScriptHeader(*plain, name);
        lastPlain = std::move(*plain);
        any = true;
        if (!record) {
            Error e = record.error();
            e.file = PathText(data / name);
            report.skipped.push_back(e);
            continue;
        }
        const bool found = upTo && record->ScriptId == *upTo;
        ws.Library.push_back(std::move(*record));
        if (found)
            break;
    }
    if (any)
        (void)WriteFileBytes(ws.WorkFile(), lastPlain); // the work file is informational
    return report;
}

} // namespace

LibraryLoadReport LoadScriptLibrary(Workspace& ws) {
    return LoadHeaders(ws, nullptr);
}

LibraryLoadReport LoadScriptLibraryUpTo(Workspace& ws, const std::string& scriptId) {
    return LoadHeaders(ws, &scriptId);
}

void BuildCategoryList(Workspace& ws) {
    if (ws.Library.size() < 2)
        return;
    for (size_t i = 1; i < ws.Library.size(); ++i) {
        const std::string& c = ws.Library[i].Category;
        if (std::find(ws.CategoryList.begin() + 1, ws.CategoryList.end(), c) ==
            ws.CategoryList.end())
            ws.CategoryList.push_back(c);
    }
}

} // namespace pelto
