#pragma once
// The callback shapes used across the libraries.
//
// Callbacks "bound to an object" are std::function values: they carry the code
// and whatever object it needs. An empty value means that there is no callback,
// and callers test for that before calling.
//
// The plain (unbound) function types are ordinary function pointers. Those that
// handle zero-terminated character buffers take untyped pointers so that one
// routine can be written for the 8-bit and the UTF-16 family alike; counts are
// in characters of the family concerned.
#include <cstdint>
#include <functional>

#include "quillrt/framework/strings.h"
#include "quillrt/process/yield.h"

namespace quill {

// The common base of objects that send events (the "Sender" of an event).
class TObject {
 public:
  virtual ~TObject() = default;
};

// --- bound to an object ---------------------------------------------------
// TYieldProcessProc (no arguments) is declared with the yield hook.
using TSeedFunct = std::function<void()>;
using TBoolFunct = std::function<bool()>;
using TBoolObjectEvent = std::function<bool(TObject* Sender)>;
using TProgressProc = std::function<void(std::int32_t percent)>;
using TMessageStringEvent = std::function<void(const UnicodeString& aMessage)>;
using TLineShowMessageEvent = std::function<void(TObject* Sender, std::int32_t item_num, std::int32_t items_count,
                                                 std::int32_t line_number, std::int32_t out_of)>;
using TGetAWordAsStringFunct = std::function<UnicodeString(std::int32_t word_number)>;
using TPointerOfObjectProc = std::function<void(void* a)>;
// Compares one item with a reference the callee holds (for instance the base
// item of a partition pass): negative, zero or positive.
using TCompareFunctOfObject = std::function<std::int32_t(const void* a)>;
// Compares two items: negative, zero or positive.
using TCompare2FunctOfObject = std::function<std::int32_t(const void* a, const void* b)>;

// --- plain functions --------------------------------------------------------
// Three-way comparison of two items: negative when a orders before b, zero when
// equal, positive after.
using TCompareFunct = std::int32_t (*)(const void* a, const void* b);
using TCompareStringFunct = std::int32_t (*)(const UnicodeString& a, const UnicodeString& b);
using TCompareFunctInt = std::int32_t (*)(std::int32_t a, std::int32_t b);
// Locale-aware comparisons of zero-terminated UTF-16 strings under the locale
// identifier `locale`: the plain form uses the process's default comparison
// options, the sensitive form says whether case matters, the bounded form
// compares the first a_count and b_count characters (-1: up to the NUL).
using TCompareLCIDFunct = std::int32_t (*)(std::uint32_t locale, const WideChar* a, const WideChar* b);
using TCompareLCIDSensitiveFunct = std::int32_t (*)(std::uint32_t locale, const WideChar* a, const WideChar* b,
                                                    bool case_sensitive);
using TCompareLCIDBoundedFunct = std::int32_t (*)(std::uint32_t locale, const WideChar* a, std::int32_t a_count,
                                                  const WideChar* b, std::int32_t b_count);
// Frees a block made by one of the allocating functions below.
using TDeleteFunct = void (*)(void* block);
// Does something with one item.
using TPointerProc = void (*)(void* item);
// A new zero-terminated copy of the whole zero-terminated `source`.
using TNewFunct = void* (*)(const void* source);
// A new zero-terminated copy of `count` characters of `source`.
using TNewLenFunct = void* (*)(const void* source, std::int32_t count);
// A new zero-filled block with room for `count` characters and a terminating NUL.
using TAllocFunct = void* (*)(std::int32_t count);
// The count of characters before the terminating NUL.
using TStrLenFunct = std::int32_t (*)(const void* text);
// Copies at most `max_count` characters of `source` to `dest` and a NUL after
// them; returns dest.
using TStrLCopyFunct = void* (*)(void* dest, const void* source, std::int32_t max_count);

}  // namespace quill
