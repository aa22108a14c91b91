#pragma once
// Textrope: one binary-safe byte value (NUL bytes and blanks are ordinary bytes), a queue
// of lines, a few state flags and the text of the last error.
//
// Conventions shared by every method:
// - Every method is virtual and methods reach one another through the object, so a
//   derived class changes the behaviour of every method that relies on the one it overrides.
// - Positions are 1-based and inclusive. Out-of-range positions clamp or give an empty
//   result; they are never an error. ULONG positions are compared in 64-bit arithmetic,
//   so a caller's -1 is simply a position far beyond the end.
// - Text arguments keep their trailing blanks unless a method says it clips them.
// - Methods that can fail return 1 or 0 and record the failure through ErrorTrap in
//   `lastError` (and `winErrorCode` for system failures); nothing throws.
// - One object is used by one thread at a time.
//
// The class is declared in blocks, one per group of methods; each block's methods live in
// their own textrope_<group>.cpp.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"
#include "textrope/typed_variables.h"

// One row of the lines queue: the line's own bytes.
struct LinesGroupType {
  std::string Line;
};

// A large-object field of the data layer: its size and its bytes.
using BLOB = std::vector<BYTE>;

class Textrope {
 public:
  Textrope() = default;
  virtual ~Textrope();
  Textrope(const Textrope&) = delete;
  Textrope& operator=(const Textrope&) = delete;

  // ---- Value, lengths, slicing, errors and trace (textrope_value.cpp) ----

  // The value becomes newValue, without its trailing blanks when pClip is non-zero.
  // An empty result frees the value and leaves the flags alone.
  virtual void SetValue(std::string_view newValue, LONG pClip = 0);
  virtual void Assign(std::string_view newValue);
  // pClip bit 0: clip the whole result; bit 1: an empty or all-blank newValue adds nothing.
  // The separator is placed only between an existing value and the new text.
  virtual void AppendA(std::string_view newValue, LONG pClip = 0, std::string_view pSep = {});
  virtual void Append(std::string_view newValue, LONG pClip = 0, std::string_view pSep = {});
  // As Append, at the front; the new text always loses its trailing blanks.
  virtual void Prepend(std::string_view newValue, LONG pClip = 0, std::string_view pSep = {});
  // Appends the first pLength (1 to 4) bytes of pValue, least significant first.
  virtual void AppendBinary(LONG pValue, LONG pLength);
  // Cuts the value, or pads it with blanks, to exactly newLength bytes.
  virtual void SetLength(LONG newLength);
  // Empties the value; with pLines non-zero also the lines.
  virtual void Free(LONG pLines = 0);
  virtual void FreeLines();

  virtual std::string GetValue();
  virtual std::string GetValue(LONG maxLen);
  virtual std::string GetVal();
  virtual LONG Length();
  virtual LONG LengthA();
  virtual LONG Len();
  // Length without trailing blanks.
  virtual LONG ClipLength();
  virtual LONG ClipLen();
  // Bytes pStart..pEnd; pEnd 0 or beyond the end means the end, pStart 0 means 1.
  virtual std::string Slice(ULONG pStart, ULONG pEnd);
  // pLength bytes from pStart, cut at the end of the value.
  virtual std::string Sub(ULONG pStart, ULONG pLength);
  // The value becomes bytes pStart..pEnd (pEnd 0: the end). A start of 0, a start beyond
  // the end or after pEnd leaves the value alone.
  virtual void Crop(ULONG pStart, ULONG pEnd);
  // A new NUL-terminated copy of the clipped value, followed by a second NUL.
  virtual std::unique_ptr<char[]> ToCString();
  // The MD5 digest of the value as 32 lower-case hexadecimal digits.
  virtual std::string MD5();

  // Records an error in lastError; with logErrors set also traces it (and the system
  // error text when winErrorCode is set).
  virtual void ErrorTrap(std::string_view methodName, std::string_view errorMessage);
  // The system's text for an error code, with its own line end.
  virtual std::string FormatMessage(LONG err);
  // Writes pMsg (or, omitted, the whole value) to the debug output, prefixed "[tx] "
  // unless it already holds a "[". Stops at the first NUL byte.
  virtual void Trace(std::optional<std::string_view> pMsg = std::nullopt);

