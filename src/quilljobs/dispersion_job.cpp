#include "quilljobs/dispersion_job.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "quilljobs/word_keys.h"
#include "quilljobs/word_rule.h"

namespace quill::jobs {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A file's words and where the word occurs among them.
struct FileHits {
  std::string name;
  std::int64_t words = 0;
  std::vector<std::int64_t> at;  // word numbers from 0
};

// The corpus's words in reading order cut into `count` parts whose sizes
// differ by one at most; each hit goes to the part holding its word.
std::vector<DispersionPart> EqualParts(const std::vector<FileHits>& files, std::int64_t tokens, int count) {
  std::vector<DispersionPart> parts(static_cast<std::size_t>(count));
  const auto start_of = [&](std::int64_t k) { return k * tokens / count; };
  for (int k = 0; k < count; ++k) {
    parts[static_cast<std::size_t>(k)].name = "segment " + std::to_string(k + 1) + " of " + std::to_string(count);
    parts[static_cast<std::size_t>(k)].segment = true;
    parts[static_cast<std::size_t>(k)].words = start_of(k + 1) - start_of(k);
  }
  std::int64_t offset = 0;
  for (const FileHits& file : files) {
    for (const std::int64_t at : file.at) {
      const std::int64_t word = offset + at;
      // The part k with start_of(k) <= word < start_of(k + 1).
      std::int64_t k = word * count / tokens;
      while (k > 0 && start_of(k) > word) --k;
      while (start_of(k + 1) <= word) ++k;
      DispersionPart& part = parts[static_cast<std::size_t>(k)];
      ++part.hits;
      part.positions.push_back(static_cast<double>(word - start_of(k)) / static_cast<double>(part.words));
    }
    offset += file.words;
  }
  return parts;
}

std::vector<DispersionPart> FileParts(const std::vector<FileHits>& files) {
  std::vector<DispersionPart> parts;
  for (const FileHits& file : files) {
    DispersionPart part;
    part.name = file.name;
    part.words = file.words;
    part.hits = static_cast<std::int64_t>(file.at.size());
    for (const std::int64_t at : file.at)
      part.positions.push_back(static_cast<double>(at) / static_cast<double>(file.words));
    parts.push_back(std::move(part));
  }
  return parts;
}

}  // namespace

DispersionMeasures MeasureDispersion(const std::vector<std::int64_t>& frequencies,
                                     const std::vector<std::int64_t>& sizes) {
  std::vector<double> f, s;
  for (std::size_t i = 0; i < frequencies.size() && i < sizes.size(); ++i)
    if (sizes[i] > 0) {
      f.push_back(static_cast<double>(frequencies[i]));
      s.push_back(static_cast<double>(sizes[i]));
    }
  DispersionMeasures m;
  m.range = std::count_if(f.begin(), f.end(), [](double x) { return x > 0; });
  double total_f = 0, total_s = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    total_f += f[i];
    total_s += s[i];
  }
  const auto n = static_cast<double>(f.size());
  if (total_f <= 0) {
    m.juilland_d = m.dp = m.dp_norm = kNaN;
    return m;
  }

  double mean = 0;
  for (std::size_t i = 0; i < f.size(); ++i) mean += f[i] / s[i];
  mean /= n;
  double variance = 0;
  for (std::size_t i = 0; i < f.size(); ++i) variance += (f[i] / s[i] - mean) * (f[i] / s[i] - mean);
  variance /= n;
  m.juilland_d = n > 1 ? 1 - (std::sqrt(variance) / mean) / std::sqrt(n - 1) : kNaN;

  double dp = 0, smallest = 1;
  for (std::size_t i = 0; i < f.size(); ++i) {
    dp += std::fabs(f[i] / total_f - s[i] / total_s);
    smallest = std::min(smallest, s[i] / total_s);
  }
  m.dp = dp / 2;
  m.dp_norm = smallest < 1 ? m.dp / (1 - smallest) : kNaN;
  return m;
}

DispersionJob::DispersionJob(DispersionSettings settings) : settings_(std::move(settings)) {
  if (settings_.words.empty()) throw JobError(JobError::bad_request, "no word given");
  if (settings_.parts < 0) throw JobError(JobError::bad_request, "the number of parts must not be negative");
}

DispersionResult DispersionJob::Run(const Corpus& corpus, const JobControl& control) const {
  const WordRule rule = corpus.Rule(settings_.pos_tags);
  const std::unordered_set<UnicodeString> keys = WordKeysOf(settings_.words, rule, "the word");
  ClassifiedText classified;
  std::vector<WordSpan> spans;
  std::vector<FileHits> files;
  UnicodeString key;
  DispersionResult result;
  std::int64_t done = 0;
  for (const CorpusFile& file : corpus.Files()) {
    if (control.Cancelled()) break;
    // Piece by piece: words never span the pieces, so the numbers run on.
    FileHits hits{Utf16ToUtf8(file.name), 0, {}};
    const bool read = corpus.ReadTextInPieces(file, [&](std::u16string_view piece) {
      if (control.Cancelled()) return;
      ClassifyText(piece, rule, classified);
      FindWords(classified, piece.size(), spans);
      for (const WordSpan& span : spans) {
        FoldWordInto(piece.substr(span.start, span.end - span.start), key);
        if (keys.count(key) > 0) hits.at.push_back(hits.words);
        ++hits.words;
      }
    }, kDefaultPieceBytes, control.cancel);
    if (read) {
      ++result.files_read;
      result.tokens += hits.words;
      result.hits += static_cast<std::int64_t>(hits.at.size());
      if (hits.words > 0) files.push_back(std::move(hits));
    }
    done += file.size;
    control.Progress(done, corpus.TotalBytes());
  }
  result.cancelled = control.Cancelled();  // the last file too may have been cut short
  if (settings_.parts > 0 && result.tokens < settings_.parts) {
    if (result.cancelled) return result;  // stopped too early to cut the parts
    throw JobError(JobError::bad_request, "the corpus has fewer words (" + std::to_string(result.tokens) +
                                              ") than the parts asked for");
  }
  result.parts = settings_.parts > 0 ? EqualParts(files, result.tokens, settings_.parts) : FileParts(files);
  std::vector<std::int64_t> frequencies, sizes;
  for (const DispersionPart& part : result.parts) {
    frequencies.push_back(part.hits);
    sizes.push_back(part.words);
  }
  result.measures = MeasureDispersion(frequencies, sizes);
  return result;
}

}  // namespace quill::jobs
