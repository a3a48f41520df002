#pragma once
// Word and n-gram lists as (line, frequency) pairs in UTF-8, for readable
// expectations and failure messages.
#include <string>
#include <utility>
#include <vector>

#include "quillrt/framework/string_list.h"
#include "quillrt/process/yield.h"

namespace quill::testing {

using Counts = std::vector<std::pair<std::string, long>>;

inline Counts CountsOf(const TStringList& list) {
  Counts counts;
  for (int i = 0; i < list.Count(); ++i) counts.emplace_back(Utf16ToUtf8(list[i]), static_cast<long>(list.GetObject(i).AsInt()));
  return counts;
}

// Sets the yield hook for the life of the object and puts the old one back.
class YieldHookScope {
 public:
  explicit YieldHookScope(TYieldProcessProc hook) : saved_(std::move(AYieldProcessProc)) {
    AYieldProcessProc = std::move(hook);
  }
  ~YieldHookScope() { AYieldProcessProc = std::move(saved_); }
  YieldHookScope(const YieldHookScope&) = delete;
  YieldHookScope& operator=(const YieldHookScope&) = delete;

 private:
  TYieldProcessProc saved_;
};

}  // namespace quill::testing