  // ---- Search, replace and compare (textrope_search.cpp) ----
  // pNoCase 1 compares both sides upper-cased. Whole words are bounded by bytes other than
  // ASCII letters and digits. pEnd 0 (or below) means the end of the value.

  // Position of the first match at or after pStart that ends at or before pEnd, or 0.
  // A pStep above 1 tests every pStep-th position and answers the step number.
  virtual LONG Instring(std::string_view pSearchValue, LONG pStep = 1, LONG pStart = 1, LONG pEnd = 0,
                        LONG pNoCase = 0, LONG pWholeWord = 0);
  // Number of matches; softClip non-zero counts matches that only start inside the window;
  // pOverlap non-zero counts overlapping matches.
  virtual LONG Count(std::string_view pSearchValue, LONG pStep = 1, LONG pStart = 1, LONG pEnd = 0,
                     LONG pNoCase = 0, LONG softClip = 0, LONG pOverlap = 0);
  // Replaces up to pCount (0: every) matches inside the window and answers how many were
  // replaced. pRecursive repeats the passes until nothing is left to replace; it is refused
  // (an error, value unchanged) when the old text occurs in the new one.
  virtual LONG Replace(std::string_view pOldValue, std::string_view pNewValue, LONG pCount = 0, LONG pStart = 1,
                       LONG pEnd = 0, LONG pNoCase = 0, LONG pRecursive = 0);
  // The text between the first pLeft and the following pRight (markers included unless
  // pExclusive is 1); pStart and pEnd become the positions of that text.
  virtual std::string FindBetween(std::string_view pLeft, std::string_view pRight, LONG& pStart, LONG& pEnd,
                                  LONG pNoCase = 0, LONG pExclusive = 0);
  virtual std::string Between(std::string_view pLeft, std::string_view pRight, LONG pStart = 1, LONG pEnd = 0,
                              LONG pNoCase = 0, LONG pExclusive = 0);
  // The bytes before (after) the first match.
  virtual std::string Before(std::string_view pSearchValue, LONG pStart = 1, LONG pEnd = 0, LONG pNoCase = 0);
  virtual std::string After(std::string_view pSearchValue, LONG pStart = 1, LONG pEnd = 0, LONG pNoCase = 0);
  // Changes letter case in place, leaving stretches between the quote bytes alone (the end
  // quote is pQuote's when pQuoteEnd is empty).
  virtual void Upper(std::string_view pQuote = {}, std::string_view pQuoteEnd = {});
  virtual void Lower(std::string_view pQuote = {}, std::string_view pQuoteEnd = {});
  // The value becomes pLength random characters from the alphabets chosen by pFlags
  // (40h "GCAT", 1 capitals, 2 small letters, 4 digits, 10h punctuation, 20h hexadecimal
  // digits, 8 a capital first) and pAlphabet; the new value is returned.
  virtual std::string Random(LONG pLength, LONG pFlags = 0, std::string_view pAlphabet = {});
  // Position of the first byte in the window equal to pSearchValue's first byte, or 0.
  virtual LONG FindChar(std::string_view pSearchValue, LONG pStart = 1, LONG pEnd = 0);
  // Position where the whole of pSearchValue first lies inside the window, or 0.
  virtual LONG FindChars(std::string_view pSearchValue, LONG pStart = 1, LONG pEnd = 0);

  // ---- Lines: split, join, sort (textrope_lines.cpp) ----
  // Line numbers are 1-based positions in `lines`. Every line owns its bytes exactly
  // (binary-safe, trailing blanks kept).

