#include "sim/EnvironmentFile.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <new>
#include <set>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/DriverParameters.h"

namespace linkscope::sim {

using nlohmann::json;

std::string EnvironmentError::Describe() const {
  std::string s;
  if (line != 0) s += "line " + std::to_string(line);
  if (!field.empty()) s += (s.empty() ? "" : ", ") + field;
  s += (s.empty() ? "" : ": ") + message;
  return s;
}

namespace {

// Reads the text one character at a time and remembers how far the parser has read, so that
// the parser's callback can tell on which line a key stands.
class CountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CountingIterator(const std::string* text, std::size_t pos, std::size_t* consumed)
      : text_(text), pos_(pos), consumed_(consumed) {}
  reference operator*() const { return (*text_)[pos_]; }
  CountingIterator& operator++() {
    ++pos_;
    if (consumed_ != nullptr && pos_ > *consumed_) *consumed_ = pos_;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const CountingIterator& o) const { return pos_ == o.pos_; }
  bool operator!=(const CountingIterator& o) const { return pos_ != o.pos_; }

 private:
  const std::string* text_;
  std::size_t pos_;
  std::size_t* consumed_;
};

class LineIndex {
 public:
  explicit LineIndex(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') newlines_.push_back(i);
    }
  }
  // Line of the character at `offset` (the last one read when offset is past it).
  std::size_t LineOf(std::size_t offset) const {
    const std::size_t at = offset == 0 ? 0 : offset - 1;
    return static_cast<std::size_t>(
               std::lower_bound(newlines_.begin(), newlines_.end(), at) - newlines_.begin()) +
           1;
  }

 private:
  std::vector<std::size_t> newlines_;
};

// The line on which each field of the file stands, by its path ("adapters[1].faults[0]"): the
// line of its key, or for an element of a list the line where the element begins.
//
// A path is kept once, as the part a field adds to its parent's path ("[3]", ".oid", or the key
// alone at the top), so a long key over a long list costs its length once and not once per
// element. A path is found again by a hash that continues the parent's over the part added,
// so one pass over a path's text gives the hash of the path and of every prefix of it; a
// field whose hash matches is compared with the text before it is taken.
class FieldLines {
 public:
  static constexpr std::size_t kDocument = static_cast<std::size_t>(-1);

  // A field below `parent` (kDocument for the top level). Several fields can have one path (a
  // key given twice, a key holding a '.'); a key names the line of its path even when an
  // earlier field had that path, any other field only when none had.
  std::size_t Add(std::size_t parent, std::string part, std::size_t line, bool isKey) {
    Field f;
    f.parent = parent;
    f.length = PathLength(parent) + part.size();
    f.hash = parent == kDocument ? kSeed : fields_[parent].hash;
    for (char c : part) f.hash = Continue(f.hash, c);
    f.line = line;
    f.isKey = isKey;
    f.part = std::move(part);
    fields_.push_back(std::move(f));
    byHash_.emplace(fields_.back().hash, fields_.size() - 1);
    return fields_.size() - 1;
  }

  std::size_t PathLength(std::size_t field) const {
    return field == kDocument ? 0 : fields_[field].length;
  }

  // The line of the field `path` names, or of the nearest enclosing field that has one.
  bool NearestLine(const std::string& path, std::size_t* line) const {
    std::vector<std::uint64_t> prefix(path.size() + 1, kSeed);
    for (std::size_t i = 0; i < path.size(); ++i) prefix[i + 1] = Continue(prefix[i], path[i]);
    std::size_t length = path.size();
    for (;;) {
      if (LineOf(path, length, prefix[length], line)) return true;
      if (length == 0) return false;
      const std::size_t cut = path.find_last_of(".[", length - 1);
      if (cut == std::string::npos) return false;
      length = cut;
    }
  }

 private:
  struct Field {
    std::size_t parent;
    std::size_t length;  // of the whole path
    std::uint64_t hash;  // of the whole path
    std::size_t line;
    bool isKey;
    std::string part;
  };

