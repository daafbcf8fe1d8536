#include "report.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>

namespace check {
namespace {

struct VerdictName {
  Verdict verdict;
  const char* key;
  const char* label;  // on the terminal, where anything but "same" stands out
};

constexpr VerdictName kVerdicts[] = {
    {Verdict::same, "same", "same"},
    {Verdict::different, "different", "DIFFERENT"},
    {Verdict::no_picture, "no-picture", "NO PICTURE"},
    {Verdict::exit_status, "exit-status", "STATUS"},
    {Verdict::crashed, "crashed", "CRASHED"},
    {Verdict::timeout, "timeout", "TIME-OUT"},
    {Verdict::no_build, "no-build", "NO BUILD"},
    {Verdict::no_program, "no-program", "NO PROGRAM"},
    {Verdict::error, "error", "ERROR"},
};

const VerdictName& name_of(Verdict verdict) {
  for (const VerdictName& v : kVerdicts) {
    if (v.verdict == verdict) return v;
  }
  return kVerdicts[std::size(kVerdicts) - 1];
}

std::string seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : clean_text(text)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string json_path(const std::string& path) {
  return path.empty() ? "null" : json_string(path);
}

std::string xml(const std::string& text) {
  std::string out;
  for (char c : clean_text(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A relative path as a link: every byte but letters, digits, "-._~/" percent-encoded.
std::string url(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::strchr("-._~/", c) != nullptr) {
      out += static_cast<char>(c);
    } else {
      char code[4];
      std::snprintf(code, sizeof code, "%%%02X", c);
      out += code;
    }
  }
  return out;
}

// The first `limit` bytes of a file of the report, cut at a line's end where one is near.
std::string head_of(const std::string& folder, const std::string& path, size_t limit) {
  if (path.empty()) return "";
  std::ifstream file(folder + "/" + path, std::ios::binary);
  std::string text(limit + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(file.gcount()));
  if (text.size() > limit) {
    text.resize(limit);
    size_t line = text.rfind('\n');
    if (line != std::string::npos && line > limit / 2) text.resize(line + 1);
    text += "[...]\n";
  }
  return text;
}

bool write_file(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  return static_cast<bool>(file);
}

std::string picture_words(const Record& r) {
  if (!r.last_shown) return "";
  return r.verdict == Verdict::timeout ? "the last picture shown before the time-out"
                                       : "the last picture shown before the program ended";
}

// A small JSON reader, for what write_json writes.
struct Value {
  enum class Kind { null, boolean, number, string, array, object } kind = Kind::null;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<Value> items;
  std::vector<std::pair<std::string, Value>> fields;

  const Value& operator[](const char* name) const {
    static const Value none;
    for (const auto& [key, value] : fields) {
      if (key == name) return value;
    }
    return none;
  }
  long integer() const { return static_cast<long>(number); }
};

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  bool parse(Value* value) {
    if (!parse_value(value, 0)) return false;
    skip_space();
    return at_ == text_.size();
  }

 private:
  void skip_space() {
    while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_]) != nullptr) ++at_;
  }

  bool literal(const char* word) {
    size_t length = std::strlen(word);
    if (text_.compare(at_, length, word) != 0) return false;
    at_ += length;
    return true;
  }

  bool parse_string(std::string* out) {
    if (at_ >= text_.size() || text_[at_] != '"') return false;
    ++at_;
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (at_ >= text_.size()) return false;
      char escaped = text_[at_++];
      switch (escaped) {
        case 'n':
          *out += '\n';
          break;
        case 't':
          *out += '\t';
          break;
        case 'r':
          *out += '\r';
          break;
        case 'b':
          *out += '\b';
          break;
        case 'f':
          *out += '\f';
          break;
        case 'u': {
          if (at_ + 4 > text_.size()) return false;
          unsigned code = static_cast<unsigned>(std::stoul(text_.substr(at_, 4), nullptr, 16));
          at_ += 4;
          if (code < 0x80) {
            *out += static_cast<char>(code);
          } else if (code < 0x800) {
            *out += static_cast<char>(0xC0 | (code >> 6));
            *out += static_cast<char>(0x80 | (code & 0x3F));
          } else {
            *out += static_cast<char>(0xE0 | (code >> 12));
            *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (code & 0x3F));
          }
          break;
        }
        default:
          *out += escaped;
      }
    }
    if (at_ >= text_.size()) return false;
    ++at_;
    return true;
  }

  bool parse_value(Value* value, int depth) {
    if (depth > 32) return false;
    skip_space();
    if (at_ >= text_.size()) return false;
    char c = text_[at_];
    if (c == '{') {
      value->kind = Value::Kind::object;
      ++at_;
      skip_space();
      if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
      for (;;) {
        skip_space();
        std::string key;
        if (!parse_string(&key)) return false;
        skip_space();
        if (at_ >= text_.size() || text_[at_++] != ':') return false;
        Value item;
        if (!parse_value(&item, depth + 1)) return false;
        value->fields.emplace_back(std::move(key), std::move(item));
        skip_space();
        if (at_ < text_.size() && text_[at_] == ',') {
          ++at_;
          continue;
        }
        return at_ < text_.size() && text_[at_++] == '}';
      }
    }
    if (c == '[') {
      value->kind = Value::Kind::array;
      ++at_;
      skip_space();
      if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
      for (;;) {
        Value item;
        if (!parse_value(&item, depth + 1)) return false;
        value->items.push_back(std::move(item));
        skip_space();
        if (at_ < text_.size() && text_[at_] == ',') {
          ++at_;
          continue;
        }
        return at_ < text_.size() && text_[at_++] == ']';
      }
    }
    if (c == '"') {
      value->kind = Value::Kind::string;
      return parse_string(&value->string);
    }
    if (literal("null")) return true;
    if (literal("true") || literal("false")) {
      value->kind = Value::Kind::boolean;
      value->boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
      return true;
    }
    size_t used = 0;
    try {
      value->number = std::stod(text_.substr(at_, 32), &used);
    } catch (...) {
      return false;
    }
    value->kind = Value::Kind::number;
    at_ += used;
    return used > 0;
  }

  const std::string& text_;
  size_t at_ = 0;
};

}  // namespace