  // The lines become the pieces of the value between occurrences of pSplitStr (matched byte
  // for byte, trailing blanks included). An empty piece is a line of one blank; a boundary at
  // the very end adds no line. With pQuoteStart (and pQuoteEnd, default the same) boundaries
  // inside quotes are text; removeQuotes drops the quotes from the pieces; pClip removes
  // trailing blanks, pLeft leading ones (alone it moves them to the end). A pSeparator that
  // occurs in pQuoteStart lists alternative pairs ("(|[" with ")|]"); pNested counts inner
  // start quotes of a pair whose start and end differ.
  virtual void Split(std::string_view pSplitStr, std::string_view pQuoteStart = {}, std::string_view pQuoteEnd = {},
                     LONG removeQuotes = 0, LONG pClip = 0, LONG pLeft = 0, std::string_view pSeparator = {},
                     LONG pNested = 0);
  // The lines become pieces of numChars bytes; the last holds the rest.
  virtual void SplitEvery(LONG numChars);
  // The value becomes the lines joined by pBoundary. With a quote byte (the first of
  // pQuoteStart; the end byte is pQuoteEnd's first, default the same), lines holding the
  // boundary are quoted unless they already are.
  virtual void Join(std::string_view pBoundary, std::string_view pQuoteStart = {}, std::string_view pQuoteEnd = {});
  // Orders the lines, stably: 1 ignoring case, 2 by bytes, 4 by clipped length; other types
  // leave them.
  virtual void Sort(LONG pSortType);
  // Sorts the items of the value: Split (quotes removed), Sort, Join (quotes put back where
  // an item holds the boundary); the lines are left empty.
  virtual void Sort(LONG pSortType, std::string_view pSplitStr, std::string_view pQuoteStart,
                    std::string_view pQuoteEnd, LONG pClip, LONG pLeft);
  virtual LONG Records();
  // The line's bytes; empty for a line that does not exist.
  virtual std::string GetLine(LONG pLineNumber);
  // Replaces line n; without a line n, inserts as AddLine does.
  virtual void SetLine(LONG pLineNumber, std::string_view pValue);
  // Inserts before line n; a number after the last line appends, one below 1 inserts first.
  virtual void AddLine(LONG pLineNumber, std::string_view pValue);
  // 0 when the line was removed, 1 when there is no such line.
  virtual LONG DeleteLine(LONG pLineNumber);
  // Removes empty and all-blank lines and, with pAlphabet, lines made only of blanks and its
  // characters; answers how many were removed.
  virtual LONG RemoveLines(std::string_view pAlphabet = {});
  // The first of the lines pStart, pStart + pStep, ... pEnd (0: the last) that holds
  // pSearchValue (or with pWholeLine equals it, trailing blanks aside), or 0. A step below 1
  // counts as 1.
  virtual LONG InLine(std::string_view pSearchValue, LONG pStep = 1, LONG pStart = 1, LONG pEnd = 0, LONG pNoCase = 0,
                      LONG pWholeLine = 0);
  // Keeps the lines that hold pInclude (when not blank) and do not hold pExclude (when not
  // blank), ignoring case.
  virtual void Filter(std::string_view pInclude, std::string_view pExclude);

  // ---- Character classes and words (textrope_words.cpp) ----
  // Word separators by text type: 0 (plain text) blank, CR, LF, TAB and the bytes
  // .,-;"'!?&()*/+=<>: ; 1 (HTML) the same, but an "&...;" entity is skipped where a word
  // would begin; 2 the blank alone. An apostrophe followed by a letter belongs to its word.

  // 1 when every byte of pTestString (omitted: the value, which must not be empty) is in the
  // clipped alphabet. An empty pTestString gives 1.
  virtual LONG IsAll(std::string_view pAlphabet, std::optional<std::string_view> pTestString = std::nullopt);
  // 1 when any byte of the clipped alphabet occurs in pTestString (omitted: the value).
  virtual LONG ContainsA(std::string_view pAlphabet, std::optional<std::string_view> pTestString = std::nullopt);
  virtual LONG IsAllDigits();
  virtual LONG ContainsADigit();
  // Whether the value, leading (trailing) blanks aside, starts (ends) with the clipped pStr;
  // pCase 0 ignores case. An empty pStr gives 1.
  virtual LONG StartsWith(std::string_view pStr, LONG pCase);
  virtual LONG EndsWith(std::string_view pStr, LONG pCase);
  // Position of the first byte of the next word at or after pStartPos (pDir 1) or of the
  // word at or before it (pDir -1), else 0 (always 0 for pDir 0).
  virtual LONG WordStart(LONG pStartPos, LONG textType = 0, LONG pDir = 1);
  // Position of the last byte of the word that begins at pStartPos, else 0.
  virtual LONG WordEnd(LONG pStartPos, LONG textType = 0);
  virtual LONG CountWords(LONG startPos = 1, LONG htmlEnc = 0);
  // Word number pWordNumber counted from startPos, forwards (positive) or backwards
  // (negative); pStart and pEnd become its positions (0 when there is none).
  virtual std::string FindWord(LONG pWordNumber, LONG startPos, LONG htmlEnc, LONG& pStart, LONG& pEnd);
  virtual std::string Word(LONG pWordNumber, LONG startPos = 1, LONG htmlEnc = 0);
  virtual std::string GetWord(LONG pWordNumber, LONG startPos = 1, LONG htmlEnc = 0);
  // The value becomes its words separated by single blanks.
  virtual void Squeeze(LONG textType = 0);