  static constexpr std::uint64_t kSeed = 14695981039346656037ull;
  static std::uint64_t Continue(std::uint64_t hash, char c) {
    return hash * 1099511628211ull + static_cast<unsigned char>(c) + 1;
  }

  // Whether the path of `field` is the first `length` characters of `path`.
  bool Spells(std::size_t field, const std::string& path, std::size_t length) const {
    if (PathLength(field) != length) return false;
    std::size_t end = length;
    for (std::size_t f = field; f != kDocument; f = fields_[f].parent) {
      const std::string& part = fields_[f].part;
      end -= part.size();
      if (path.compare(end, part.size(), part) != 0) return false;
    }
    return true;
  }

  // The last key of that path, or else the first field of it.
  bool LineOf(const std::string& path, std::size_t length, std::uint64_t hash,
              std::size_t* line) const {
    std::size_t first = kDocument;
    std::size_t lastKey = kDocument;
    const auto range = byHash_.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it) {
      const std::size_t f = it->second;
      if (!Spells(f, path, length)) continue;
      if (first == kDocument || f < first) first = f;
      if (fields_[f].isKey && (lastKey == kDocument || f > lastKey)) lastKey = f;
    }
    const std::size_t chosen = lastKey != kDocument ? lastKey : first;
    if (chosen == kDocument) return false;
    *line = fields_[chosen].line;
    return true;
  }

  std::vector<Field> fields_;
  std::unordered_multimap<std::uint64_t, std::size_t> byHash_;
};

// Checks the parsed document field by field. The first problem wins.
class Checker {
 public:
  Checker(const FieldLines& lines, EnvironmentError* error) : lines_(lines), error_(error) {}

  bool Fail(const std::string& field, const std::string& message) {
    error_->field = field;
    error_->message = message;
    std::size_t line = 0;
    if (lines_.NearestLine(field, &line)) error_->line = line;
    return false;
  }

  bool Keys(const json& object, const std::string& path, const std::set<std::string>& allowed) {
    for (auto it = object.begin(); it != object.end(); ++it) {
      if (allowed.count(it.key()) == 0) {
        return Fail(Join(path, it.key()), "is not a known field");
      }
    }
    return true;
  }

