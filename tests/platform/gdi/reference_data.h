// The text format of recorded GDI pixels, written by the probe (tools/generators/gdi_probe.cpp) and
// read by the comparison test. One record per scene:
//
//   scene <name> <width> <height>
//   ops <the scene's operations, as gdi_scenes::describe gives them>
//   colours <RRGGBB> <RRGGBB> ...
//   pixels <count><letter> <count><letter> ...
//
// Pixels run row by row from the top-left; letter 'a' names the first colour, 'b' the second,
// and so on. Lines starting with '#' are comments.
//
// Text measures are one line per case: text <height> <value> ... |<the text>
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gdi_reference {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
};

struct Record {
  std::string ops;
  Picture picture;
};

// The record of one scene; `pixels` are width x height values of 0x00RRGGBB (the top byte is
// ignored). At most 26 distinct colours.
std::string encode(const std::string& name, const std::string& ops, const Picture& picture);

// Reads every record of `text`. Returns false and sets `error` on a malformed record.
bool parse(const std::string& text, std::map<std::string, Record>* records, std::string* error);

struct TextRecord {
  int height = 0;
  std::string text;  // without newlines
  std::vector<int> values;
};

std::string encode_text(const TextRecord& record);

// Reads every text line of `text`, each with `value_count` values.
bool parse_text(const std::string& text, size_t value_count, std::vector<TextRecord>* records,
                std::string* error);

}  // namespace gdi_reference
