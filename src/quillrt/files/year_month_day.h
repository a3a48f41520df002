#pragma once
// A calendar date as three numbers, as the date functions pass it around.
#include <cstdint>

namespace quill {

struct TYearMonthDay {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  friend bool operator==(const TYearMonthDay&, const TYearMonthDay&) = default;
};

}  // namespace quill