const char* verdict_key(Verdict verdict) {
  return name_of(verdict).key;
}

bool verdict_from_key(const std::string& key, Verdict* verdict) {
  for (const VerdictName& v : kVerdicts) {
    if (key == v.key) {
      *verdict = v.verdict;
      return true;
    }
  }
  return false;
}

bool passed(const Record& record) {
  return record.verdict == Verdict::same;
}

std::string clean_text(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  const std::string replacement = "\xEF\xBF\xBD";
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += (c < 0x20 && c != '\n' && c != '\t') || c == 0x7F ? replacement
                                                               : std::string(1, bytes[i]);
      ++i;
      continue;
    }
    // The length of the sequence and the smallest code point it may hold (no overlong forms).
    size_t length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (length == 0 || c > 0xF4 || i + length > bytes.size()) {
      out += replacement;
      ++i;
      continue;
    }
    unsigned code = c & (0x7F >> length);
    bool good = true;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      good = good && (next & 0xC0) == 0x80;
      code = code << 6 | (next & 0x3F);
    }
    const unsigned smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (!good || code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      out += replacement;
      ++i;
      continue;
    }
    // C1 control characters are as unwelcome in XML as C0 ones.
    out += code >= 0x80 && code < 0xA0 ? replacement : bytes.substr(i, length);
    i += length;
  }
  return out;
}