  // ---- URL, colour and quoting codecs (textrope_url.cpp, textrope_codecs.cpp) ----
  // Only the first byte of a delimiter, space or quote argument is used.

  // Percent-style encoding with delimiter pDelimiter (default "%") and space character
  // pSpace (default "+"): letters, digits and - _ ! ~ * ' ( ) are kept, flags 20h also keeps
  // / \ . $, flags 1 or 2 keep blanks (10h writes them escaped); every other byte, the
  // delimiter and the space character are escaped with upper-case hexadecimal digits.
  // Trailing blanks of the result are dropped.
  virtual void UrlEncode(LONG flags, std::string_view pDelimiter = {}, std::string_view pSpace = {});
  // Space characters become blanks, then each escape becomes its byte (upper-case digits
  // only: a byte that is not one adds nothing). A delimiter with fewer than two bytes after
  // it stays as it is.
  virtual void UrlDecode(std::string_view pDelimiter = {}, std::string_view pSpace = {});
  // "rrggbb" (lower case, "#" in front with addHash) of a colour number whose lowest byte is
  // red; empty outside 0 to 0FFFFFFh.
  virtual std::string ColorToHex(LONG claColor, LONG addHash);
  // The colour number of "rrggbb" or "#rrggbb"; -1 when the text is too short.
  virtual LONG ColorFromHex(std::string_view hexCol);
  // Wraps the value in the quotes (default a double quote; the end quote defaults to the
  // start one) unless it already is. A given but empty quote is a blank.
  virtual void Quote(std::optional<std::string_view> pQuoteStart = std::nullopt,
                     std::optional<std::string_view> pQuoteEnd = std::nullopt);
  // Removes the surrounding quotes (default: an apostrophe when the value begins with one,
  // else a double quote); anything else is left alone.
  virtual void Unquote(std::optional<std::string_view> pQuoteStart = std::nullopt,
                       std::optional<std::string_view> pQuoteEnd = std::nullopt);
  // The name (omitted or empty: the value), cut to 256 bytes, with \ / * : ? " < > |
  // replaced by pReplaceChar (default "_") and clipped. Only when pFileName is omitted does
  // the value become the cleaned name.
  virtual std::string CleanFileName(std::optional<std::string_view> pFileName = std::nullopt,
                                    std::optional<std::string_view> pReplaceChar = std::nullopt);
  // Inserts the clipped fragment after the first ">" (pWhere 1) or before the last "<"
  // (pWhere -1); appends it when there is no such place.
  virtual void MergeXml(std::string_view pNew, LONG pWhere);
  // Rewrites every line ending as CR LF (1), CR (2) or LF (3).
  virtual void LineEndings(LONG pEndings);
  // Traces the address and up to pLen bytes found there (a debugging aid). An address that
  // cannot be read is recorded as an error.
  virtual void PeekRam(std::uintptr_t pAdr, LONG pLen);

  // ---- Base64 and encoded words (textrope_base64.cpp) ----
  // Base64 of the standard alphabet with "=" padding; unless base64NoWrap is set, a CR LF
  // follows every 76 characters. Decoding skips bytes outside the alphabet.

  // The value becomes its Base64 text and `base64` 1; an encoded value is left alone.
  virtual void Base64Encode();
  // Encodes the first pLen bytes of the value (below 1 or beyond it: all) into pText, never
  // beyond its size; pLen becomes the number of characters written. Output that does not
  // fit is an error.
  virtual void Base64Encode(std::string& pText, LONG& pLen);
  // The value becomes the bytes its Base64 text spells and `base64` 0.
  virtual void Base64Decode();
  // Decodes the first pLen bytes of the value (below 1 or beyond it: all) into pText;
  // pLen becomes the number of bytes written. A group that does not fit is an error.
  virtual void Base64Decode(std::string& pText, LONG& pLen);
  // Wraps the value as one encoded word "=?charset?B?...?=" (pEncoding 1) or
  // "=?charset?Q?...?=" (any other); the charset defaults to iso-8859-1.
  virtual void EncodedWordEncode(std::string_view pCharset, LONG pEncoding);
  // A value that begins and ends with "=" becomes the text of its encoded words, one per
  // CR LF line; the charset is not converted.
  virtual void EncodedWordDecode();

