#pragma once
// Private to the wanted-word matcher: the running word and segment counts kept
// while one call scans, loaded from the caller's record at the start and
// written back at the end.
#include <cstdint>

#include "quillrt/text/class_bits.h"
#include "quillrt/text/search_stats.h"

namespace quill::wanted_word {

// Which segment kinds carry explicit end markers. When ends are marked, a start
// marker of that kind is ignored; otherwise a start closes the previous segment.
struct SegmentEndsMarked {
  bool sentence = false;
  bool paragraph = false;
  bool heading = false;
  bool section = false;
};

class RunningStatistics {
 public:
  RunningStatistics(const TSearchStatsRec& stats, bool in_heading, SegmentEndsMarked marked)
      : stats_(stats), in_heading_(in_heading), marked_(marked) {}

  // Words are counted in bulk by the scan and applied before anything reads
  // the counts (a segment end, the write-back).
  void AddWords(std::int32_t words) { pending_words_ += words; }

  void Marker(TClassWord class_word) {
    switch (class_word & class_segment_code_mask) {
      case ts_sentence_start:
        if (!marked_.sentence) EndSegment(sentence_stats, HandleSentenceEndProc);
        break;
      case ts_sentence_end:
        EndSegment(sentence_stats, HandleSentenceEndProc);
        break;
      case ts_paragraph_start:
        if (!marked_.paragraph) EndSegment(paragraph_stats, HandleParagraphEndProc);
        break;
      case ts_paragraph_end:
        EndSegment(paragraph_stats, HandleParagraphEndProc);
        break;
      case ts_heading_start:
        Flush();
        in_heading_ = true;
        if (!marked_.heading) EndHeading();
        break;
      case ts_heading_end:
        EndHeading();
        break;
      case ts_section_start:
        if (!marked_.section) EndSegment(section_stats, HandleSectionEndProc);
        break;
      case ts_section_end:
        EndSegment(section_stats, HandleSectionEndProc);
        break;
      default:
        break;  // codes outside the segment range carry no statistics
    }
  }

  // Writes the counts back: numbers of all five kinds, and for the four segment
  // kinds the position, with out_of equal to it. Word position and out_of stay.
  void WriteBack(TSearchStatsRec& stats, bool& in_heading) {
    Flush();
    for (int kind = sentence_stats; kind <= section_stats; ++kind) stats_.out_of[kind] = stats_.position[kind];
    stats = stats_;
    in_heading = in_heading_;
  }

 private:
  void Flush() {
    if (pending_words_ == 0) return;
    stats_.number[word_stats] += pending_words_;
    stats_.position[sentence_stats] += pending_words_;
    stats_.position[paragraph_stats] += pending_words_;
    stats_.position[section_stats] += pending_words_;
    if (in_heading_) stats_.position[heading_stats] += pending_words_;
    pending_words_ = 0;
  }

  void EndSegment(text_stats_type kind, THandleTextSectionProc hook) {
    Flush();
    if (hook != nullptr) hook(stats_.number[kind], stats_.position[kind]);
    ++stats_.number[kind];
    stats_.position[kind] = 1;
  }

  void EndHeading() {
    EndSegment(heading_stats, HandleHeadingEndProc);
    in_heading_ = false;
  }

  TSearchStatsRec stats_;
  bool in_heading_;
  SegmentEndsMarked marked_;
  std::int32_t pending_words_ = 0;
};

}  // namespace quill::wanted_word