std::string summary(const Report& report) {
  std::map<std::string, int> counts;
  int same = 0;
  for (const Record& r : report.students) {
    if (passed(r)) {
      ++same;
    } else {
      ++counts[verdict_key(r.verdict)];
    }
  }
  std::string line =
      std::to_string(report.students.size()) + " checked: " + std::to_string(same) + " same";
  const int others = static_cast<int>(report.students.size()) - same;
  if (others > 0) {
    line += ", " + std::to_string(others) + " not (";
    bool first = true;
    for (const VerdictName& v : kVerdicts) {
      auto it = counts.find(v.key);
      if (it == counts.end()) continue;
      line += (first ? "" : ", ") + std::to_string(it->second) + " " + v.key;
      first = false;
    }
    line += ")";
  }
  return line;
}

bool write_json(const Report& report, const std::string& path) {
  std::ostringstream out;
  out << "{\n  \"checker\": " << json_string(report.checker)
      << ",\n  \"script\": " << json_string(report.script)
      << ",\n  \"expected\": " << json_string(report.expected) << ",\n  \"ticks\": " << report.ticks
      << ",\n  \"tolerance\": " << report.tolerance << ",\n  \"masks\": [";
  for (size_t i = 0; i < report.masks.size(); ++i) {
    const Rect& m = report.masks[i];
    out << (i ? ", " : "") << "{\"left\": " << m.left << ", \"top\": " << m.top
        << ", \"width\": " << m.width << ", \"height\": " << m.height << "}";
  }
  int same = 0;
  for (const Record& r : report.students) same += passed(r);
  out << "],\n  \"shard\": " << report.shard << ",\n  \"shards\": " << report.shards
      << ",\n  \"class_size\": " << report.class_size
      << ",\n  \"sandbox\": " << json_string(report.sandbox)
      << ",\n  \"checked\": " << report.students.size() << ",\n  \"passed\": " << same
      << ",\n  \"students\": [";
  for (size_t i = 0; i < report.students.size(); ++i) {
    const Record& r = report.students[i];
    out << (i ? "," : "") << "\n    {\n      \"name\": " << json_string(r.name)
        << ",\n      \"id\": " << json_string(r.id)
        << ",\n      \"verdict\": " << json_string(verdict_key(r.verdict))
        << ",\n      \"passed\": " << (passed(r) ? "true" : "false")
        << ",\n      \"reason\": " << json_string(r.reason)
        << ",\n      \"pixels\": " << (r.pixels < 0 ? "null" : std::to_string(r.pixels))
        << ",\n      \"picture\": " << json_path(r.picture)
        << ",\n      \"picture_is_last_shown\": " << (r.last_shown ? "true" : "false")
        << ",\n      \"diff\": " << json_path(r.diff) << ",\n      \"exit_status\": "
        << (r.exit_status < 0 ? "null" : std::to_string(r.exit_status))
        << ",\n      \"signal\": " << json_path(r.signal)
        << ",\n      \"build_seconds\": " << seconds(r.build_seconds)
        << ",\n      \"run_seconds\": " << seconds(r.run_seconds) << ",\n      \"sources\": [";
    for (size_t k = 0; k < r.sources.size(); ++k) {
      out << (k ? ", " : "") << json_string(r.sources[k]);
    }
    out << "],\n      \"files\": [";
    for (size_t k = 0; k < r.files.size(); ++k) {
      out << (k ? ", " : "") << "{\"name\": " << json_string(r.files[k].name)
          << ", \"bytes\": " << r.files[k].bytes
          << ", \"kept\": " << (r.files[k].kept ? "true" : "false") << "}";
    }
    out << "],\n      \"files_left_out\": " << r.files_left_out
        << ",\n      \"build_messages\": " << json_path(r.build_messages)
        << ",\n      \"stdout\": " << json_path(r.stdout_file)
        << ",\n      \"stdout_bytes\": " << r.stdout_bytes
        << ",\n      \"stderr\": " << json_path(r.stderr_file)
        << ",\n      \"stderr_bytes\": " << r.stderr_bytes
        << ",\n      \"log\": " << json_path(r.log_file) << "\n    }";
  }
  out << "\n  ]\n}\n";
  return write_file(path, out.str());
}