  static std::string Join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
  }

  bool Integer(const json& v, const std::string& field, std::int64_t lo, std::int64_t hi,
               std::int64_t* out) {
    bool ok = false;
    std::int64_t value = 0;
    if (v.is_number_unsigned()) {
      const std::uint64_t u = v.get<std::uint64_t>();
      ok = u <= static_cast<std::uint64_t>(hi);
      value = static_cast<std::int64_t>(u);
    } else if (v.is_number_integer()) {
      value = v.get<std::int64_t>();
      ok = true;
    }
    if (!ok || value < lo || value > hi) {
      return Fail(field, "must be a whole number from " + std::to_string(lo) + " to " +
                             std::to_string(hi));
    }
    *out = value;
    return true;
  }

  // A number, or a text in decimal or "0x" hexadecimal (OIDs read better in hex).
  bool Number32(const json& v, const std::string& field, std::uint32_t* out) {
    if (v.is_string()) {
      const std::string s = v.get<std::string>();
      std::uint64_t value = 0;
      bool ok = !s.empty() && s.size() <= 10;
      if (ok && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        std::vector<std::uint8_t> bytes;
        const std::string digits = s.substr(2);
        ok = digits.size() <= 8;
        for (char c : digits) {
          const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
          if (!hex) ok = false;
          if (ok) value = value * 16 + static_cast<std::uint64_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
        }
      } else if (ok) {
        std::uint32_t d = 0;
        ok = ParseDecimal(s, &d);
        value = d;
      }
      if (!ok) return Fail(field, "must be a number, in decimal or as 0x followed by hex digits");
      *out = static_cast<std::uint32_t>(value);
      return true;
    }
    std::int64_t value = 0;
    if (!Integer(v, field, 0, 0xFFFFFFFFll, &value)) return false;
    *out = static_cast<std::uint32_t>(value);
    return true;
  }

  bool Bool(const json& v, const std::string& field, bool* out) {
    if (!v.is_boolean()) return Fail(field, "must be true or false");
    *out = v.get<bool>();
    return true;
  }

  bool Text(const json& v, const std::string& field, std::size_t maxBytes, std::string* out) {
    if (!v.is_string()) return Fail(field, "must be a text");
    const std::string s = v.get<std::string>();
    if (s.size() > maxBytes) {
      return Fail(field, "must be at most " + std::to_string(maxBytes) + " bytes long");
    }
    *out = s;
    return true;
  }

  bool Mac(const json& v, const std::string& field, MacAddress* out) {
    std::string s;
    if (!v.is_string() || (s = v.get<std::string>()).size() != 17) {
      return Fail(field, "must be six hex bytes separated by '-', like 00-60-1D-12-34-56");
    }
    MacAddress mac{};
    for (std::size_t i = 0; i < 6; ++i) {
      std::vector<std::uint8_t> byte;
      if (!ParseHex(s.substr(i * 3, 2), &byte) || (i < 5 && s[i * 3 + 2] != '-')) {
        return Fail(field, "must be six hex bytes separated by '-', like 00-60-1D-12-34-56");
      }
      mac[i] = byte[0];
    }
    *out = mac;
    return true;
  }

  bool Version(const json& v, const std::string& field, std::array<std::uint16_t, 4>* out,
               bool firstThreeAreBytes) {
    if (!v.is_array() || v.size() != 4) return Fail(field, "must be a list of four numbers");
    for (std::size_t i = 0; i < 4; ++i) {
      std::int64_t n = 0;
      const std::int64_t hi = (firstThreeAreBytes && i < 3) ? 255 : 65535;
      if (!Integer(v[i], field + "[" + std::to_string(i) + "]", 0, hi, &n)) return false;
      (*out)[i] = static_cast<std::uint16_t>(n);
    }
    return true;
  }

  bool Fault(const json& v, const std::string& path, SimFault* out) {
    if (!v.is_object()) return Fail(path, "must be an object");
    if (!Keys(v, path, {"oid", "fail", "bytes", "garbage", "delayMs"})) return false;
    if (!v.contains("oid")) return Fail(Join(path, "oid"), "is missing");
    SimFault f;
    if (!Number32(v["oid"], Join(path, "oid"), &f.oid)) return false;
    int kinds = 0;
    std::int64_t n = 0;
    if (v.contains("fail")) {
      ++kinds;
      f.kind = SimFault::Kind::Fail;
      if (!Integer(v["fail"], Join(path, "fail"), 1, 0xFFFFFFFFll, &n)) return false;
      f.value = static_cast<std::uint32_t>(n);
    }
    if (v.contains("bytes")) {
      ++kinds;
      f.kind = SimFault::Kind::Length;
      if (!Integer(v["bytes"], Join(path, "bytes"), 0, 65536, &n)) return false;
      f.value = static_cast<std::uint32_t>(n);
    }
    if (v.contains("garbage")) {
      ++kinds;
      bool on = false;
      if (!Bool(v["garbage"], Join(path, "garbage"), &on)) return false;
      if (!on) return Fail(Join(path, "garbage"), "must be true (leave the fault out instead)");
      f.kind = SimFault::Kind::Garbage;
    }
    if (v.contains("delayMs")) {
      ++kinds;
      f.kind = SimFault::Kind::Delay;
      if (!Integer(v["delayMs"], Join(path, "delayMs"), 0, 60000, &n)) return false;
      f.value = static_cast<std::uint32_t>(n);
    }
    if (kinds != 1) return Fail(path, "needs exactly one of fail, bytes, garbage, delayMs");
    *out = f;
    return true;
  }

  bool Adapter(const json& v, const std::string& path, SimAdapterSetup* out) {
    if (!v.is_object()) return Fail(path, "must be an object");
    if (!Keys(v, path,
              {"displayName", "serviceName", "instanceId", "hardwareId", "type", "cardType",
               "mac", "driverVersion", "firmwareVersion", "regulatoryDomain",
               "internationalRoaming", "roamingChannels", "radio", "allSettings", "present",
               "deviceState", "removeAtRequest", "faults", "parameters"})) {
      return false;
    }
    SimAdapterSetup a;
    for (const char* required : {"displayName", "serviceName", "mac"}) {
      if (!v.contains(required)) return Fail(Join(path, required), "is missing");
    }
    if (!Text(v["displayName"], Join(path, "displayName"), 255, &a.displayName)) return false;
    if (a.displayName.find('\0') != std::string::npos) {
      return Fail(Join(path, "displayName"), "must not hold a NUL byte");
    }
    if (!Text(v["serviceName"], Join(path, "serviceName"), 32, &a.serviceName)) return false;
    if (a.serviceName.empty() ||
        !std::all_of(a.serviceName.begin(), a.serviceName.end(), [](char c) {
          return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '_' || c == '-';
        })) {
      return Fail(Join(path, "serviceName"), "must be 1 to 32 letters, digits, '_' or '-'");
    }
    if (v.contains("instanceId")) {
      if (!Text(v["instanceId"], Join(path, "instanceId"), 38, &a.instanceId)) return false;
      if (a.instanceId.size() != 38 || a.instanceId.front() != '{' || a.instanceId.back() != '}') {
        return Fail(Join(path, "instanceId"), "must be a GUID in braces");
      }
    }
    if (v.contains("hardwareId") &&
        !Text(v["hardwareId"], Join(path, "hardwareId"), 200, &a.hardwareId)) {
      return false;
    }
    if (v.contains("type")) {
      std::string type;
      if (!Text(v["type"], Join(path, "type"), 16, &type)) return false;
      if (type != "wireless" && type != "ethernet") {
        return Fail(Join(path, "type"), "must be \"wireless\" or \"ethernet\"");
      }
      a.wireless = type == "wireless";
    }
    std::int64_t n = 0;
    if (v.contains("cardType")) {
      if (!Integer(v["cardType"], Join(path, "cardType"), 0, 255, &n)) return false;
      a.cardType = static_cast<std::uint8_t>(n);
    }
    if (!Mac(v["mac"], Join(path, "mac"), &a.mac)) return false;
    if (v.contains("driverVersion") &&
        !Version(v["driverVersion"], Join(path, "driverVersion"), &a.driverVersion, true)) {
      return false;
    }
    if (v.contains("firmwareVersion") &&
        !Version(v["firmwareVersion"], Join(path, "firmwareVersion"), &a.firmwareVersion,
                 false)) {
      return false;
    }
    if (v.contains("regulatoryDomain")) {
      std::uint32_t d = 0;
      if (!Number32(v["regulatoryDomain"], Join(path, "regulatoryDomain"), &d)) return false;
      if (d > 255) return Fail(Join(path, "regulatoryDomain"), "must be a byte (0 to 0xFF)");
      a.regulatoryDomain = static_cast<std::uint8_t>(d);
    }
    if (v.contains("internationalRoaming") &&
        !Bool(v["internationalRoaming"], Join(path, "internationalRoaming"), &a.roamingSupported)) {
      return false;
    }
    if (v.contains("roamingChannels")) {
      const std::string field = Join(path, "roamingChannels");
      const json& list = v["roamingChannels"];
      if (!list.is_array() || list.size() > 14) {
        return Fail(field, "must be a list of channel numbers (1 to 14)");
      }
      a.roamingChannels.fill(0);
      for (std::size_t i = 0; i < list.size(); ++i) {
        if (!Integer(list[i], field + "[" + std::to_string(i) + "]", 1, 14, &n)) return false;
        a.roamingChannels[static_cast<std::size_t>(n - 1)] = 1;
      }
    }
    if (v.contains("radio") && !Bool(v["radio"], Join(path, "radio"), &a.radioSupported)) {
      return false;
    }
    if (v.contains("allSettings") &&
        !Bool(v["allSettings"], Join(path, "allSettings"), &a.allSettingsSupported)) {
      return false;
    }
    if (v.contains("present") && !Bool(v["present"], Join(path, "present"), &a.present)) {
      return false;
    }
    if (v.contains("deviceState")) {
      if (!Integer(v["deviceState"], Join(path, "deviceState"), 0, 255, &n)) return false;
      a.forcedState = static_cast<int>(n);
    }
    if (v.contains("removeAtRequest")) {
      if (!Integer(v["removeAtRequest"], Join(path, "removeAtRequest"), 1, 0x7FFFFFFF, &n)) {
        return false;
      }
      a.removeAtRequest = static_cast<std::uint32_t>(n);
    }
    if (v.contains("faults")) {
      const json& list = v["faults"];
      const std::string field = Join(path, "faults");
      if (!list.is_array()) return Fail(field, "must be a list");
      for (std::size_t i = 0; i < list.size(); ++i) {
        SimFault f;
        if (!Fault(list[i], field + "[" + std::to_string(i) + "]", &f)) return false;
        a.faults.push_back(f);
      }
    }
    if (v.contains("parameters")) {
      const json& params = v["parameters"];
      const std::string field = Join(path, "parameters");
      if (!params.is_object()) return Fail(field, "must be an object");
      for (auto it = params.begin(); it != params.end(); ++it) {
        const std::string name = Join(field, it.key());
        const DriverParameterInfo* info = FindDriverParameter(it.key());
        if (info == nullptr) return Fail(name, "is not a driver parameter");
        std::string text;
        if (info->numeric && it.value().is_number()) {
          if (!Integer(it.value(), name, info->minimum, info->maximum, &n)) return false;
          text = std::to_string(n);
        } else if (!Text(it.value(), name, 64, &text)) {
          return false;
        }
        std::string reason;
        if (!ValidateDriverParameter(*info, text, &reason)) return Fail(name, reason);
        a.parameters[it.key()] = text;
      }
    }
    *out = std::move(a);
    return true;
  }

  bool Network(const json& v, const std::string& path, SimNetwork* out) {
    if (!v.is_object()) return Fail(path, "must be an object");
    if (!Keys(v, path, {"bssid", "ssid", "ssidHex", "channel", "signal", "bssType", "wep",
                         "refuses", "answersJoin"})) {
      return false;
    }
    SimNetwork w;
    if (!v.contains("bssid")) return Fail(Join(path, "bssid"), "is missing");
    if (!Mac(v["bssid"], Join(path, "bssid"), &w.bssid)) return false;
    if (v.contains("ssid") == v.contains("ssidHex")) {
      return Fail(Join(path, "ssid"), "give exactly one of ssid and ssidHex");
    }
    if (v.contains("ssid") && !Text(v["ssid"], Join(path, "ssid"), 32, &w.ssid)) return false;
    if (v.contains("ssidHex")) {
      std::string hex;
      std::vector<std::uint8_t> bytes;
      if (!Text(v["ssidHex"], Join(path, "ssidHex"), 64, &hex) || !ParseHex(hex, &bytes)) {
        return Fail(Join(path, "ssidHex"), "must be up to 32 bytes as pairs of hex digits");
      }
      w.ssid.assign(bytes.begin(), bytes.end());
    }
    std::int64_t n = 0;
    if (!v.contains("channel")) return Fail(Join(path, "channel"), "is missing");
    if (!Integer(v["channel"], Join(path, "channel"), 1, 14, &n)) return false;
    w.channel = static_cast<std::uint8_t>(n);
    if (v.contains("signal")) {
      if (!Integer(v["signal"], Join(path, "signal"), 0, 100, &n)) return false;
      w.signal = static_cast<std::uint8_t>(n);
    }
    if (v.contains("bssType")) {
      const json& t = v["bssType"];
      const std::string field = Join(path, "bssType");
      if (t.is_string()) {
        const std::string s = t.get<std::string>();
        if (s == "infrastructure") w.bssType = 2;
        else if (s == "adhoc") w.bssType = 1;
        else return Fail(field, "must be \"infrastructure\", \"adhoc\" or a number from 0 to 255");
      } else {
        if (!Integer(t, field, 0, 255, &n)) return false;
        w.bssType = static_cast<std::uint8_t>(n);
      }
    }
    if (v.contains("wep")) {
      const json& wep = v["wep"];
      const std::string field = Join(path, "wep");
      if (!wep.is_object()) return Fail(field, "must be an object");
      if (!Keys(wep, field, {"key", "authentication"})) return false;
      if (!wep.contains("key")) return Fail(Join(field, "key"), "is missing");
      std::string key;
      if (!Text(wep["key"], Join(field, "key"), 26, &key) || !ParseHex(key, &w.wepKey) ||
          (w.wepKey.size() != 5 && w.wepKey.size() != 13)) {
        return Fail(Join(field, "key"), "must be 10 (64-bit) or 26 (128-bit) hex digits");
      }
      w.wepLevel = w.wepKey.size() == 5 ? 1 : 2;
      if (wep.contains("authentication")) {
        std::string auth;
        if (!Text(wep["authentication"], Join(field, "authentication"), 16, &auth)) return false;
        if (auth == "open") w.authentication = 0;
        else if (auth == "shared") w.authentication = 1;
        else return Fail(Join(field, "authentication"), "must be \"open\" or \"shared\"");
      }
    }
    if (v.contains("refuses")) {
      if (!Integer(v["refuses"], Join(path, "refuses"), 0, 65535, &n)) return false;
      w.refusal = static_cast<std::uint16_t>(n);
    }
    if (v.contains("answersJoin") &&
        !Bool(v["answersJoin"], Join(path, "answersJoin"), &w.answersJoin)) {
      return false;
    }
    *out = std::move(w);
    return true;
  }

  bool Document(const json& doc, SimEnvironment* out) {
    if (!doc.is_object()) return Fail("", "the file must hold one JSON object");
    if (!Keys(doc, "", {"adapters", "networks"})) return false;
    SimEnvironment env;
    if (doc.contains("adapters")) {
      const json& list = doc["adapters"];
      if (!list.is_array()) return Fail("adapters", "must be a list");
      std::set<std::string> services;
      for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string path = "adapters[" + std::to_string(i) + "]";
        SimAdapterSetup a;
        if (!Adapter(list[i], path, &a)) return false;
        std::string upper = a.serviceName;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (!services.insert(upper).second) {
          return Fail(Join(path, "serviceName"), "is used by an earlier adapter");
        }
        env.adapters.push_back(std::move(a));
      }
    }
    if (doc.contains("networks")) {
      const json& list = doc["networks"];
      if (!list.is_array()) return Fail("networks", "must be a list");
      for (std::size_t i = 0; i < list.size(); ++i) {
        SimNetwork w;
        if (!Network(list[i], "networks[" + std::to_string(i) + "]", &w)) return false;
        env.networks.push_back(std::move(w));
      }
    }
    *out = std::move(env);
    return true;
  }

 private:
  const FieldLines& lines_;
  EnvironmentError* error_;
};