  // ---- Editing the value in place (textrope_edit.cpp) ----
  // pWhat selects the filler that justification moves: 1 blank, 2 TAB, 4 CR, 8 LF.
  // pPad's first byte pads (a blank when empty).

  // Strips the attributes from every opening tag named pTag ("<td class=a>" -> "<td>").
  virtual void RemoveAttributes(std::string_view pTag);
  // Without pRight: removes every pLeft (at most pCount). With pRight: removes each stretch
  // from pLeft to the following pRight, or with pContentsOnly only the bytes between them.
  // Answers the number of removals.
  virtual LONG Remove(std::string_view pLeft, std::string_view pRight = {}, LONG pNoCase = 0,
                      LONG pContentsOnly = 0, LONG pCount = 0);
  // Removes trailing blanks.
  virtual void Clip();
  // Removes leading and trailing blanks.
  virtual void Trim();
  // The value without leading filler, cut or padded to pLength (0: the value's length).
  virtual std::string Left(LONG pLength = 0, LONG pWhat = 1, std::string_view pPad = {});
  virtual void SetLeft(LONG pLength = 0, LONG pWhat = 1, std::string_view pPad = {});
  // The value without trailing filler, right-aligned in pLength (0: the value's length).
  virtual std::string Right(LONG pLength = 0, LONG pWhat = 1, std::string_view pPad = {});
  virtual void SetRight(LONG pLength = 0, LONG pWhat = 1, std::string_view pPad = {});
  // The value repeated to fill pLength bytes (empty for an empty value or pLength below 1).
  virtual std::string All(LONG pLength);
  virtual void SetAll(LONG pLength);
  virtual std::string Str();
  // The value becomes newValue; answers the new value.
  virtual std::string Str(std::string_view newValue);
  // Overwrites bytes pStart..pEnd with newValue, cut or blank-padded to the slice; pEnd 0
  // takes newValue's own length. The value grows (with blanks) when the slice ends beyond
  // it, never beyond the LONG range, and never shrinks.
  virtual void SetSlice(ULONG pStart, ULONG pEnd, std::string_view newValue);
  // Inserts before pStart; beyond the end the gap is filled with blanks.
  virtual void Insert(ULONG pStart, std::string_view insertValue);

  // ---- Time formatting and parsing (textrope_time.cpp) ----
  // A time number counts hundredths of a second from 1 at midnight (360001 is 01:00).

  // Exactly 15 characters, blank-padded, by a picture "[@][T][0-000]<layout>[sep][B][Z]":
  // layouts 1 h:mm, 2 hmm, 3 h:mmam, 4 h:mm:ss, 5 hhmmss, 6 h:mm:ssam, 7 hh:mm, 8 hh:mm:ss,
  // 91 h:mm:ss:cc, 92 h:mm:ss:ccam (other layouts give blanks). The zeros give the hour two
  // to four digits (else it is right-aligned in four); the separator is "-", ".", "_" (a
  // blank) or "'" (a comma), default ":"; B blanks a time of 0; Z counts from 0.
  virtual std::string FormatTime(LONG pValue, std::string_view pFormat);
  // The value (a number) becomes its formatted time.
  virtual void FormatTime(std::string_view pFormat);
  // The value (free-form text such as "1:30 pm" or "1030") becomes the decimal time number
  // it spells; a text without one is only left-justified.
  virtual void DeformatTime();
  // What DeformatTime leaves for pValue; the value is not touched.
  virtual std::string DeformatTime(std::string_view pValue);
  // 1 when the value is made of digits, ":", blanks and "a", "p", "m" and holds ":", "am" or
  // "pm".
  virtual LONG IsTime();
  virtual LONG IsTime(std::string_view pValue);