bool read_json(const std::string& path, Report* report, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  Value root;
  if (!file || !Parser(text).parse(&root) || root.kind != Value::Kind::object ||
      root["students"].kind != Value::Kind::array) {
    *error = path + ": not a report of vorla-check";
    return false;
  }
  report->checker = root["checker"].string;
  report->script = root["script"].string;
  report->expected = root["expected"].string;
  report->ticks = root["ticks"].integer();
  report->tolerance = root["tolerance"].integer();
  report->masks.clear();
  for (const Value& m : root["masks"].items) {
    report->masks.push_back(
        {static_cast<int>(m["left"].integer()), static_cast<int>(m["top"].integer()),
         static_cast<int>(m["width"].integer()), static_cast<int>(m["height"].integer())});
  }
  report->shard = static_cast<int>(root["shard"].integer());
  report->shards = static_cast<int>(root["shards"].integer());
  report->class_size = static_cast<int>(root["class_size"].integer());
  report->sandbox = root["sandbox"].string;
  report->students.clear();
  for (const Value& s : root["students"].items) {
    Record r;
    r.name = s["name"].string;
    r.id = s["id"].string;
    if (!verdict_from_key(s["verdict"].string, &r.verdict) || r.id.empty() ||
        r.id.find('/') != std::string::npos || r.id[0] == '.') {
      *error = path + ": a student's record is damaged";
      return false;
    }
    r.reason = s["reason"].string;
    r.pixels = s["pixels"].kind == Value::Kind::number ? s["pixels"].integer() : -1;
    r.picture = s["picture"].string;
    r.last_shown = s["picture_is_last_shown"].boolean;
    r.diff = s["diff"].string;
    r.exit_status = s["exit_status"].kind == Value::Kind::number
                        ? static_cast<int>(s["exit_status"].integer())
                        : -1;
    r.signal = s["signal"].string;
    r.build_seconds = s["build_seconds"].number;
    r.run_seconds = s["run_seconds"].number;
    for (const Value& source : s["sources"].items) r.sources.push_back(source.string);
    for (const Value& f : s["files"].items) {
      r.files.push_back(
          {f["name"].string, static_cast<long long>(f["bytes"].number), f["kept"].boolean});
    }
    r.files_left_out = s["files_left_out"].integer();
    r.build_messages = s["build_messages"].string;
    r.stdout_file = s["stdout"].string;
    r.stdout_bytes = static_cast<long long>(s["stdout_bytes"].number);
    r.stderr_file = s["stderr"].string;
    r.stderr_bytes = static_cast<long long>(s["stderr_bytes"].number);
    r.log_file = s["log"].string;
    report->students.push_back(std::move(r));
  }
  return true;
}

bool write_csv(const Report& report, const std::string& path) {
  auto field = [](const std::string& text) {
    std::string out = "\"";
    for (char c : clean_text(text)) {
      out += c == '"' ? "\"\"" : std::string(1, c == '\n' ? ' ' : c);
    }
    return out + "\"";
  };
  std::string out = "name,verdict,passed,pixels,build_seconds,run_seconds,reason\r\n";
  for (const Record& r : report.students) {
    out += field(r.name) + "," + verdict_key(r.verdict) + "," + (passed(r) ? "1" : "0") + "," +
           (r.pixels < 0 ? "" : std::to_string(r.pixels)) + "," + seconds(r.build_seconds) + "," +
           seconds(r.run_seconds) + "," + field(r.reason) + "\r\n";
  }
  return write_file(path, out);
}

