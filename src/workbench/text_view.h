#pragma once
// The text behind a concordance line: the whole file in a read-only view with
// every hit of the concordance in it highlighted in its search word's colours,
// and the chosen line's hit selected and scrolled into view.
#include <QDialog>
#include <vector>

#include "quilljobs/concordance_lines.h"
#include "quilljobs/corpus.h"

class QPlainTextEdit;

namespace quill::workbench {

// Where a hit lies in its text: [start, end) in UTF-16 units.
struct TextSpan {
  std::size_t start = 0;
  std::size_t end = 0;
};

// The span of a concordance line's hit in the text of its file: from the start
// of word `word_number` over as many words as the hit holds. Nothing (end 0)
// when the text has no such words.
TextSpan HitSpanInText(const jobs::ConcordanceLine& line, const std::vector<jobs::WordSpan>& words,
                       const jobs::WordRule& rule);

class TextView : public QDialog {
 public:
  // Reads `file` (the file of `lines[chosen]`) through the corpus, and
  // highlights the hits of the lines with the chosen line's file index;
  // `pos_tags` as the concordance was made. Throws JobError(failed) when the
  // file cannot be read.
  TextView(const jobs::Corpus& corpus, const jobs::CorpusFile& file, bool pos_tags,
           const std::vector<jobs::ConcordanceLine>& lines, std::size_t chosen, QWidget* parent = nullptr);

  QPlainTextEdit* Editor() const { return editor_; }
  // How many hits are highlighted.
  int Highlighted() const { return highlighted_; }

 private:
  QPlainTextEdit* editor_;
  int highlighted_ = 0;
};

}  // namespace quill::workbench
