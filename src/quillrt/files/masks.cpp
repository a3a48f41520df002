#include "quillrt/files/masks.h"

#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"

namespace quill {

void BuildAMask(TMaskList& masks, const UnicodeString& text) {
  masks.clear();
  UnicodeString rest = StringReplace(Trim(text), u"\r\n", u";", rfReplaceAll);
  std::size_t start = 0;
  while (start < rest.size()) {
    const std::size_t semicolon = rest.find(u';', start);
    if (semicolon == UnicodeString::npos) {
      masks.push_back(rest.substr(start));
      break;
    }
    masks.push_back(rest.substr(start, semicolon - start));
    start = semicolon + 1;
  }
}

bool MatchesMask(const UnicodeString& name, const UnicodeString& mask) {
  return !name.empty() && PathMatchSpec(name, mask);
}

int WhereInAMask(const UnicodeString& name, const TMaskList& masks) {
  for (std::size_t i = 0; i < masks.size(); ++i)
    if (!masks[i].empty() && MatchesMask(name, masks[i])) return static_cast<int>(i);
  return -1;
}

}  // namespace quill
