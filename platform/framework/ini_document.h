#pragma once
// The text of a Windows-style INI file: "[section]" headers, "key=value" lines, ";" and "#"
// comments. Look-ups and edits work on the text itself, so that everything an edit does not
// touch (other sections and keys, comments, blank lines, line ends, odd lines) stays byte
// for byte as it was.
//
// Section and key names compare without regard to ASCII case; the first section of a name
// and the first key of a name inside it are the ones that count. A line holding control
// bytes (binary junk) is kept but never read.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
 public:
  explicit IniDocument(std::string_view text = {});

  // The value without surrounding blanks or one pair of matching quotes; nullopt when absent.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Replaces the key's value, or adds the key at the end of its section, or adds the section
  // at the end of the text. False (and no change) when the names or the value cannot be
  // written as one INI line that reads back the same.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;

 private:
  enum class Kind { Blank, Section, Key, Other };
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", "\r" or "" for a last line without one
    Kind kind = Kind::Other;
    std::string name;  // section or key name, trimmed
    std::string value;  // key value, decoded
  };

  static Line Parse(std::string text, std::string end, bool first);
  std::optional<size_t> FindSection(std::string_view section) const;
  void Insert(size_t at, std::string text);

  std::vector<Line> lines_;
  std::string newline_ = "\r\n";
};
