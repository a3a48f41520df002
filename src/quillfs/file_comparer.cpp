#include "quillfs/file_comparer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "quillrt/framework/streams.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/dialogs.h"
#include "quillrt/platform/file_system.h"
#include "quillrt/process/yield.h"

namespace quill {

namespace {

constexpr char16_t kComparisonCaption[] = u"Comparison";
constexpr char16_t kMatches[] = u" matches ";
constexpr char16_t kDoesNotMatch[] = u" doesn't match ";

bool SameDateTime(const TFileStamp& a, const TFileStamp& b) {
  TDateTime da = 0, db = 0;
  const bool ka = TryFileStampToDateTime(a, da), kb = TryFileStampToDateTime(b, db);
  if (!ka || !kb) return ka == kb && a.seconds == b.seconds && a.nanoseconds == b.nanoseconds;
  return da == db;
}

// Reads a file forward in blocks and hands out its bytes one at a time with
// CR, LF and NUL left out.
class TTextWithoutLineEnds {
 public:
  explicit TTextWithoutLineEnds(const UnicodeString& name)
      : stream_(name, fmOpenRead | fmShareDenyNone), buffer_(kCompareBlock) {}
  // The next byte that is not a line end; false at the end of the file.
  bool Next(unsigned char& byte) {
    for (;;) {
      if (at_ == filled_ && !Fill()) return false;
      byte = buffer_[at_++];
      if (byte != 0 && byte != '\n' && byte != '\r') return true;
    }
  }
 private:
  bool Fill() {
    MyYieldProcess();
    filled_ = static_cast<std::size_t>(stream_.Read(buffer_.data(), static_cast<std::int64_t>(buffer_.size())));
    at_ = 0;
    return filled_ > 0;
  }
  TFileStream stream_;
  std::vector<unsigned char> buffer_;
  std::size_t at_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace

float ShareAsPercent(std::int64_t equal, std::int64_t total) {
  if (total <= 0) return 100.0f;
  if (equal >= total) return 100.0f;
  const auto percent = static_cast<float>(static_cast<double>(equal) * 100.0 / static_cast<double>(total));
  return std::min(percent, std::nextafter(100.0f, 0.0f));
}

TFileComparer::TFileComparer(TObject* /*AOwner*/) {}

TFileComparer::~TFileComparer() = default;

float TFileComparer::PercentMatching(bool ignore_CRLF) {
  fAttribs_match = fDates_match = fSizes_match = fContents_match = false;
  CRLFs_were_ignored = false;
  fSize1 = fSize2 = 0;
  TFoundEntry one, two;
  if (!FileExists(fFile1) || !FileExists(fFile2) || !GetFileDetails(fFile1, one) || !GetFileDetails(fFile2, two)) {
    return 0.0f;
  }
  fAttribs_match = one.Attr == two.Attr;
  fDates_match = SameDateTime(one.LastWrite, two.LastWrite);
  fSize1 = static_cast<std::int64_t>(one.Size);
  fSize2 = static_cast<std::int64_t>(two.Size);
  fSizes_match = fSize1 == fSize2;

  float result = BlockComparison();
  if (result < 100.0f && ignore_CRLF) result = LineEndBlindComparison();
  fContents_match = result >= 100.0f;
  if (!fsilent_comparison) ShowVerdict();
  return result;
}

float TFileComparer::BlockComparison() {
  const std::int64_t common = std::min(fSize1, fSize2);
  // Nothing in common to compare: two empty files are the same, an empty file
  // and a non-empty one share nothing.
  if (common == 0) return fSize1 == fSize2 ? 100.0f : 0.0f;
  TFileStream first(fFile1, fmOpenRead | fmShareDenyNone);
  TFileStream second(fFile2, fmOpenRead | fmShareDenyNone);
  const auto block_size = static_cast<std::size_t>(std::min<std::int64_t>(common, kCompareBlock));
  std::vector<unsigned char> a(block_size), b(block_size);
  std::int64_t equal = 0;
  for (std::int64_t done = 0; done < common;) {
    MyYieldProcess();
    const auto length = static_cast<std::int64_t>(std::min<std::int64_t>(common - done, kCompareBlock));
    first.ReadBuffer(a.data(), length);
    second.ReadBuffer(b.data(), length);
    if (OnCheckProgress) OnCheckProgress(static_cast<std::int32_t>(std::llround(static_cast<double>(done) * 100.0 / static_cast<double>(fSize2))));
    if (std::memcmp(a.data(), b.data(), static_cast<std::size_t>(length)) == 0) {
      equal += length;
      done += length;
      continue;
    }
    equal += std::mismatch(a.begin(), a.begin() + length, b.begin()).first - a.begin();
    break;
  }
  return ShareAsPercent(equal, common);
}

float TFileComparer::LineEndBlindComparison() {
  CRLFs_were_ignored = true;
  TTextWithoutLineEnds first(fFile1), second(fFile2);
  std::int64_t equal = 0;
  unsigned char x = 0, y = 0;
  for (;;) {
    const bool more_x = first.Next(x);
    const bool more_y = second.Next(y);
    if (!more_x && !more_y) return 100.0f;  // the texts agree to their ends
    if (more_x && more_y && x == y) {
      ++equal;
      continue;
    }
    // A difference, or one text going on after the other ended: count what
    // remains of the longer text to score against it.
    std::int64_t longer = equal + 1;
    unsigned char rest = 0;
    if (more_x && more_y) {
      std::int64_t left_x = 1, left_y = 1;
      while (first.Next(rest)) ++left_x;
      while (second.Next(rest)) ++left_y;
      longer = equal + std::max(left_x, left_y);
    } else {
      TTextWithoutLineEnds& going_on = more_x ? first : second;
      while (going_on.Next(rest)) ++longer;
    }
    return ShareAsPercent(equal, longer);
  }
}

void TFileComparer::ShowVerdict() const {
  if (fContents_match) {
    ShowMessageBox(kComparisonCaption, fFile1 + kMatches + fFile2, MB_ICONINFORMATION, MB_OK);
  } else {
    ShowMessageBox(kComparisonCaption, fFile1 + kDoesNotMatch + fFile2, MB_ICONWARNING, MB_OK);
  }
}

}  // namespace quill
