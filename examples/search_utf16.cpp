// Searches a UTF-16 text for a search word with Quill's search engine and prints
// every hit with its word and sentence number.
//
//   search_utf16 FILE WORD      FILE is UTF-16 (little-endian, with or without a
//                               byte-order mark); WORD uses the search-word syntax
//                               ("jur*", "jury/juries" ...)
//   search_utf16                searches a short text of its own for "jur*"
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "quillrt/framework/strings.h"
#include "quillrt/search/search_engine.h"
#include "quillrt/search/search_word_syntax.h"

namespace {

constexpr std::uint32_t kEnglish = 0x0409;

// The file's text: UTF-16 little-endian, its byte-order mark dropped.
std::u16string ReadUtf16(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot open ") + path);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) | static_cast<std::uint8_t>(bytes[i + 1]) << 8);
  }
  if (!text.empty() && text.front() == u'\uFEFF') text.erase(0, 1);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quill;
  try {
    const std::u16string text = argc > 1 ? ReadUtf16(argv[1])
                                         : u"The jury said it did find that many of Georgia's registration "
                                           u"laws are outmoded. The jurors named as foreman a local man. "
                                           u"Juries rarely agree so fast.";
    UnicodeString typed = argc > 2 ? Utf8ToUtf16(argv[2]) : UnicodeString(u"jur*");

    // What the user typed becomes a search word with its flags and case copies.
    TSearch_word_format_rec word;
    Parsed_SearchWord(TIgnore_tag_type{}, typed, word);

    // The engine classifies the buffer itself and calls back for every hit.
    TSearchAndDoEngine engine(/*buffer in UTF-16*/ true, /*search words in UTF-16*/ true, kEnglish);
    int hits = 0;
    engine.PrepareFirst(
        text.c_str(), static_cast<std::int32_t>(text.size() * 2), 0,
        [&](TObject*, const TSearchFound_Rec& found) {
          const std::u16string hit(text, static_cast<std::size_t>(found.hit_pos_in_characters),
                                   static_cast<std::size_t>(found.hit_characters));
          std::cout << "word " << found.count_stats.number[word_stats] + 1 << ", sentence "
                    << found.count_stats.number[sentence_stats] + 1 << ": " << Utf16ToUtf8(hit) << "\n";
          ++hits;
          return true;
        },
        nullptr);
    engine.SearchAndDo(&word);
    std::cout << hits << " hit(s)\n";
    return hits > 0 ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "search_utf16: " << e.what() << "\n";
    return 2;
  }
}
