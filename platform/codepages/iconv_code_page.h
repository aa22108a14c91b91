#pragma once
// Code pages other than UTF-8, through the system's iconv. A single-byte page is read once
// into tables, so converting is a look-up per byte; a multi-byte page converts through iconv
// each time, resuming after every byte or character it cannot take.
#include <cstddef>
#include <memory>
#include <string_view>


namespace codepages {

struct SingleByteTables;

class IconvPage {
 public:
  virtual ~IconvPage() = default;
  // Undecodable bytes become U+FFFD. Decode writes exactly DecodedUnits units.
  virtual std::size_t DecodedUnits(const unsigned char* bytes, std::size_t n) const = 0;
  virtual void Decode(const unsigned char* bytes, std::size_t n, char16_t* units) const = 0;
  // Characters the page cannot hold, and unpaired surrogates, become `replacement` (the
  // page's own default character when empty); *replaced, when asked for, tells whether that
  // happens. Encode writes exactly EncodedBytes bytes.
  virtual std::size_t EncodedBytes(const char16_t* units, std::size_t n, std::string_view replacement,
                                   bool* replaced) const = 0;
  virtual void Encode(const char16_t* units, std::size_t n, std::string_view replacement, char* bytes) const = 0;
  // The byte tables of a single-byte page; null for other pages.
  virtual const SingleByteTables* Tables() const { return nullptr; }
};

// The page for a Windows code-page number other than 65001 (0 is Windows-1252); null when
// the system knows no such character set. Pages are loaded once and kept.
std::shared_ptr<const IconvPage> FindIconvPage(unsigned codePage);

}  // namespace codepages