  // ---- Hexadecimal and number bases (textrope_hex.cpp) ----
  // Hexadecimal output is lower case unless pCase is 1; input takes either case. Digit
  // values: '0'-'9' are 0-9, letters 10-35 in either case, every other byte 0. None of these
  // records an error.

  // num written in base 2 to 16 without leading zeros; empty for num 0 or below and for any
  // other base.
  virtual std::string DecToBase(LONG num, LONG base = 16, LONG lowerCase = 0);
  // The number spelled by num (trailing blanks ignored). Digits not below base are skipped;
  // sums wrap at 32 bits.
  virtual LONG BaseToDec(std::string_view num, LONG base = 16);
  virtual std::string ByteToHex(BYTE pByte);
  // The byte spelled by one or two characters; 0 for any other length.
  virtual BYTE HexToByte(std::string_view hexVal);
  // Always eight digits, two's complement for negative numbers.
  virtual std::string LongToHex(LONG pLong);
  // Hexadecimal text of the first pLen bytes of binData (0: binData without trailing blanks;
  // never more than binData holds); nothing when there is nothing to encode.
  virtual std::optional<std::string> StringToHex(std::string_view binData, LONG pLen = 0, LONG pCase = 0);
  // The bytes spelled by consecutive character pairs (an odd last character is ignored);
  // nothing when there is not one whole pair.
  virtual std::optional<std::string> HexToString(std::string_view hexData);
  // The value becomes its hexadecimal text (every byte, trailing blanks included).
  virtual void ToHex(LONG pCase = 0);
  // The value (hexadecimal text) becomes the bytes it spells; unchanged when it spells none.
  virtual void FromHex();
  // ---- Gzip and Gunzip (textrope_gzip.cpp) ----
  // The system's zlib is bound on first use through the run-time library services and never
  // linked; a missing library or entry point answers -99 and leaves the value alone. Other
  // failures answer zlib's own code with the value and `gzipped` as they were.

  // Binds zlib once per process (a failed load is tried again, and traced, on the next call).
  virtual void LoadLibs();
  // Compresses the value in place into one complete gzip member at pLevel (-1 default, 0-9)
  // and sets `gzipped`; a value already marked gzipped is left alone (0).
  virtual LONG Gzip(LONG pLevel = -1);
  // Expands a gzip member, a zlib stream, or an unterminated sync-flushed stream that ends on
  // a block boundary, and clears `gzipped`; a value not marked gzipped is left alone (0).
  virtual LONG Gunzip();

  // ---- Byte order (textrope_byte_order.cpp) ----

  // Reverses the bytes of the value in place.
  virtual void ReverseByteOrder();
  // x with its four bytes in reverse order.
  virtual ULONG SwitchEndian(ULONG x);
  // The big-endian form of a native number (swapped on this little-endian machine).
  virtual ULONG BigEndian(ULONG x);
  // The little-endian form of a native number: x itself on this machine.
  virtual ULONG LittleEndian(ULONG x);

  // ---- Text wrapping and bounded copy (textrope_wrap.cpp) ----

  // Breaks the value into lines of at most wrapAt bytes by turning the last blank or vertical
  // tab of each window into CR LF; a window without one is kept whole and unbroken.
  virtual void WrapText(LONG wrapAt);
  // Copies pIn (clipped when pClip is non-zero) into the fixed-length pOut, blank-padded or
  // cut. Answers 0 when it fitted, -1 when pOut has no room at all, else the length of pIn.
  virtual LONG StrCpy(std::string_view pIn, std::string& pOut, LONG pClip = 0);

  // ---- Files and blobs (textrope_file.cpp) ----
  // File names lose their trailing blanks and are otherwise used whole; a name holding a NUL
  // byte is refused. The bytes go both ways untranslated.

