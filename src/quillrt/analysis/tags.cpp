#include "quillrt/analysis/tags.h"

#include <string_view>

#include "quillrt/framework/sysutils.h"

namespace quill {

namespace {

// prefix + middle + suffix, built by appending (GCC 12 at -O3 warns falsely
// about literal + string concatenations).
UnicodeString Joined(std::u16string_view prefix, std::u16string_view middle, std::u16string_view suffix = {}) {
  UnicodeString result;
  result.reserve(prefix.size() + middle.size() + suffix.size());
  result.append(prefix).append(middle).append(suffix);
  return result;
}

}  // namespace

UnicodeString TagSwitchedOff(const UnicodeString& tag) {
  if (tag.empty()) return tag;
  if (tag.front() == u'<') return Joined(u"</", std::u16string_view(tag).substr(1));
  return Joined(u"/", tag);
}

UnicodeString TagSwitchedOn(const UnicodeString& tag) {
  const std::size_t at = tag.find(u"</");
  if (at == UnicodeString::npos) return tag;
  const std::u16string_view view(tag);
  return Joined(view.substr(0, at + 1), view.substr(at + 2));  // drop the "/"
}

UnicodeString TagOnNumbered(const UnicodeString& tag, int number) {
  if (tag.empty() || tag.back() != u'>') return tag;
  UnicodeString result = tag.substr(0, tag.size() - 1);
  result += u" \"";
  result += IntToStr(number);
  result += u"\">";
  return result;
}

UnicodeString SimpleTagValue(const UnicodeString& tag_name, const UnicodeString& text, bool& found) {
  const UnicodeString open = Joined(u"<", tag_name, u">");
  const UnicodeString close = Joined(u"</", tag_name, u">");
  const std::size_t open_at = text.find(open);
  const std::size_t close_at = text.find(close);
  found = open_at != UnicodeString::npos && close_at != UnicodeString::npos && open_at < close_at;
  if (!found) return {};
  const std::size_t value_at = open_at + open.size();
  return value_at < close_at ? text.substr(value_at, close_at - value_at) : UnicodeString();
}

UnicodeString TrimmedSimpleTagValue(const UnicodeString& tag_name, const UnicodeString& text, bool& found) {
  return Trim(SimpleTagValue(tag_name, text, found));
}

UnicodeString ExtractMarkupDataFromText(const UnicodeString& text, const UnicodeString& start_marker,
                                        const UnicodeString& end_marker) {
  if (start_marker.empty() || end_marker.empty()) return {};
  const std::size_t start_at = text.find(start_marker);
  if (start_at == UnicodeString::npos) return {};
  // The end marker is looked for from where the start marker begins.
  const std::size_t end_at = text.find(end_marker, start_at);
  if (end_at == UnicodeString::npos) return {};
  const std::size_t data_at = start_at + start_marker.size();
  return data_at < end_at ? text.substr(data_at, end_at - data_at) : UnicodeString();
}

UnicodeString WithoutMarkup(const UnicodeString& text, WideChar open_char, WideChar close_char, int max_len) {
  if (max_len < 1) return text;
  const std::size_t n = text.size();
  UnicodeString result;
  result.reserve(n);
  // The next close after i. It is looked for after the open, so that an open
  // and close that are the same character (quotes) delimit a stretch instead of
  // each closing itself. It only moves forwards: a text full of unmatched opens
  // is still read once.
  std::size_t close_at = 0;
  bool close_known = false;
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] != open_char) {
      result += text[i];
      continue;
    }
    if (!close_known || close_at <= i) {
      close_at = text.find(close_char, i + 1);
      if (close_at == UnicodeString::npos) close_at = n;  // just past the end
      close_known = true;
    }
    if (close_at - i <= static_cast<std::size_t>(max_len)) {
      i = close_at;  // the loop steps past the close
    } else {
      result += text[i];
    }
  }
  return result;
}

UnicodeString ParaDivHeadingEndToCRLF(const UnicodeString& text) {
  const TReplaceFlags all_any_case{rfReplaceAll, rfIgnoreCase};
  UnicodeString result = StringReplace(text, u"</p>", u"\r\n", all_any_case);
  result = StringReplace(result, u"</div>", u"\r\n", all_any_case);
  return StringReplace(result, u"</head>", u"\r\n", all_any_case);
}

}  // namespace quill
