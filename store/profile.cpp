#include "store/profile.h"

#include "net/charset.h"
#include "store/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <unordered_map>

namespace zv {

namespace {

bool IsBlank(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// No write may put a line break into the file.
Text OneLine(std::string_view s) {
    Text out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// Leading bytes up to 0x20 are not part of an argument; neither are trailing blanks,
// which no name in the file can hold.
Text Argument(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return OneLine(s);
}

// Line ends, kept as they were.
enum class Eol : unsigned char { None, CrLf, Lf, Cr };

std::string_view EolText(Eol e) {
    switch (e) {
    case Eol::CrLf: return "\r\n";
    case Eol::Lf: return "\n";
    case Eol::Cr: return "\r";
    case Eol::None: break;
    }
    return {};
}

Eol EolOf(std::string_view e) {
    return e == "\r\n" ? Eol::CrLf : e == "\n" ? Eol::Lf : e == "\r" ? Eol::Cr : Eol::None;
}

// One line of the file; its name and value are places in its own bytes.
struct Line {
    enum Kind : unsigned char { Other, Key, Section };
    Text raw; // without its line end
    uint32_t nameAt = 0, nameLength = 0, valueAt = 0, valueLength = 0;
    Eol eol = Eol::None;
    Kind kind = Other;
    std::string_view name() const { return std::string_view(raw).substr(nameAt, nameLength); }
    std::string_view value() const { return std::string_view(raw).substr(valueAt, valueLength); }
};

// A value as a read gives it: blanks around it dropped, then one pair of enclosing quotes.
std::string_view ValueOf(std::string_view v) {
    v = Trim(v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// Parses raw (the line's bytes from skip on; the bytes before skip are kept, not read).
Line ParseLine(Text raw, Eol eol, size_t skip = 0) {
    Line l;
    l.raw = std::move(raw);
    l.eol = eol;
    const std::string_view all(l.raw);
    auto place = [&all](std::string_view part, uint32_t& at, uint32_t& length) {
        at = static_cast<uint32_t>(part.data() - all.data());
        length = static_cast<uint32_t>(part.size());
    };
    std::string_view s = all.substr(std::min(skip, all.size()));
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    if (s.empty() || s.front() == ';') return l;
    // A "[" without a "]" opens no section: the line is read as a key of the section before.
    if (s.front() == '[' && s.rfind(']') != std::string_view::npos) {
        std::string_view inner = s.substr(1);
        inner = inner.substr(0, inner.rfind(']'));
        l.kind = Line::Section;
        place(Trim(inner), l.nameAt, l.nameLength);
        return l;
    }
    const auto eq = s.find('=');
    l.kind = Line::Key;
    if (eq == std::string_view::npos) {
        place(Trim(s), l.nameAt, l.nameLength);
        return l;
    }
    place(Trim(s.substr(0, eq)), l.nameAt, l.nameLength);
    place(ValueOf(s.substr(eq + 1)), l.valueAt, l.valueLength);
    return l;
}

// A section's keys: few per section, so a short list beats a hash map.
struct KeyIndex {
    std::vector<std::pair<Text, size_t>> entries; // folded name -> first line with it
    using const_iterator = std::vector<std::pair<Text, size_t>>::const_iterator;
    const_iterator find(const Text& folded) const {
        for (auto it = entries.begin(); it != entries.end(); ++it)
            if (it->first == folded) return it;
        return entries.end();
    }
    const_iterator end() const { return entries.end(); }
    void emplace(Text folded, size_t line) {
        if (find(folded) == end()) entries.emplace_back(std::move(folded), line);
    }
};

struct Section {
    Line header;
    Text folded; // the name as the index knows it
    std::vector<Line> lines;
    KeyIndex keys;
    size_t afterLastKey = 0; // where a new key goes
};

bool IsUtf8Sequence(std::string_view s) {
    for (size_t i = 1; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return false;
    return true;
}

// What a file that starts with the UTF-8 byte-order mark holds is UTF-8; the callers speak
// GBK. A character GBK lacks reads as "?", as the Windows profile functions read it, so every
// name still reads as something the callers can hand back.
Text Utf8AsGbk(std::string_view utf8) {
    if (utf8.empty()) return {};
    Text whole = Utf8ToGbk(utf8);
    if (!whole.empty()) return whole;
    Text out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (i + n > utf8.size()) n = 1;
        const Text one = Utf8ToGbk(utf8.substr(i, n));
        if (one.empty()) {
            out += '?';
            // An invalid sequence costs one byte, a character GBK lacks all of its bytes.
            if (!(n > 1 && IsUtf8Sequence(utf8.substr(i, n)))) n = 1;
        } else {
            out += one;
        }
        i += n;
    }
    return out;
}

// A parsed profile file that writes back every untouched byte as it was.
struct Document {
    std::vector<Line> preamble;
    std::vector<Section> sections;
    std::unordered_map<Text, size_t> index; // folded name -> first section with it
    Eol eol = Eol::CrLf;
    bool utf8 = false; // the file starts with the byte-order mark

    // The file's bytes as the callers' GBK, and back; false when GBK text does not convert.
    Text Out(std::string_view fileText) const { return utf8 ? Utf8AsGbk(fileText) : Text(fileText); }
    bool In(const Text& gbk, Text& fileText) const {
        if (!utf8 || gbk.empty()) {
            fileText = gbk;
            return true;
        }
        fileText = GbkToUtf8(gbk);
        return !fileText.empty();
    }
    // The name under which the index knows a section or key named so in the file.
    Text Fold(std::string_view fileName) const { return LowerAscii(Out(fileName)); }

    void Reindex() {
        index.clear();
        for (size_t i = 0; i < sections.size(); ++i) index.emplace(sections[i].folded, i);
    }
    Section* FindFolded(const Text& folded) {
        auto it = index.find(folded);
        return it == index.end() ? nullptr : &sections[it->second];
    }
    Section* FindSection(const Text& name) { return FindFolded(LowerAscii(name)); }
};

void AddLine(Document& d, Line line) {
    if (line.kind == Line::Section) {
        Section s;
        s.header = std::move(line);
        s.folded = d.Fold(s.header.name());
        d.index.emplace(s.folded, d.sections.size());
        d.sections.push_back(std::move(s));
        return;
    }
    if (d.sections.empty()) {
        d.preamble.push_back(std::move(line));
        return;
    }
    Section& s = d.sections.back();
    if (line.kind == Line::Key) {
        s.keys.emplace(d.Fold(line.name()), s.lines.size());
        s.afterLastKey = s.lines.size() + 1;
    }
    s.lines.push_back(std::move(line));
}

Document Parse(std::string_view bytes) {
    Document d;
    d.utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    bool eolChosen = false;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t end = i;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        size_t next = end;
        if (next < bytes.size()) next += (bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n') ? 2 : 1;
        const Eol eol = EolOf(bytes.substr(end, next - end));
        if (!eolChosen && eol != Eol::None) {
            d.eol = eol;
            eolChosen = true;
        }
        // A file saved by an editor as UTF-8 may start with a byte-order mark; the first
        // line is read past it and written back with it.
        const size_t skip = (i == 0 && bytes.substr(0, 3) == "\xEF\xBB\xBF") ? 3 : 0;
        AddLine(d, ParseLine(Text(bytes.substr(i, end - i)), eol, skip));
        i = next;
    }
    return d;
}

Text Serialize(const Document& d) {
    Text out;
    auto put = [&out](const Line& l) {
        out += l.raw;
        out += EolText(l.eol);
    };
    for (const Line& l : d.preamble) put(l);
    for (const Section& s : d.sections) {
        put(s.header);
        for (const Line& l : s.lines) put(l);
    }
    return out;
}

// The last line of the document must end before anything is appended after it.
void EndLastLine(Document& d) {
    Line* last = nullptr;
    if (!d.sections.empty()) {
        Section& s = d.sections.back();
        last = s.lines.empty() ? &s.header : &s.lines.back();
    } else if (!d.preamble.empty()) {
        last = &d.preamble.back();
    }
    if (last && last->eol == Eol::None) last->eol = d.eol;
}

// A value goes into the file without the blanks around it, as Windows writes it; and as a
// value read back loses one pair of enclosing quotes, such a value gets another pair.
Text StoredValue(const Text& value) {
    Text v(Trim(OneLine(value)));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.front() + v + v.back();
    return v;
}

// False when a name or the value cannot be written in the file's character set.
bool SetValue(Document& d, const Text& section, const Text& key, const Text& value) {
    Text stored, sectionName, keyName;
    if (!d.In(StoredValue(value), stored) || !d.In(OneLine(section), sectionName) || !d.In(OneLine(key), keyName))
        return false;
    Section* s = d.FindSection(OneLine(section));
    if (!s) {
        EndLastLine(d);
        Section added;
        added.header = ParseLine("[" + sectionName + "]", d.eol);
        added.folded = d.Fold(added.header.name());
        d.index.emplace(added.folded, d.sections.size());
        d.sections.push_back(std::move(added));
        s = &d.sections.back();
    }
    auto it = s->keys.find(LowerAscii(OneLine(key)));
    if (it != s->keys.end()) {
        Line& l = s->lines[it->second];
        const auto eq = l.raw.find('=');
        l = ParseLine((eq == Text::npos ? l.raw : l.raw.substr(0, eq)) + "=" + stored, l.eol);
        return true;
    }
    Line l = ParseLine(keyName + "=" + stored, Eol::None);
    const size_t at = s->afterLastKey;
    Line& before = at == 0 ? s->header : s->lines[at - 1];
    if (before.eol == Eol::None) {
        // That line was the file's last one; the new line keeps its missing line end.
        before.eol = d.eol;
    } else {
        l.eol = before.eol;
    }
    // The line is known by the name it parses to, as the next reading of the file knows it:
    // a key holding "=" is found under the part before the first "=", and one that reads as
    // a comment under none.
    const bool isKey = l.kind == Line::Key;
    Text parsedName = isKey ? d.Fold(l.name()) : Text();
    if (at == s->lines.size())
        s->lines.push_back(std::move(l));
    else
        s->lines.insert(s->lines.begin() + static_cast<long>(at), std::move(l));
    if (isKey) {
        s->keys.emplace(std::move(parsedName), at);
        s->afterLastKey = at + 1;
    }
    return true;
}

bool RemoveSection(Document& d, const Text& section) {
    auto it = d.index.find(LowerAscii(section));
    if (it == d.index.end()) return false;
    d.sections.erase(d.sections.begin() + static_cast<long>(it->second));
    d.Reindex();
    return true;
}

struct FileStamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = -1;
    timespec mtime{};
    bool operator==(const FileStamp& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

enum class OnDisk { Missing, File, Unreadable };

OnDisk Stamp(const Text& path, FileStamp& st) {
    struct stat sb;
    if (::stat(path.c_str(), &sb) != 0) return errno == ENOENT || errno == ENOTDIR ? OnDisk::Missing : OnDisk::Unreadable;
    if (!S_ISREG(sb.st_mode)) return OnDisk::Unreadable;
    st.dev = sb.st_dev;
    st.ino = sb.st_ino;
    st.size = sb.st_size;
    st.mtime = sb.st_mtim;
    return OnDisk::File;
}

// A file changed again within the file system's timestamp granularity (two seconds on FAT,
// coarse on network file systems and older kernels) can show the same stamp with other
// bytes, so the stamp of a file this recent proves nothing.
bool RecentlyModified(const FileStamp& st) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return st.mtime.tv_sec >= now.tv_sec - 2;
}

// The parsed file and its bytes, kept while the file on disk is the one it was parsed from.
struct CacheEntry {
    FileStamp stamp;
    std::shared_ptr<Document> doc;
    Text bytes;
};

std::map<Text, CacheEntry>& Cache() {
    static std::map<Text, CacheEntry> cache;
    return cache;
}

// The document of the file as it is on disk now: an empty one when there is no file, none
// when there is one that cannot be read.
std::shared_ptr<Document> Load(const Text& path) {
    FileStamp st;
    const OnDisk state = Stamp(path, st);
    auto& cache = Cache();
    if (state != OnDisk::File) {
        cache.erase(path);
        return state == OnDisk::Missing ? std::make_shared<Document>() : nullptr;
    }
    auto it = cache.find(path);
    const bool stampHolds = it != cache.end() && it->second.stamp == st;
    if (stampHolds && !RecentlyModified(st)) return it->second.doc;
    Text bytes;
    if (!ReadRegularFile(path, bytes)) {
        cache.erase(path);
        return nullptr;
    }
    if (stampHolds && bytes == it->second.bytes) return it->second.doc;
    auto doc = std::make_shared<Document>(Parse(bytes));
    FileStamp after;
    // Only a file that did not change while it was read is worth keeping.
    if (Stamp(path, after) == OnDisk::File && after == st)
        cache[path] = CacheEntry{st, doc, std::move(bytes)};
    else
        cache.erase(path);
    return doc;
}

std::shared_ptr<Document> LoadOrEmpty(const Text& path) {
    auto doc = Load(path);
    return doc ? doc : std::make_shared<Document>();
}

} // namespace

namespace {

enum class Change { None, Made, Failed };

// Applies a change to the document of the file and writes it. The change is made in place
// (nothing else holds the document between calls); when the write fails the document is
// dropped, so the next read sees the file as it is on disk. A file that is there but cannot
// be read is never written: what it holds would be lost.
template <typename Edit>
bool Modify(const Text& rawPath, Access access, Edit edit) {
    const Text path = Argument(rawPath);
    if (path.empty()) return false;
    auto doc = Load(path);
    if (!doc) return false;
    const Change change = edit(*doc);
    if (change == Change::None) return true;
    Text bytes = change == Change::Made ? Serialize(*doc) : Text();
    if (change == Change::Failed || !ReplaceFile(path, bytes, access)) {
        Cache().erase(path);
        return false;
    }
    FileStamp st;
    if (Stamp(path, st) == OnDisk::File)
        Cache()[path] = CacheEntry{st, doc, std::move(bytes)};
    else
        Cache().erase(path);
    return true;
}

} // namespace

Text ReadProfileValue(const Text& rawPath, const Text& rawSection, const Text& rawKey) {
    const Text path = Argument(rawPath), section = Argument(rawSection), key = Argument(rawKey);
    if (path.empty() || section.empty() || key.empty()) return {};
    auto doc = LoadOrEmpty(path);
    Section* s = doc->FindSection(section);
    if (!s) return {};
    auto it = s->keys.find(LowerAscii(key));
    if (it == s->keys.end()) return {};
    return doc->Out(s->lines[it->second].value()).substr(0, kMaxProfileValue);
}

bool WriteProfileValue(const Text& path, const Text& section, const Text& key, const Text& value, Access access) {
    return WriteProfileValues(path, {ProfileWrite{section, key, value}}, access);
}

bool WriteProfileValues(const Text& path, const std::vector<ProfileWrite>& writes, Access access) {
    return Modify(path, access, [&writes](Document& d) {
        d.sections.reserve(d.sections.size() + writes.size());
        d.index.reserve(d.sections.size() + writes.size());
        Change change = Change::None;
        for (const auto& [rawSection, rawKey, value] : writes) {
            const Text section = Argument(rawSection), key = Argument(rawKey);
            if (section.empty() || key.empty()) continue;
            if (!SetValue(d, section, key, value)) return Change::Failed;
            change = Change::Made;
        }
        return change;
    });
}

bool DeleteProfileSection(const Text& path, const Text& rawSection) {
    const Text section = Argument(rawSection);
    if (section.empty()) return false;
    return Modify(path, Access::AsBefore,
                  [&section](Document& d) { return RemoveSection(d, section) ? Change::Made : Change::None; });
}

namespace {
// The sections a listing can hold: each name with its zero byte, and one final zero byte.
// A section with an empty name is never listed.
template <typename Each>
void ForListedSections(const Document& doc, Each each) {
    size_t used = 1;
    for (const Section& s : doc.sections) {
        if (s.header.nameLength == 0) continue;
        Text name = doc.Out(s.header.name());
        used += name.size() + 1;
        if (used > kSectionListBuffer) break;
        each(s, std::move(name));
    }
}

Text ValueIn(const Document& doc, const Section& listed, const Text& foldedKey) {
    // With duplicate sections the first one counts.
    auto it = doc.index.find(listed.folded);
    if (it == doc.index.end()) return {};
    const Section& s = doc.sections[it->second];
    auto k = s.keys.find(foldedKey);
    if (k == s.keys.end()) return {};
    return doc.Out(s.lines[k->second].value()).substr(0, kMaxProfileValue);
}
} // namespace

TextList ListProfileSections(const Text& rawPath) {
    TextList out;
    const Text path = Argument(rawPath);
    if (path.empty()) return out;
    auto doc = LoadOrEmpty(path);
    ForListedSections(*doc, [&out](const Section&, Text name) { out.push_back(std::move(name)); });
    return out;
}

std::vector<SectionValues> ReadProfileSectionValues(const Text& rawPath, const TextList& keys) {
    std::vector<SectionValues> out;
    const Text path = Argument(rawPath);
    if (path.empty()) return out;
    auto doc = LoadOrEmpty(path);
    TextList folded;
    for (const Text& k : keys) folded.push_back(LowerAscii(Argument(k)));
    ForListedSections(*doc, [&](const Section& s, Text name) {
        SectionValues row{std::move(name), {}};
        row.values.reserve(folded.size());
        for (const Text& k : folded)
            row.values.push_back(k.empty() ? Text() : ValueIn(*doc, s, k));
        out.push_back(std::move(row));
    });
    return out;
}

} // namespace zv