  // Reads the file into the value: all of it, or pLength bytes (0: to the end) from byte
  // pOffset (0-based; a negative offset counts back from the end, and one reaching before
  // the start means the start). Never reads more than the file holds; `bytes` is the count
  // read. 1, or 0 with the error recorded and the value unchanged (a failed read empties it).
  virtual LONG LoadFile(std::string_view fileName, LONG pOffset = 0, LONG pLength = 0);
  // Writes the value to the file, replacing it or (pAppendFlag) adding to its end.
  virtual LONG SaveFile(std::string_view fileName, LONG pAppendFlag = 0);
  // Writes the first dataLen bytes of writeString (all of them for 0 or below). The new
  // contents go to a temporary file first, which then replaces the old file, so a failure
  // leaves the old file as it was. 1, or 0 with the error recorded.
  virtual LONG SaveFile(std::string_view writeString, std::string_view fileName, LONG pAppendFlag, LONG dataLen);
  virtual LONG SaveFileA(std::string_view writeString, std::string_view fileName, LONG pAppendFlag = 0);
  // Parts of a path ('\' separators, else '/'); an omitted path means the value.
  virtual std::string PathOnly(std::optional<std::string_view> fPath = std::nullopt);
  virtual std::string FileNameOnly(std::optional<std::string_view> fPath, LONG pIncludeExtension);
  virtual std::string ExtensionOnly(std::optional<std::string_view> fPath = std::nullopt);
  // The value into the blob, or the whole blob into the value; 0 for no blob (and for an
  // empty one when reading).
  virtual LONG ToBlob(BLOB* blob);
  virtual LONG FromBlob(BLOB* blob);
  // ---- Character-set conversion (textrope_charset.cpp) ----
  // Code pages: 65001 UTF-8, 20127 US-ASCII, 0 the ANSI page (Windows-1252), any other n the
  // system's "CPn". UTF-16 travels as a byte string of 2 bytes per unit, little-endian. A
  // result is a new exact-size byte string, or none on failure (never an empty one); every
  // conversion goes through UTF-16. Undecodable bytes become U+FFFD, characters the target
  // page cannot hold "?".

  // The ANSI text without its trailing blanks, as UTF-16; unicodeChars gets the unit count.
  virtual std::optional<std::string> AnsiToUtf16(std::string_view strAnsi, LONG& unicodeChars, ULONG codePage);
  // The first unicodeChars units (no more than the string holds) in the code page; ansiLen
  // gets the byte count.
  virtual std::optional<std::string> Utf16ToAnsi(std::string_view unicodeString, LONG unicodeChars, LONG& ansiLen,
                                                 ULONG codePage);
  // The whole UTF-8 text, trailing blanks included, as UTF-16.
  virtual std::optional<std::string> Utf8To16(std::string_view strUtf8, LONG& unicodeChars);
  // unicodeChars 0: every whole unit of the string.
  virtual std::optional<std::string> Utf16To8(std::string_view unicodeString, LONG unicodeChars, LONG& utf8Len);
  virtual std::optional<std::string> Utf8ToAnsi(std::string_view strUtf8, LONG& ansiLen, ULONG pCodePage);
  virtual std::optional<std::string> AnsiToUtf8(std::string_view strAnsi, LONG& utf8Len, ULONG pCodePage);
  // As Utf8ToAnsi and AnsiToUtf8 with US-ASCII.
  virtual std::optional<std::string> ApiUtf8ToAnsi(std::string_view strUtf8, LONG& ansiLen);
  virtual std::optional<std::string> ApiAnsiToUtf8(std::string_view strAnsi, LONG& utf8Len);
  // Converts the value, which is in encoding (0: as `encoding` says; 1 UTF-8, 2 UTF-16), to
  // the code page; `encoding` becomes 0. Answers 1 when converted.
  virtual LONG ToAnsi(LONG encoding, ULONG pCodePage);
  // Converts the ANSI value (code page pCodePage) to UTF-8 (encoding 1) or UTF-16 (2); sets
  // `encoding` and `wideChars`. Refused while `encoding` is not 0. Answers 1 when converted.
  virtual LONG ToUnicode(LONG encoding, ULONG pCodePage);

  // ---- Typed binary packing (textrope_packing.cpp) ----
  // A variable's bytes are its in-memory image: integers little-endian, reals IEEE 754,
  // DECIMAL its packed storage, CSTRING its text without the terminating zero, a fixed-length
  // text (std::string) all of its bytes. Where two sizes differ an assertion report goes to
  // the debug output and the target is cleared (zero bytes, 0, or an empty text); nothing is
  // copied and lastError is not touched.

