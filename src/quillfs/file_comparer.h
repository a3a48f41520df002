#pragma once
// TFileComparer: how far two files agree, as a percentage, and whether their
// attributes, last-write times and sizes are the same. Used to check a copied or
// restored file against its source; with line ends ignored it also accepts two
// texts that differ only in their line-end convention.
//
// The percentage is the share of the common length (the smaller size) that the
// two files have equal from their start, so a file that is a prefix of the other
// scores 100 and ContentsMatch is true (SizesMatch, false, tells them apart;
// Identical asks both). Two empty files score 100; an empty file against a
// non-empty one scores 0. Files whose contents differ never score 100, however
// large they are.
//
// With line ends ignored and the plain comparison below 100, the texts are
// compared again with every CR, LF and NUL byte left out: 100 when what remains
// is the same, otherwise the share of the longer remainder that agrees from the
// start (below 100).
//
// Both comparisons stream the files in blocks of 102400 bytes: memory stays
// bounded whatever their size.
#include <cstdint>
#include <functional>

#include "quillfs/quillfs_export.h"
#include "quillrt/framework/strings.h"
#include "quillrt/process/callbacks.h"

namespace quill {

// Progress of the block comparison: the percentage of File2 compared.
using TOnCheckingFilechunkEvent = std::function<void(std::int32_t percent)>;

inline constexpr std::int32_t kCompareBlock = 0x19000;

class QUILLFS_API TFileComparer : public TObject {
 public:
  explicit TFileComparer(TObject* AOwner = nullptr);
  ~TFileComparer() override;

  // Compares File1 with File2, sets the match flags and CRLFs_were_ignored and
  // returns the percentage. 0 (flags false, nothing shown) when either file does
  // not exist. Read failures pass through. Unless SilentComparison, the verdict
  // is also shown through the message-box hook.
  float PercentMatching(bool ignore_CRLF);
  float PercentMatching() { return PercentMatching(true); }

  bool AttributesMatch() const { return fAttribs_match; }
  bool DatesMatch() const { return fDates_match; }
  bool SizesMatch() const { return fSizes_match; }
  bool ContentsMatch() const { return fContents_match; }
  // Same contents and same size (the line-end-blind match counts when it made
  // the result).
  bool Identical() const { return fContents_match && (fSizes_match || CRLFs_were_ignored); }
  bool SilentComparison() const { return fsilent_comparison; }
  void SetSilentComparison(bool silent) { fsilent_comparison = silent; }
  const UnicodeString& File1() const { return fFile1; }
  void SetFile1(const UnicodeString& name) { fFile1 = name; }
  const UnicodeString& File2() const { return fFile2; }
  void SetFile2(const UnicodeString& name) { fFile2 = name; }
  // Sizes found by the last comparison.
  std::int64_t Size1() const { return fSize1; }
  std::int64_t Size2() const { return fSize2; }

  TOnCheckingFilechunkEvent OnCheckProgress;
  // The last result came from the comparison that ignores line ends.
  bool CRLFs_were_ignored = false;

 private:
  float BlockComparison();
  float LineEndBlindComparison();
  void ShowVerdict() const;

  bool fAttribs_match = false;
  bool fDates_match = false;
  bool fSizes_match = false;
  bool fContents_match = false;
  bool fsilent_comparison = false;
  UnicodeString fFile1;
  UnicodeString fFile2;
  std::int64_t fSize1 = 0;
  std::int64_t fSize2 = 0;
};

// The percentage `equal` of `total`, kept below 100 whenever equal < total (a
// single-precision 100 - tiny would round to 100 for large files).
QUILLFS_API float ShareAsPercent(std::int64_t equal, std::int64_t total);

}  // namespace quill
