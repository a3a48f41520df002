#pragma once
// The search-word syntax: what a user types into a search box, turned into the
// parsed record whose search text carries the matcher's internal codes.
//
// The language, by example:
//   cat/dog        two alternatives (SplitSWList)
//   *ing  work*    no left / no right word boundary
//   ==May==        case-sensitive
//   ~the           a word to avoid
//   colo?r         ? any one character, ^ any letter, # a run of digits,
//   hous*s         * any characters (up to what follows it)
//   the * of       a lone * between spaces: any one word
//   /\word  word/\ a line break before / after the word
//   "*" "/" "?"    a quoted special character stands for itself
//   {CHR(9)} #x41; character codes (readable notation)
//   cat context:=dog   the context word that must accompany a hit
// and the tag characters of the collection's ignore_tags (such as < and >),
// which become the matcher's tag-open and tag-close codes.
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/search/search_word_record.h"
#include "quillrt/text/wanted_word_matcher.h"

namespace quill {

// ---------------------------------------------------------------------------
// Symbols

// An asterisk standing alone between spaces: any one word.
inline constexpr std::u16string_view any_word_symbol_char = u" * ";
// The any-string symbol. Its first brace becomes any_string_code and the other
// two stay; the matcher gives that code no meaning of its own.
inline constexpr std::u16string_view any_string_symbol_str = u"}}}";
inline constexpr WideChar any_string_code = 0x0015;
// The line-break symbol, read at the start or the end of a search word. At the
// end it becomes a carriage return, at the start a line feed: the two halves of
// the CR LF that ends a line, so that "day/\" finds a "day" that ends a line and
// "/\The" a "The" that starts one.
inline constexpr std::u16string_view crlf_symbol_string = u"/\\";
inline constexpr WideChar crlf_symbol_at_end = u'\r';
inline constexpr WideChar crlf_symbol_at_start = u'\n';
// Separates a search word from its context word.
inline constexpr std::u16string_view context_word_marker = u" context:=";

// The wildcards of tag patterns and their internal codes.
enum tag_wildcards_type : std::uint8_t { not_type, any_letter_type, asterisk_type, question_type, hash_type };
enum tag_conversion_type : std::uint8_t { original_char, replacement_char };
inline constexpr std::array<std::array<WideChar, 2>, 5> tag_wildcards_converters = {{
    {u'~', 0x001F},
    {u'^', pattern_any_letter},
    {u'*', pattern_star},
    {u'?', pattern_any_char},
    {u'#', pattern_digit_run},
}};

// The quoted forms that stand for a special character taken literally, in the
// order they are retained. While the rest of a word is parsed, literal i is held
// as the single character retained_literal_base + i.
inline constexpr std::array<std::u16string_view, 11> retained_literals = {
    u"\"^\"", u"\"/\"", u"\"*\"", u"\"==\"", u"\"?\"", u"\":\\\"", u"\"<\"", u"\">\"", u"\"#\"", u"\"}}}\"", u"\"/\\\"",
};
inline constexpr WideChar retained_literal_base = 0xE000;

// The tag characters of a collection: [tag_on][k] opens what [tag_off][k]
// closes, for six slots k; a zero character marks a slot unused.
enum tag_on_off_type : std::uint8_t { tag_on, tag_off };
using TIgnore_tag_type = std::array<std::array<WideChar, 6>, 2>;

// ---------------------------------------------------------------------------
// Markers

// Reads and strips the markers of a search word. Starts from both bounds; an
// empty text keeps them. Only the first character is looked at for a leading
// marker: "*" (deleted; no left bound), "==" when the text is at least four
// characters and also ends with "==" (both pairs deleted; case-sensitive), or
// "~" (deleted; a word to avoid). Then a trailing "*" is deleted and the right
// bound dropped. "==*ing==" is case-sensitive and keeps its star.
QUILLRT_API TMySearchFlags FlagsFromSW(UnicodeString& sw);

// The markers written back around a text: "*" before it without the left bound,
// "*" after it without the right bound, then "==" on both sides when case-
// sensitive. The avoid marker is not written.
QUILLRT_API UnicodeString SWStringPlusFlags(const UnicodeString& sw, TMySearchFlags flags);

// ---------------------------------------------------------------------------
// Splitting and parsing

// The alternatives of a typed entry, in a new list. Without split_at_slashes the
// whole text is the one alternative. Otherwise each "/" that is neither the first
// nor the last character and has no double quote on either side ends an
// alternative, except the "/" of a line-break symbol that ends the text.
// Alternatives are not trimmed; empty ones are not added. On return `s` holds
// what followed the last split.
QUILLRT_API std::unique_ptr<TStringList> SplitSWList(UnicodeString& s, bool split_at_slashes);

// The full parse of one alternative into `rec` (every field not set here is
// zero): the context word is split off, Parse_SWChunk transforms the rest, the
// search text is that without leading and trailing spaces, `ambiguous` says
// whether it differs from the typed text or holds a wildcard code, and the four
// copies are made. `s` is left holding the transformed text.
QUILLRT_API void Parsed_SearchWord(const TIgnore_tag_type& ignore_tags, UnicodeString& s,
                                   TSearch_word_format_rec& rec);

// The record of a text taken as it is: only the markers are read (and stripped
// from `s`); `ambiguous` says whether the text changed.
QUILLRT_API void UnParsed_SearchWord(UnicodeString& s, TSearch_word_format_rec& rec);

// Fills the four copies from the search text: unchanged, upper and lower case
// (locale-independent, one unit for one unit), and the title copy.
QUILLRT_API void SetSearchWordCopies(TSearch_word_format_rec& rec);

// The transformation at the heart of the parse, in this order: markers read
// and stripped; quoted literals retained; a lone " * " becomes the any-word
// code; the wildcard characters become their codes; the line-break symbol at the
// end and at the start becomes its character; tag characters become tag codes
// (`contains_a_tag`); readable notation is converted; quoted literals are
// restored as the characters they stand for.
QUILLRT_API void Parse_SWChunk(const TIgnore_tag_type& ignore_tags, bool& contains_a_tag, UnicodeString& s,
                               TMySearchFlags& flags);

// "^", "#", "*" and "?" become the any-letter, digit-run, star and any-character
// codes, then the first brace of each "}}}" becomes any_string_code. The result
// is that of the last translation: whether there was a "}}}".
QUILLRT_API bool DoMainParse_Translates(UnicodeString& s);

// For each tag slot in order, the open character becomes the tag-open code and,
// when there was one, the close character the tag-close code. True when some
// slot was paired: its open character was there and so was its close character
// (or it has none).
QUILLRT_API bool ContainsPairedTagMarkup(const TIgnore_tag_type& ignore_tags, UnicodeString& s);

// At each occurrence of `sub` (scanning left to right, an occurrence may start
// inside a translated one), its first character becomes `code`. True when there
// was any.
QUILLRT_API bool Parse_Translate(UnicodeString& s, std::u16string_view sub, WideChar code);

// Retained literal i becomes base + i, and back.
QUILLRT_API void Parse_Retain(UnicodeString& s, WideChar base);
QUILLRT_API void Parse_Restore(UnicodeString& s, WideChar base);
// One literal: every occurrence becomes `code`; and every `code` becomes the
// literal without its double quotes (and blanks). True when anything changed.
QUILLRT_API bool Parse_RetainOne(UnicodeString& s, std::u16string_view literal, WideChar code);
QUILLRT_API bool Parse_RestoreOne(UnicodeString& s, std::u16string_view literal, WideChar code);

// ---------------------------------------------------------------------------
// Tag patterns

// The tag-pattern form of the wildcards: for each kind in the table's order,
// once: when its character occurs quoted ("*"), the first quoted occurrence loses
// its quotes and stands for itself; otherwise its first occurrence becomes the
// kind's code.
QUILLRT_API UnicodeString TagWildcardConverted(const UnicodeString& s);

// A copy in which each "<" that has a ">" after it becomes the tag-open code and
// the first ">" after it the tag-close code (a "<" between them stays): the form
// the search engine expects of markup when a search word holds tag codes.
QUILLRT_API UnicodeString CleanToTagOnOff(const UnicodeString& s);

}  // namespace quill