  // bVals (as long as the variable's bytes) receives them.
  virtual void ToBytes(const BYTE& pVal, std::string& bVals);
  virtual void ToBytes(const SHORT& pVal, std::string& bVals);
  virtual void ToBytes(const USHORT& pVal, std::string& bVals);
  virtual void ToBytes(const LONG& pVal, std::string& bVals);
  virtual void ToBytes(const ULONG& pVal, std::string& bVals);
  virtual void ToBytes(const SREAL& pVal, std::string& bVals);
  virtual void ToBytes(const REAL& pVal, std::string& bVals);
  virtual void ToBytes(const DECIMAL& pVal, std::string& bVals);
  virtual void ToBytes(const CSTRING& pVal, std::string& bVals);
  virtual void ToBytes(const std::string& pVal, std::string& bVals);
  // The variable receives bVals, which must be as long as its bytes (for a CSTRING: its
  // current text).
  virtual void FromBytes(std::string_view bVals, BYTE& pVal);
  virtual void FromBytes(std::string_view bVals, SHORT& pVal);
  virtual void FromBytes(std::string_view bVals, USHORT& pVal);
  virtual void FromBytes(std::string_view bVals, LONG& pVal);
  virtual void FromBytes(std::string_view bVals, ULONG& pVal);
  virtual void FromBytes(std::string_view bVals, SREAL& pVal);
  virtual void FromBytes(std::string_view bVals, REAL& pVal);
  virtual void FromBytes(std::string_view bVals, DECIMAL& pVal);
  virtual void FromBytes(std::string_view bVals, CSTRING& pVal);
  virtual void FromBytes(std::string_view bVals, std::string& pVal);
  // The value becomes the variable's bytes.
  virtual void SetBytes(const BYTE& pVal);
  virtual void SetBytes(const SHORT& pVal);
  virtual void SetBytes(const USHORT& pVal);
  virtual void SetBytes(const LONG& pVal);
  virtual void SetBytes(const ULONG& pVal);
  virtual void SetBytes(const SREAL& pVal);
  virtual void SetBytes(const REAL& pVal);
  virtual void SetBytes(const DECIMAL& pVal);
  virtual void SetBytes(const CSTRING& pVal);
  virtual void SetBytes(const std::string& pVal);
  // The variable receives the value's bytes (FromBytes).
  virtual void GetBytes(BYTE& pVal);
  virtual void GetBytes(SHORT& pVal);
  virtual void GetBytes(USHORT& pVal);
  virtual void GetBytes(LONG& pVal);
  virtual void GetBytes(ULONG& pVal);
  virtual void GetBytes(SREAL& pVal);
  virtual void GetBytes(REAL& pVal);
  virtual void GetBytes(DECIMAL& pVal);
  virtual void GetBytes(CSTRING& pVal);
  virtual void GetBytes(std::string& pVal);
  // The value becomes the variable, read as the type named by pType ("BYTE", "SHORT",
  // "USHORT", "LONG", "ULONG", "SREAL", "REAL", "DECIMAL" as a REAL, "STRING", "CSTRING";
  // case counts, trailing blanks do not). The value is emptied first. 1, or 0 with the error
  // recorded for an unknown type or an empty text.
  virtual LONG SetBytes(VariableRef pVal, std::string_view pType);
  // The variable receives the value read as the type named by pType. 1; 0 with the error
  // recorded for an unknown type (the variable unchanged), or with an assertion report and 0
  // assigned when the value's length is not the type's.
  virtual LONG GetBytes(VariableRef pVal, std::string_view pType);

  // ---- State ----

  // The value, always exactly as long as its bytes (no reserve is kept).
  std::string value;
  std::vector<LinesGroupType> lines;
  // System error code of the last failing system call (0 for failures of our own making).
  LONG winErrorCode = 0;
  // Non-zero: every trapped error is also traced.
  LONG logErrors = 0;
  LONG gzipped = 0;
  // 1 after the value was Base64-encoded; cleared when a new value is set or loaded.
  LONG base64 = 0;
  LONG base64NoWrap = 0;
  // Character coding of the value: 0 ANSI, 1 UTF-8, 2 UTF-16.
  LONG encoding = 0;
  LONG wideChars = 0;
  // Bytes read by the last LoadFile.
  LONG bytes = 0;
  // Text of the last trapped error, at most lastErrorSize bytes; kept until the next error.
  std::string lastError;
  static constexpr std::size_t lastErrorSize = 252;
};
