#include "reference_data.h"

#include <cstdio>
#include <sstream>

namespace gdi_reference {

namespace {

constexpr int kMaxColours = 26;

bool parse_hex_colour(const std::string& token, uint32_t* colour) {
  if (token.size() != 6) return false;
  uint32_t value = 0;
  for (char c : token) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return false;
    }
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  *colour = value;
  return true;
}

// "<count><letter>" with a positive count.
bool parse_run(const std::string& token, size_t* count, size_t* colour) {
  if (token.size() < 2) return false;
  size_t value = 0;
  for (size_t i = 0; i + 1 < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9' || value > 100000000) return false;
    value = value * 10 + static_cast<size_t>(token[i] - '0');
  }
  const char letter = token.back();
  if (value == 0 || letter < 'a' || letter >= 'a' + kMaxColours) return false;
  *count = value;
  *colour = static_cast<size_t>(letter - 'a');
  return true;
}

std::string rest_after(const std::string& line, const std::string& keyword) {
  return line.substr(keyword.size() + 1);
}

bool starts_with(const std::string& line, const std::string& keyword) {
  return line.size() > keyword.size() && line.compare(0, keyword.size(), keyword) == 0 &&
         line[keyword.size()] == ' ';
}

}  // namespace

std::string encode(const std::string& name, const std::string& ops, const Picture& picture) {
  std::vector<uint32_t> colours;
  std::string runs;
  const size_t total = picture.pixels.size();
  size_t i = 0;
  while (i < total) {
    const uint32_t colour = picture.pixels[i] & 0xFFFFFF;
    size_t end = i + 1;
    while (end < total && (picture.pixels[end] & 0xFFFFFF) == colour) ++end;
    size_t index = 0;
    while (index < colours.size() && colours[index] != colour) ++index;
    if (index == colours.size()) colours.push_back(colour);
    if (!runs.empty()) runs += ' ';
    runs += std::to_string(end - i);
    runs += static_cast<char>('a' + index);
    i = end;
  }
  std::string text = "scene " + name + " " + std::to_string(picture.width) + " " +
                     std::to_string(picture.height) + "\nops " + ops + "\ncolours";
  for (uint32_t colour : colours) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%06x", static_cast<unsigned>(colour));
    text += std::string(" ") + hex;
  }
  return text + "\npixels " + runs + "\n";
}

bool parse(const std::string& text, std::map<std::string, Record>* records, std::string* error) {
  std::istringstream in(text);
  std::string line;
  int line_number = 0;
  auto fail = [&](const std::string& why) {
    *error = "line " + std::to_string(line_number) + ": " + why;
    return false;
  };
  auto next_line = [&](const std::string& keyword, std::string* rest) {
    if (!std::getline(in, line)) return false;
    ++line_number;
    if (!starts_with(line, keyword)) return false;
    *rest = rest_after(line, keyword);
    return true;
  };
  while (std::getline(in, line)) {
    ++line_number;
    if (line.empty() || line[0] == '#') continue;
    if (!starts_with(line, "scene")) return fail("expected a scene line");
    std::istringstream head(rest_after(line, "scene"));
    std::string name;
    Record record;
    if (!(head >> name >> record.picture.width >> record.picture.height) ||
        record.picture.width <= 0 || record.picture.height <= 0) {
      return fail("bad scene line");
    }
    if (records->count(name)) return fail("scene " + name + " appears twice");
    std::string rest;
    if (!next_line("ops", &record.ops)) return fail("expected the ops of " + name);
    if (!next_line("colours", &rest)) return fail("expected the colours of " + name);
    std::vector<uint32_t> colours;
    std::istringstream colour_tokens(rest);
    for (std::string token; colour_tokens >> token;) {
      uint32_t colour = 0;
      if (!parse_hex_colour(token, &colour)) return fail("bad colour " + token);
      colours.push_back(colour);
    }
    if (!next_line("pixels", &rest)) return fail("expected the pixels of " + name);
    const size_t expected =
        static_cast<size_t>(record.picture.width) * static_cast<size_t>(record.picture.height);
    std::istringstream run_tokens(rest);
    for (std::string token; run_tokens >> token;) {
      size_t count = 0;
      size_t colour = 0;
      if (!parse_run(token, &count, &colour) || colour >= colours.size()) {
        return fail("bad run " + token);
      }
      if (record.picture.pixels.size() + count > expected) return fail("too many pixels");
      record.picture.pixels.insert(record.picture.pixels.end(), count, colours[colour]);
    }
    if (record.picture.pixels.size() != expected) return fail("too few pixels in " + name);
    (*records)[name] = std::move(record);
  }
  return true;
}

std::string encode_text(const TextRecord& record) {
  std::ostringstream line;
  line << "text " << record.height;
  for (int value : record.values) line << ' ' << value;
  line << " |" << record.text << '\n';
  return line.str();
}

bool parse_text(const std::string& text, size_t value_count, std::vector<TextRecord>* records,
                std::string* error) {
  std::istringstream in(text);
  std::string line;
  int line_number = 0;
  while (std::getline(in, line)) {
    ++line_number;
    if (line.empty() || line[0] == '#') continue;
    const size_t bar = line.find('|');
    TextRecord record;
    std::istringstream head(line.substr(0, bar));
    std::string keyword;
    head >> keyword >> record.height;
    for (int value; head >> value;) record.values.push_back(value);
    if (bar == std::string::npos || keyword != "text" || !head.eof() ||
        record.values.size() != value_count) {
      *error = "line " + std::to_string(line_number) + ": bad text record";
      return false;
    }
    record.text = line.substr(bar + 1);
    records->push_back(std::move(record));
  }
  return true;
}

}  // namespace gdi_reference
