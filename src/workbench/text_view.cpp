#include "text_view.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "quillctl/qt_canvas.h"
#include "quilljobs/job_control.h"
#include "quillrt/rendering/colours.h"

namespace quill::workbench {
namespace {

// A text document turns "\r\n" into one block break; a blank in place of each
// carriage return keeps every other character at its offset in the file.
QString DocumentText(UnicodeString text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == u'\r') text[i] = (i + 1 < text.size() && text[i + 1] == u'\n') ? u' ' : u'\n';
  return ToQString(text);
}

std::size_t WordsIn(const UnicodeString& hit, const jobs::WordRule& rule) {
  jobs::ClassifiedText classified;
  jobs::ClassifyText(hit, rule, classified);
  std::vector<jobs::WordSpan> words;
  jobs::FindWords(classified, hit.size(), words);
  return std::max<std::size_t>(words.size(), 1);
}

QTextEdit::ExtraSelection Highlight(QPlainTextEdit& editor, const TextSpan& span, std::int32_t search_word) {
  const TMyCanvasColourRec colours = SearchFoundColoursFromNumber(search_word);
  QTextEdit::ExtraSelection selection;
  selection.cursor = QTextCursor(editor.document());
  selection.cursor.setPosition(static_cast<int>(span.start));
  selection.cursor.setPosition(static_cast<int>(span.end), QTextCursor::KeepAnchor);
  selection.format.setForeground(ToQColor(colours[tct_text]));
  selection.format.setBackground(ToQColor(colours[tct_background]));
  selection.format.setFontWeight(QFont::Bold);
  return selection;
}

}  // namespace

TextSpan HitSpanInText(const jobs::ConcordanceLine& line, const std::vector<jobs::WordSpan>& words,
                       const jobs::WordRule& rule) {
  if (line.word_number < 1 || static_cast<std::size_t>(line.word_number) > words.size()) return {};
  const std::size_t first = static_cast<std::size_t>(line.word_number) - 1;
  const std::size_t last = std::min(words.size() - 1, first + WordsIn(line.hit, rule) - 1);
  return {words[first].start, words[last].end};
}

TextView::TextView(const jobs::Corpus& corpus, const jobs::CorpusFile& file, bool pos_tags,
                   const std::vector<jobs::ConcordanceLine>& lines, std::size_t chosen, QWidget* parent)
    : QDialog(parent), editor_(new QPlainTextEdit(this)) {
  const jobs::ConcordanceLine& line = lines.at(chosen);
  UnicodeString text;
  if (!corpus.ReadText(file, text))
    throw jobs::JobError(jobs::JobError::failed, "cannot read " + line.file);

  setWindowTitle(QString::fromStdString(line.file));
  setObjectName(QStringLiteral("textView"));
  resize(800, 600);
  auto* layout = new QVBoxLayout(this);
  editor_->setReadOnly(true);
  editor_->setObjectName(QStringLiteral("textViewEditor"));
  editor_->setPlainText(DocumentText(text));
  layout->addWidget(editor_);

  const jobs::WordRule rule = corpus.Rule(pos_tags);
  jobs::ClassifiedText classified;
  jobs::ClassifyText(text, rule, classified);
  std::vector<jobs::WordSpan> words;
  jobs::FindWords(classified, text.size(), words);

  QList<QTextEdit::ExtraSelection> selections;
  TextSpan chosen_span;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].file_index != line.file_index) continue;
    const TextSpan span = HitSpanInText(lines[i], words, rule);
    if (span.end <= span.start) continue;
    selections.append(Highlight(*editor_, span, lines[i].search_word));
    if (i == chosen) chosen_span = span;
  }
  highlighted_ = static_cast<int>(selections.size());
  editor_->setExtraSelections(selections);
  // The hit of the line the view was opened from is selected, so that it
  // stands out among the others, and scrolled to the middle.
  QTextCursor cursor(editor_->document());
  cursor.setPosition(static_cast<int>(chosen_span.start));
  cursor.setPosition(static_cast<int>(chosen_span.end), QTextCursor::KeepAnchor);
  editor_->setTextCursor(cursor);
  editor_->centerCursor();
}

}  // namespace quill::workbench