// The deepest nesting a file may have. A good file is four levels deep (a fault of an adapter);
// a file nested much deeper is no environment, and is refused as soon as the parser reaches
// the level rather than after it has built the whole document.
constexpr std::size_t kMaxDepth = 32;

// Thrown by the parser's callback to stop at the first level too deep.
struct TooDeep {
  std::size_t offset;
};

bool Parse(const std::string& text, SimEnvironment* out, EnvironmentError* error) {
  const LineIndex lines(text);
  std::size_t consumed = 0;
  // Field path -> line of its key, collected while parsing.
  FieldLines fieldLines;
  struct Frame {
    bool array;
    std::size_t field;  // the object or list itself
    long index;
    std::size_t key;    // the key read last in an object
  };
  std::vector<Frame> stack;
  // The field a value stands for: the next element of a list, or the key just read.
  auto child = [&](std::size_t line) -> std::size_t {
    Frame& top = stack.back();
    if (!top.array) return top.key;
    return fieldLines.Add(top.field, "[" + std::to_string(++top.index) + "]", line, false);
  };

  try {
    json doc = json::parse(
        CountingIterator(&text, 0, &consumed), CountingIterator(&text, text.size(), nullptr),
        [&](int, json::parse_event_t event, json& parsed) {
          switch (event) {
            case json::parse_event_t::object_start:
            case json::parse_event_t::array_start: {
              if (stack.size() >= kMaxDepth) throw TooDeep{consumed};
              // An object in a list has no key; its opening line stands for it.
              const std::size_t field =
                  stack.empty() ? FieldLines::kDocument : child(lines.LineOf(consumed));
              stack.push_back(Frame{event == json::parse_event_t::array_start, field, -1,
                                    FieldLines::kDocument});
              break;
            }
            case json::parse_event_t::key:
              if (!stack.empty() && parsed.is_string()) {
                Frame& top = stack.back();
                std::string key = parsed.get<std::string>();
                if (fieldLines.PathLength(top.field) != 0) key.insert(0, 1, '.');
                top.key = fieldLines.Add(top.field, std::move(key), lines.LineOf(consumed), true);
              }
              break;
            case json::parse_event_t::value:
              if (!stack.empty() && stack.back().array) child(lines.LineOf(consumed));
              break;
            case json::parse_event_t::object_end:
            case json::parse_event_t::array_end:
              if (!stack.empty()) stack.pop_back();
              break;
          }
          return true;
        });
    Checker checker(fieldLines, error);
    return checker.Document(doc, out);
  } catch (const json::parse_error& e) {
    error->line = lines.LineOf(e.byte);
    error->field.clear();
    // The library's message starts with its own classification in brackets; what follows
    // is the part a person needs.
    std::string what = e.what();
    const std::size_t colon = what.find(": ");
    error->message = "not valid JSON: " + (colon == std::string::npos ? what : what.substr(colon + 2));
    return false;
  } catch (const TooDeep& e) {
    error->line = lines.LineOf(e.offset);
    error->field.clear();
    error->message = "nested more than " + std::to_string(kMaxDepth) + " levels deep";
    return false;
  } catch (const json::exception& e) {
    error->line = 0;
    error->field.clear();
    error->message = std::string("not a usable environment: ") + e.what();
    return false;
  }
}

// Refuses the file for a reason found outside the parser; even this must not throw.
bool Refuse(EnvironmentError* error, const char* message) noexcept {
  error->line = 0;
  error->field.clear();
  try {
    error->message = message;
  } catch (...) {
    error->message.clear();
  }
  return false;
}

}  // namespace

bool ParseEnvironment(const std::string& text, SimEnvironment* out, EnvironmentError* error) {
  EnvironmentError scratch;
  if (error == nullptr) error = &scratch;
  // Nothing leaves this function: running out of memory, or anything else, refuses the file.
  try {
    *error = EnvironmentError();
    return Parse(text, out, error);
  } catch (const std::bad_alloc&) {
    return Refuse(error, "too large to read");
  } catch (...) {
    return Refuse(error, "cannot be read");
  }
}

}  // namespace linkscope::sim