bool write_junit(const Report& report, const std::string& folder, const std::string& path) {
  double total = 0;
  int failures = 0;
  for (const Record& r : report.students) {
    total += r.build_seconds + r.run_seconds;
    failures += !passed(r);
  }
  // Test cases are grouped by the script's name without its extension, as a class name.
  const std::string suite = xml(report.script.substr(0, report.script.rfind('.')));
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<testsuites name=\"vorla-check\" tests=\"" << report.students.size() << "\" failures=\""
      << failures << "\" errors=\"0\" time=\"" << seconds(total) << "\">\n"
      << "  <testsuite name=\"" << suite << "\" tests=\"" << report.students.size()
      << "\" failures=\"" << failures << "\" errors=\"0\" skipped=\"0\" time=\"" << seconds(total)
      << "\">\n";
  for (const Record& r : report.students) {
    out << "    <testcase classname=\"" << suite << "\" name=\"" << xml(r.name) << "\" time=\""
        << seconds(r.build_seconds + r.run_seconds) << "\"";
    if (passed(r)) {
      out << "/>\n";
      continue;
    }
    out << ">\n      <failure type=\"" << verdict_key(r.verdict) << "\" message=\"" << xml(r.reason)
        << "\">";
    std::string details = head_of(folder, r.build_messages, 4096);
    if (!r.diff.empty()) details += "The pictures side by side: " + r.diff + "\n";
    out << xml(details) << "</failure>\n";
    for (const auto& [tag, file] :
         {std::pair{"system-out", r.stdout_file}, std::pair{"system-err", r.stderr_file}}) {
      if (file.empty()) continue;
      out << "      <" << tag << ">" << xml(head_of(folder, file, 4096)) << "</" << tag << ">\n";
    }
    out << "    </testcase>\n";
  }
  out << "  </testsuite>\n</testsuites>\n";
  return write_file(path, out.str());
}

bool write_html(const Report& report, const std::string& folder, const std::string& path) {
  std::ostringstream out;
  out << R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8"/>
<title>Programs checked with )"
      << xml(report.script) << R"(</title>
