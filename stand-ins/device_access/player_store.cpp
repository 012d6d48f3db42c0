#include "stand-ins/device_access/player_store.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "device/property_ids.h"
#include "platform/codepage.h"
#include "stand-ins/device_access/standin_results.h"

namespace standin {

namespace {

constexpr const char* kIndexMagic = "pellmark-player-index 2";
constexpr const char* kJournalMagic = "pellmark-player-journal 1";

// FNV-1a, 64 bits: enough to tell a complete index from a torn one.
uint64_t Hash(const char* data, size_t n) {
  uint64_t h = 14695981039346656037ull;
  for (size_t i = 0; i < n; ++i) {
    h ^= static_cast<unsigned char>(data[i]);
    h *= 1099511628211ull;
  }
  return h;
}

std::string HashText(uint64_t h) {
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

// Values are written as <type>:<text>, with every byte outside '!'..'~' and
// the bytes '%' and '=' as %XX, so a value never holds a separator.
std::string Escape(const std::string& bytes) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x21 || c > 0x7E || c == '%' || c == '=') {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Unescape(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

std::string EncodeValue(const PropertyValue& v) {
  if (auto* s = std::get_if<std::u16string>(&v)) return "s:" + Escape(sys::Utf8FromUtf16(*s));
  if (auto* u = std::get_if<uint32_t>(&v)) return "u:" + std::to_string(*u);
  if (auto* i = std::get_if<int64_t>(&v)) return "i:" + std::to_string(*i);
  if (auto* b = std::get_if<std::vector<uint8_t>>(&v)) {
    std::string raw(b->begin(), b->end());
    std::string hexText;
    static const char* hex = "0123456789abcdef";
    for (unsigned char c : raw) {
      hexText += hex[c >> 4];
      hexText += hex[c & 15];
    }
    return "b:" + hexText;
  }
  return "e:";
}

bool DecodeValue(const std::string& text, PropertyValue& v) {
  if (text.size() < 2 || text[1] != ':') return false;
  const std::string body = text.substr(2);
  try {
    switch (text[0]) {
      case 's': {
        std::string raw;
        if (!Unescape(body, raw)) return false;
        v = sys::Utf16FromUtf8(raw);
        return true;
      }
      case 'u': {
        size_t used = 0;
        unsigned long long n = std::stoull(body, &used);
        if (used != body.size() || n > 0xFFFFFFFFull) return false;
        v = static_cast<uint32_t>(n);
        return true;
      }
      case 'i': {
        size_t used = 0;
        long long n = std::stoll(body, &used);
        if (used != body.size()) return false;
        v = static_cast<int64_t>(n);
        return true;
      }
      case 'b': {
        if (body.size() % 2) return false;
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i < body.size(); i += 2) {
          const int hi = HexDigit(body[i]), lo = HexDigit(body[i + 1]);
          if (hi < 0 || lo < 0) return false;
          bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
        }
        v = std::move(bytes);
        return true;
      }
      case 'e':
        v = std::monostate{};
        return body.empty();
      default:
        return false;
    }
  } catch (...) {
    return false;
  }
}

void WriteProperties(std::ostringstream& out, const PropertyMap& props) {
  for (const auto& [id, value] : props) {
    char key[16];
    std::snprintf(key, sizeof key, "%x", id);
    out << ' ' << key << '=' << EncodeValue(value);
  }
}

bool ReadProperties(std::istringstream& in, PropertyMap& props) {
  std::string field;
  while (in >> field) {
    const size_t eq = field.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    uint32_t id = 0;
    try {
      size_t used = 0;
      unsigned long n = std::stoul(field.substr(0, eq), &used, 16);
      if (used != eq || n > 0xFFFFFFFFul) return false;
      id = static_cast<uint32_t>(n);
    } catch (...) {
      return false;
    }
    PropertyValue v;
    if (!DecodeValue(field.substr(eq + 1), v)) return false;
    props[id] = std::move(v);
  }
  return true;
}

bool ReadWholeFile(const sys::Path& path, std::string& text) {
  std::FILE* f = sys::OpenStdioFile(path, "rb");
  if (!f) return false;
  char buffer[65536];
  size_t n;
  text.clear();
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace

std::string PlayerStore::TrackFileName(uint32_t id) {
  char name[48];
  std::snprintf(name, sizeof name, "%05u/track-%08u.kvx", id / kTracksPerFolder, id);
  return name;
}

std::vector<std::string> PlayerStore::FilesInTracksFolder(const sys::Path& tracksFolder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(tracksFolder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec)) continue;
    const auto name = it->path().lexically_relative(tracksFolder).generic_u8string();
    names.emplace_back(name.begin(), name.end());
  }
  return names;
}

StoredAlbum* PlayerStore::album(uint32_t id) {
  for (auto& a : albums_) {
    if (a.id == id) return &a;
  }
  return nullptr;
}

StoredTrack* PlayerStore::track(uint32_t id) {
  auto it = tracks_.find(id);
  return it == tracks_.end() ? nullptr : &it->second;
}

bool PlayerStore::isAlbum(uint32_t id) const {
  return std::any_of(albums_.begin(), albums_.end(), [id](const StoredAlbum& a) { return a.id == id; });
}

uint32_t PlayerStore::albumOf(uint32_t trackId) const {
  for (const auto& a : albums_) {
    if (std::find(a.tracks.begin(), a.tracks.end(), trackId) != a.tracks.end()) return a.id;
  }
  return 0;
}

void PlayerStore::recountUsedBytes() {
  usedBytes_ = 0;
  for (const auto& [id, t] : tracks_) usedBytes_ += t.fileBytes;
}

int64_t PlayerStore::albumPlayTime(const StoredAlbum& a) const {
  int64_t sum = 0;
  for (uint32_t id : a.tracks) {
    auto it = tracks_.find(id);
    if (it == tracks_.end()) continue;
    auto p = it->second.properties.find(device::kPropPlayTime);
    if (p != it->second.properties.end()) {
      if (auto* ms = std::get_if<int64_t>(&p->second)) sum += *ms;
    }
  }
  return sum;
}

StoredAlbum& PlayerStore::addAlbum(uint32_t id) {
  albums_.push_back(StoredAlbum{id, {}, {}});
  return albums_.back();
}

void PlayerStore::insertTrack(uint32_t albumId, size_t position, StoredTrack track) {
  StoredAlbum* a = album(albumId);
  if (!a) return;
  position = std::min(position, a->tracks.size());
  a->tracks.insert(a->tracks.begin() + static_cast<std::ptrdiff_t>(position), track.id);
  const uint32_t id = track.id;
  usedBytes_ += track.fileBytes;
  if (auto old = tracks_.find(id); old != tracks_.end()) usedBytes_ -= old->second.fileBytes;
  tracks_[id] = std::move(track);
}

bool PlayerStore::removeTrack(uint32_t id) {
  auto it = tracks_.find(id);
  if (it == tracks_.end()) return false;
  std::error_code ec;
  std::filesystem::remove(trackPath(it->second), ec);
  for (auto& a : albums_) a.tracks.erase(std::remove(a.tracks.begin(), a.tracks.end(), id), a.tracks.end());
  usedBytes_ -= it->second.fileBytes;
  tracks_.erase(it);
  return true;
}

HRESULT PlayerStore::removeAlbum(uint32_t id) {
  auto it = std::find_if(albums_.begin(), albums_.end(), [id](const StoredAlbum& a) { return a.id == id; });
  if (it == albums_.end()) return kNotFound;
  if (!it->tracks.empty()) return kNotEmpty;
  albums_.erase(it);
  return hr::kOk;
}

void PlayerStore::move(uint32_t reference, uint32_t placement, const std::vector<uint32_t>& ids,
                       std::vector<HRESULT>& results) {
  results.assign(ids.size(), hr::kInvalidArg);
  const bool placeRelative = placement == device::kPlaceBefore || placement == device::kPlaceAfter;
  if (isAlbum(reference) && placeRelative) {
    moveAlbums(reference, placement, ids, results);
  } else if ((isTrack(reference) && placeRelative) ||
             (isAlbum(reference) && placement == device::kPlaceInto)) {
    moveTracks(reference, placement, ids, results);
  }
  // Any other reference or placement moves nothing: every result says so.
}

void PlayerStore::moveAlbums(uint32_t reference, uint32_t placement, const std::vector<uint32_t>& ids,
                             std::vector<HRESULT>& results) {
  std::vector<StoredAlbum> moving;
  std::set<uint32_t> seen;
  for (size_t i = 0; i < ids.size(); ++i) {
    const uint32_t id = ids[i];
    if (id == reference) {
      results[i] = hr::kOk;  // stays where it is; the others gather round it
      continue;
    }
    if (!isAlbum(id) || !seen.insert(id).second) continue;
    auto it = std::find_if(albums_.begin(), albums_.end(), [id](const StoredAlbum& a) { return a.id == id; });
    moving.push_back(std::move(*it));
    albums_.erase(it);
    results[i] = hr::kOk;
  }
  auto ref = std::find_if(albums_.begin(), albums_.end(),
                          [reference](const StoredAlbum& a) { return a.id == reference; });
  if (placement == device::kPlaceAfter) ++ref;
  albums_.insert(ref, std::make_move_iterator(moving.begin()), std::make_move_iterator(moving.end()));
}

void PlayerStore::moveTracks(uint32_t reference, uint32_t placement, const std::vector<uint32_t>& ids,
                             std::vector<HRESULT>& results) {
  std::vector<uint32_t> moving;
  std::set<uint32_t> seen;
  for (size_t i = 0; i < ids.size(); ++i) {
    const uint32_t id = ids[i];
    if (id == reference && placement != device::kPlaceInto) {
      results[i] = hr::kOk;
      continue;
    }
    if (!isTrack(id) || !seen.insert(id).second) continue;
    for (auto& a : albums_) a.tracks.erase(std::remove(a.tracks.begin(), a.tracks.end(), id), a.tracks.end());
    moving.push_back(id);
    results[i] = hr::kOk;
  }
  StoredAlbum* target = placement == device::kPlaceInto ? album(reference) : album(albumOf(reference));
  if (!target) return;
  auto at = target->tracks.end();
  if (placement != device::kPlaceInto) {
    at = std::find(target->tracks.begin(), target->tracks.end(), reference);
    if (placement == device::kPlaceAfter) ++at;
  }
  target->tracks.insert(at, moving.begin(), moving.end());
}

std::string PlayerStore::indexText() const {
  std::ostringstream out;
  out << kIndexMagic << '\n' << "generation " << generation_ << '\n' << "next-id " << nextId_ << '\n';
  for (const auto& a : albums_) {
    out << "album " << a.id;
    WriteProperties(out, a.properties);
    out << '\n';
    for (uint32_t id : a.tracks) {
      const StoredTrack& t = tracks_.at(id);
      out << "track " << t.id << ' ' << a.id << ' ' << Escape(t.fileName) << ' ' << t.fileBytes;
      WriteProperties(out, t.properties);
      out << '\n';
    }
  }
  // The end line proves the index was written to its end.
  std::string text = out.str();
  text += "end " + std::to_string(albums_.size()) + ' ' + std::to_string(tracks_.size()) + ' ' +
          HashText(Hash(text.data(), text.size())) + '\n';
  return text;
}

bool PlayerStore::parseIndex(const std::string& text, std::string& problem) {
  std::vector<StoredAlbum> albums;
  std::map<uint32_t, StoredTrack> tracks;
  uint32_t nextId = kFirstObjectId;
  uint64_t generation = 0;
  int number = 0;
  bool ended = false;
  auto fail = [&](const std::string& what) {
    problem = "index line " + std::to_string(number) + ": " + what;
    return false;
  };
  size_t at = 0;
  while (!ended && at < text.size()) {
    const size_t lineStart = at;
    const size_t eol = text.find('\n', at);
    if (eol == std::string::npos) break;  // a line cut short
    const std::string line = text.substr(at, eol - at);
    at = eol + 1;
    ++number;
    if (number == 1) {
      if (line != kIndexMagic) return fail("not a player index");
      continue;
    }
    std::istringstream fields(line);
    std::string kind;
    fields >> kind;
    if (kind == "generation") {
      if (!(fields >> generation)) return fail("bad generation");
    } else if (kind == "next-id") {
      if (!(fields >> nextId)) return fail("bad next-id");
    } else if (kind == "album") {
      StoredAlbum a;
      if (!(fields >> a.id) || a.id < kFirstObjectId || !ReadProperties(fields, a.properties)) {
        return fail("bad album");
      }
      albums.push_back(std::move(a));
    } else if (kind == "track") {
      StoredTrack t;
      uint32_t albumId = 0;
      std::string file;
      if (!(fields >> t.id >> albumId >> file >> t.fileBytes) || t.id < kFirstObjectId ||
          !Unescape(file, t.fileName) || !ReadProperties(fields, t.properties)) {
        return fail("bad track");
      }
      if (albums.empty() || albums.back().id != albumId) return fail("track outside its album");
      if (tracks.count(t.id)) return fail("track listed twice");
      albums.back().tracks.push_back(t.id);
      tracks[t.id] = std::move(t);
    } else if (kind == "end") {
      size_t albumCount = 0, trackCount = 0;
      std::string hash;
      if (!(fields >> albumCount >> trackCount >> hash) || albumCount != albums.size() ||
          trackCount != tracks.size()) {
        return fail("counts do not match");
      }
      if (hash != HashText(Hash(text.data(), lineStart))) return fail("the text does not match its hash");
      ended = true;
    } else {
      return fail("unknown record");
    }
  }
  if (number == 0) {
    problem = "not a player index";
    return false;
  }
  if (!ended) return fail("no end line: the index is incomplete");
  for (const auto& a : albums) {
    if (a.id >= nextId) return fail("identifier beyond next-id");
  }
  for (const auto& [id, t] : tracks) {
    if (id >= nextId) return fail("identifier beyond next-id");
  }
  albums_ = std::move(albums);
  tracks_ = std::move(tracks);
  nextId_ = nextId;
  generation_ = generation;
  indexBytes_ = text.size();
  recountUsedBytes();
  return true;
}

HRESULT PlayerStore::load(const sys::Path& folder, std::string& problem) {
  folder_ = folder;
  albums_.clear();
  tracks_.clear();
  nextId_ = kFirstObjectId;
  generation_ = 0;
  currentFile_ = -1;
  usedBytes_ = indexBytes_ = journalBytes_ = 0;
  journal_ = Journal::kNone;
  journalFile_.reset();
  // The newest complete index of the two is in force; the other is the
  // one before it, or a save that was cut short.
  bool anyFile = false;
  std::string firstProblem;
  for (int i = 0; i < 2; ++i) {
    const sys::Path path = folder / kIndexNames[i];
    if (!sys::FileExists(path)) continue;
    anyFile = true;
    std::string text, why;
    PlayerStore candidate;
    if (!ReadWholeFile(path, text)) {
      why = "cannot read " + sys::AnsiFromPath(path);
    } else if (candidate.parseIndex(text, why)) {
      if (currentFile_ < 0 || candidate.generation_ > generation_) {
        albums_ = std::move(candidate.albums_);
        tracks_ = std::move(candidate.tracks_);
        nextId_ = candidate.nextId_;
        generation_ = candidate.generation_;
        indexBytes_ = candidate.indexBytes_;
        currentFile_ = i;
      }
      continue;
    }
    if (firstProblem.empty()) firstProblem = std::string(kIndexNames[i]) + ": " + why;
  }
  if (anyFile && currentFile_ < 0) {
    problem = firstProblem;
    return hr::kFail;
  }
  journal_ = replayJournal();
  recountUsedBytes();
  return hr::kOk;
}

HRESULT PlayerStore::open(const sys::Path& folder, std::string& problem) {
  std::error_code ec;
  std::filesystem::create_directories(folder / kTracksFolderName, ec);
  if (ec) {
    problem = "cannot create " + sys::AnsiFromPath(folder);
    return hr::kFail;
  }
  HRESULT h = load(folder, problem);
  if (hr::Failed(h)) return h;
  // Lines appended after a torn one would never be read: the journal is
  // folded into a new index first.
  if (journal_ == Journal::kTorn) {
    if (h = save(problem); hr::Failed(h)) return h;
  }
  removeOrphanFiles();
  return hr::kOk;
}

void PlayerStore::removeOrphanFiles() {
  std::set<std::string> known;
  for (const auto& [id, t] : tracks_) known.insert(t.fileName);
  std::error_code ec;
  for (const std::string& name : FilesInTracksFolder(tracksFolder())) {
    if (!known.count(name)) std::filesystem::remove(tracksFolder() / sys::Path(sys::Utf16FromUtf8(name)), ec);
  }
}

HRESULT PlayerStore::save(std::string& problem) {
  const int target = currentFile_ == 0 ? 1 : 0;
  ++generation_;
  const std::string text = indexText();
  const sys::Path path = folder_ / kIndexNames[target];
  // Written over the older index without truncating it first: truncation
  // costs as much as a deletion, and what lies past the end line is never
  // read.
  std::FILE* f = sys::OpenStdioFile(path, sys::FileExists(path) ? "r+b" : "wb");
  bool written = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  written = f && std::fclose(f) == 0 && written;
  if (!written) {
    --generation_;
    problem = "cannot write " + sys::AnsiFromPath(path);
    return kWriteFault;
  }
  currentFile_ = target;
  indexBytes_ = text.size();
  // The new index holds every change so far: the journal starts afresh for
  // its generation. If that fails the next change writes an index again.
  journalBytes_ = 0;
  journal_ = Journal::kNone;
  journalFile_.reset();
  if (std::FILE* j = sys::OpenStdioFile(folder_ / kJournalName, "wb")) {
    const std::string header = std::string(kJournalMagic) + ' ' + std::to_string(generation_) + '\n';
    const bool headerWritten = std::fwrite(header.data(), 1, header.size(), j) == header.size();
    if (std::fclose(j) == 0 && headerWritten) journal_ = Journal::kClean;
  }
  // A file left much longer by a bigger index is cut back now and then.
  uint64_t size = 0;
  if (sys::GetFileSize(path, size) && size > text.size() + 65536) {
    std::error_code ec;
    std::filesystem::resize_file(path, text.size(), ec);
  }
  return hr::kOk;
}

HRESULT PlayerStore::appendJournal(const std::string& body, std::string& problem) {
  // Without a journal of this generation (a new player, a failed start) or
  // with one grown as large as the index, the change goes into a new index.
  if (journal_ != Journal::kClean || journalBytes_ > std::max(kJournalFoldBytes, indexBytes_)) {
    return save(problem);
  }
  const std::string line = body + " #" + HashText(Hash(body.data(), body.size())) + '\n';
  if (!journalFile_) {
    if (std::FILE* opened = sys::OpenStdioFile(folder_ / kJournalName, "ab"))
      journalFile_.reset(opened, [](std::FILE* file) { std::fclose(file); });
  }
  std::FILE* f = journalFile_.get();
  const bool written = f && std::fwrite(line.data(), 1, line.size(), f) == line.size() && std::fflush(f) == 0;
  if (!written) {
    // Part of the line may be there: nothing more is appended behind it.
    journalFile_.reset();
    journal_ = Journal::kTorn;
    problem = "cannot write " + sys::AnsiFromPath(folder_ / kJournalName);
    return kWriteFault;
  }
  journalBytes_ += line.size();
  return hr::kOk;
}

HRESULT PlayerStore::saveAddedAlbum(uint32_t id, std::string& problem) {
  const StoredAlbum* a = album(id);
  if (!a) return kNotFound;
  std::ostringstream out;
  out << "album " << nextId_ << ' ' << id;
  WriteProperties(out, a->properties);
  return appendJournal(out.str(), problem);
}

HRESULT PlayerStore::saveAddedTrack(uint32_t id, std::string& problem) {
  const StoredTrack* t = track(id);
  const uint32_t albumId = albumOf(id);
  if (!t || albumId == 0) return kNotFound;
  const StoredAlbum* a = album(albumId);
  // New tracks go to the end or the start of their album: look from the end.
  const auto at = std::find(a->tracks.rbegin(), a->tracks.rend(), id);
  const size_t position = static_cast<size_t>(a->tracks.rend() - at) - 1;
  std::ostringstream out;
  out << "track " << nextId_ << ' ' << albumId << ' ' << position << ' ' << id << ' ' << Escape(t->fileName)
      << ' ' << t->fileBytes;
  WriteProperties(out, t->properties);
  return appendJournal(out.str(), problem);
}

HRESULT PlayerStore::saveProperties(uint32_t id, std::string& problem) {
  const PropertyMap* props = nullptr;
  if (const StoredAlbum* a = album(id)) {
    props = &a->properties;
  } else if (const StoredTrack* t = track(id)) {
    props = &t->properties;
  } else {
    return kNotFound;
  }
  std::ostringstream out;
  out << "props " << nextId_ << ' ' << id;
  WriteProperties(out, *props);
  return appendJournal(out.str(), problem);
}

bool PlayerStore::applyJournalLine(const std::string& body) {
  std::istringstream fields(body);
  std::string kind;
  uint32_t nextId = 0, id = 0;
  if (!(fields >> kind >> nextId)) return false;
  if (kind == "album") {
    StoredAlbum a;
    if (!(fields >> a.id) || a.id < kFirstObjectId || isAlbum(a.id) || isTrack(a.id) ||
        !ReadProperties(fields, a.properties)) {
      return false;
    }
    albums_.push_back(std::move(a));
  } else if (kind == "track") {
    StoredTrack t;
    uint32_t albumId = 0;
    size_t position = 0;
    std::string file;
    if (!(fields >> albumId >> position >> t.id >> file >> t.fileBytes) || t.id < kFirstObjectId ||
        !isAlbum(albumId) || isTrack(t.id) || isAlbum(t.id) || !Unescape(file, t.fileName) ||
        !ReadProperties(fields, t.properties)) {
      return false;
    }
    insertTrack(albumId, position, std::move(t));
  } else if (kind == "props") {
    PropertyMap props;
    if (!(fields >> id) || !ReadProperties(fields, props)) return false;
    if (StoredAlbum* a = album(id)) {
      a->properties = std::move(props);
    } else if (StoredTrack* t = track(id)) {
      t->properties = std::move(props);
    } else {
      return false;
    }
  } else {
    return false;
  }
  nextId_ = std::max(nextId_, nextId);
  return true;
}

PlayerStore::Journal PlayerStore::replayJournal() {
  std::string text;
  if (!ReadWholeFile(folder_ / kJournalName, text)) return Journal::kNone;
  const std::string header = std::string(kJournalMagic) + ' ' + std::to_string(generation_) + '\n';
  // A journal of another generation extends another index: the one in
  // force already holds its changes, or never had them.
  if (generation_ == 0 || text.compare(0, header.size(), header) != 0) return Journal::kNone;
  size_t at = header.size();
  while (at < text.size()) {
    const size_t eol = text.find('\n', at);
    if (eol == std::string::npos) return Journal::kTorn;
    const std::string line = text.substr(at, eol - at);
    const size_t mark = line.rfind(" #");
    if (mark == std::string::npos) return Journal::kTorn;
    const std::string body = line.substr(0, mark);
    if (line.substr(mark + 2) != HashText(Hash(body.data(), body.size())) || !applyJournalLine(body)) {
      return Journal::kTorn;
    }
    journalBytes_ += line.size() + 1;
    at = eol + 1;
  }
  return Journal::kClean;
}

}  // namespace standin
