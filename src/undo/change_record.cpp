#include "undo/change_record.h"

#include <charconv>
#include <cstdio>

namespace pelto {

namespace {

// Fields are separated by tabs and lines by LF; a path may hold either, so both (and the
// escape sign itself) are written as %XX.
std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '%':
            out += "%25";
            break;
        case '\t':
            out += "%09";
            break;
        case '\n':
            out += "%0A";
            break;
        case '\r':
            out += "%0D";
            break;
        default:
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

template <class T> bool ParseWhole(std::string_view text, T& value, int base = 10) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size();
}

// An absolute path in its normal form: no ".", "..", empty or trailing parts.
bool IsNormalAbsolute(const std::string& text) {
    const std::filesystem::path p(text);
    return !text.empty() && p.is_absolute() && p.has_filename() &&
           p.lexically_normal().native() == text && text.find("//") == std::string::npos;
}

bool IsSha(std::string_view text) {
    if (text.size() != 64)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

std::string ManifestHeader(const std::string& time, const std::string& scriptId,
                           const std::string& effectName, const std::string& option) {
    return "pelto-change\t1\ntime\t" + Escape(time) + "\neffect\t" + Escape(scriptId) + "\t" +
           Escape(effectName) + "\noption\t" + Escape(option) + "\n";
}

std::string ManifestPageLine(const std::string& page) {
    return "page\t" + Escape(page) + "\n";
}

std::string ManifestFileLine(const ChangedFile& f) {
    char mode[16];
    std::snprintf(mode, sizeof mode, "%o", f.mode);
    return "file\t" + std::to_string(f.number) + "\t" + Escape(f.path) + "\t" + mode + "\t" +
           (f.existed ? std::to_string(f.beforeSize) + "\t" + f.beforeSha : "-\t-") + "\t" +
           std::to_string(f.afterSize) + "\t" + f.afterSha + "\n";
}

std::string ManifestAfterLine(int number, uint64_t size, const std::string& sha) {
    return "after\t" + std::to_string(number) + "\t" + std::to_string(size) + "\t" + sha + "\n";
}

Result<ChangeInfo> ParseManifest(const std::string& text, const std::string& where) {
    ChangeInfo info;
    size_t start = 0;
    long lineNo = 0;
    bool first = true;
    // A last line without its LF was cut short while being written: ignored.
    for (size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1) {
        ++lineNo;
        std::string_view line(text.data() + start, lf - start);
        std::vector<std::string_view> f = Fields(line);
        auto bad = [&](const std::string& what) {
            return MakeError(where, lineNo, "is not a change record line: " + what);
        };
        if (first) {
            if (f.size() != 2 || f[0] != "pelto-change" || f[1] != "1")
                return bad("expected \"pelto-change 1\"");
            first = false;
        } else if (f[0] == "time" && f.size() == 2) {
            info.time = Unescape(f[1]);
        } else if (f[0] == "effect" && f.size() == 3) {
            info.scriptId = Unescape(f[1]);
            info.effectName = Unescape(f[2]);
        } else if (f[0] == "option" && f.size() == 2) {
            info.option = Unescape(f[1]);
        } else if (info.complete) {
            return bad("a line after \"end\"");
        } else if (f[0] == "page" && f.size() == 2) {
            info.pages.push_back(Unescape(f[1]));
            if (!IsNormalAbsolute(info.pages.back()))
                return bad("the page \"" + info.pages.back() +
                           "\" is not an absolute, normalised path");
        } else if (f[0] == "file" && f.size() == 8) {
            ChangedFile cf;
            cf.path = Unescape(f[2]);
            cf.existed = f[4] != "-";
            if (!ParseWhole(f[1], cf.number) || !ParseWhole(f[3], cf.mode, 8) ||
                (cf.existed && !ParseWhole(f[4], cf.beforeSize)) || !ParseWhole(f[6], cf.afterSize))
                return bad("a number is damaged");
            if (cf.existed)
                cf.beforeSha = std::string(f[5]);
            cf.afterSha = std::string(f[7]);
            if (cf.number < 1 || (cf.existed && !IsSha(cf.beforeSha)) || !IsSha(cf.afterSha))
                return bad("a number or a SHA-256 is damaged");
            if (!IsNormalAbsolute(cf.path))
                return bad("the file \"" + cf.path + "\" is not an absolute, normalised path");
            // Every file a change writes lies beside one of its pages.
            const std::string folder = std::filesystem::path(cf.path).parent_path().native();
            bool beside = false;
            for (const std::string& page : info.pages)
                beside = beside || std::filesystem::path(page).parent_path().native() == folder;
            if (!beside)
                return bad("the file \"" + cf.path + "\" lies beside none of the change's pages");
            for (const ChangedFile& other : info.files)
                if (other.number == cf.number || other.path == cf.path)
                    return bad("file " + std::to_string(cf.number) + " is listed twice");
            info.files.push_back(std::move(cf));
        } else if (f[0] == "after" && f.size() == 4) {
            int number = 0;
            uint64_t size = 0;
            if (!ParseWhole(f[1], number) || !ParseWhole(f[2], size) || !IsSha(f[3]))
                return bad("a number or a SHA-256 is damaged");
            bool found = false;
            for (ChangedFile& cf : info.files)
                if (cf.number == number) {
                    cf.afterSize = size;
                    cf.afterSha = std::string(f[3]);
                    found = true;
                }
            if (!found)
                return bad("names file " + std::to_string(number) + ", which it does not list");
        } else if (f[0] == "end" && f.size() == 1) {
            info.complete = true;
        } else {
            return bad("unknown \"" + std::string(f[0]) + "\"");
        }
    }
    if (first)
        return MakeError(where, 0, "is empty or cut short");
    return info;
}

std::filesystem::path BeforeBlob(const std::filesystem::path& changeFolder, int number) {
    return changeFolder / (std::to_string(number) + ".before");
}

} // namespace pelto