<style>
body { font-family: sans-serif; margin: 1.5em; color: #222; }
table { border-collapse: collapse; width: 100%; }
th, td { border-bottom: 1px solid #ccc; padding: 0.5em; text-align: left; vertical-align: top; }
td.who { width: 14em; }
td.what { width: 22em; }
img { max-width: 100%; border: 1px solid #888; }
pre { white-space: pre-wrap; background: #f4f4f4; padding: 0.5em; max-height: 20em;
      overflow: auto; font-size: 85%; }
.verdict { font-weight: bold; padding: 0.1em 0.5em; border-radius: 0.3em; color: #fff; }
.same { background: #2e7d32; }
.different { background: #c62828; }
.other { background: #6a1b9a; }
.note { color: #b35c00; }
.small { font-size: 85%; color: #555; }
</style>
</head>
<body>
<h1>Programs checked with )"
      << xml(report.script) << "</h1>\n<p>" << xml(summary(report)) << ".</p>\n<p class=\"small\">"
      << "Model: " << xml(report.expected) << "; ticks after the script: " << report.ticks
      << "; pixels allowed to differ: " << report.tolerance;
  for (const Rect& m : report.masks) {
    out << "; masked: " << m.width << " x " << m.height << " at (" << m.left << ", " << m.top
        << ")";
  }
  if (report.shards > 1) out << "; slice " << report.shard << " of " << report.shards;
  out << "; sandbox: " << xml(report.sandbox) << ". " << xml(report.checker)
      << ".</p>\n<p class=\"small\">Each picture row shows the model, the student's picture and "
         "their differences (magenta; masked parts blue). An orange frame marks the last "
         "picture a program showed before it crashed or ran out of time.</p>\n"
      << "<table>\n<thead><tr><th>Student</th><th>Verdict</th><th>Model, student, "
         "differences</th></tr></thead>\n<tbody>\n";
  for (const Record& r : report.students) {
    const char* style = passed(r)                         ? "same"
                        : r.verdict == Verdict::different ? "different"
                                                          : "other";
    out << "<tr id=\"" << xml(r.id) << "\">\n<td class=\"who\"><b>" << xml(r.name)
        << "</b><br/><span class=\"small\">";
    for (size_t k = 0; k < r.sources.size(); ++k) {
      out << (k ? ", " : "") << "<a href=\"" << url("students/" + r.id + "/source/" + r.sources[k])
          << "\">" << xml(r.sources[k]) << "</a>";
    }
    out << "</span></td>\n<td class=\"what\"><span class=\"verdict " << style << "\">"
        << xml(name_of(r.verdict).label) << "</span><p>" << xml(r.reason) << "</p>";
    if (r.last_shown) out << "<p class=\"note\">The picture is " << picture_words(r) << ".</p>";
    out << "<p class=\"small\">build " << seconds(r.build_seconds) << " s";
    if (r.run_seconds > 0) out << ", run " << seconds(r.run_seconds) << " s";
    for (const auto& [label, file] :
         {std::pair{"compiler", r.build_messages}, std::pair{"stdout", r.stdout_file},
          std::pair{"stderr", r.stderr_file}, std::pair{"log", r.log_file}}) {
      if (!file.empty()) out << " · <a href=\"" << xml(file) << "\">" << label << "</a>";
    }
    out << "</p>";
    if (!r.files.empty()) {
      out << "<p class=\"small\">Left in its folder:";
      for (const FileEntry& f : r.files) {
        if (f.kept) {
          out << " <a href=\"" << url("students/" + r.id + "/files/" + f.name) << "\">"
              << xml(f.name) << "</a>";
        } else {
          out << " " << xml(f.name);
        }
        out << " (" << f.bytes << " bytes" << (f.kept ? "" : ", not kept") << ")";
      }
      if (r.files_left_out > 0) out << " and " << r.files_left_out << " more";
      out << "</p>";
    }
    out << "</td>\n<td>";
    if (!r.diff.empty()) {
      out << "<a href=\"" << xml(r.diff) << "\"><img src=\"" << xml(r.diff)
          << "\" loading=\"lazy\" alt=\"model, " << xml(r.name) << ", differences\"/></a>";
    } else if (!r.picture.empty()) {
      out << "<img src=\"" << xml(r.picture) << "\" loading=\"lazy\" alt=\"" << xml(r.name)
          << "\"/>";
    } else if (!r.build_messages.empty()) {
      out << "<pre>" << xml(head_of(folder, r.build_messages, 4096)) << "</pre>";
    }
    out << "</td>\n</tr>\n";
  }
  out << "</tbody>\n</table>\n</body>\n</html>\n";
  return write_file(path, out.str());
}

void print_table(const Report& report, std::FILE* terminal) {
  size_t width = 7;
  for (const Record& r : report.students) width = std::max(width, clean_text(r.name).size());
  width = std::min<size_t>(width, 24);
  std::fprintf(terminal, "%-*s  %-10s  %8s  %7s  %s\n", static_cast<int>(width), "student",
               "verdict", "pixels", "time", "reason");
  for (const Record& r : report.students) {
    std::string name = clean_text(r.name);
    if (name.size() > width) {
      size_t cut = width - 1;
      while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
      name = name.substr(0, cut) + "~";
    }
    std::string reason = clean_text(r.reason);
    if (reason.size() > 100) {
      size_t cut = 97;
      while (cut > 0 && (static_cast<unsigned char>(reason[cut]) & 0xC0) == 0x80) --cut;
      reason = reason.substr(0, cut) + "...";
    }
    std::string pixels = r.pixels < 0 ? "-" : std::to_string(r.pixels);
    char time[32];
    std::snprintf(time, sizeof time, "%.2f s", r.build_seconds + r.run_seconds);
    std::fprintf(terminal, "%-*s  %-10s  %8s  %7s  %s\n", static_cast<int>(width), name.c_str(),
                 name_of(r.verdict).label, pixels.c_str(), time, reason.c_str());
  }
  std::fprintf(terminal, "%s\n", summary(report).c_str());
}

}  // namespace check
