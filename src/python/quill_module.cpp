// The Python module `quill`: the concordance, word-list, n-gram, keywords,
// collocates and dispersion jobs, one function each. Jobs run with the
// interpreter's lock released; Ctrl-C stops them between files and raises
// KeyboardInterrupt; inputs left out become RuntimeWarnings; a bad request is
// a ValueError and a failed job a RuntimeError, with the library's message.
#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <atomic>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quilljobs/collocates_job.h"
#include "quilljobs/concordance_job.h"
#include "quilljobs/corpus.h"
#include "quilljobs/dispersion_job.h"
#include "quilljobs/frequency_jobs.h"
#include "quilljobs/keywords_job.h"
#include "quillrt/framework/encoding.h"
#include "quillrt/framework/exceptions.h"

namespace py = pybind11;
using namespace quill::jobs;

namespace {

// Paths may be one string or a list of them.
std::vector<std::string> PathList(const py::object& paths) {
  if (py::isinstance<py::str>(paths)) return {paths.cast<std::string>()};
  return paths.cast<std::vector<std::string>>();
}

CorpusOptions CorpusOf(const py::object& paths, const py::kwargs& options) {
  CorpusOptions corpus;
  corpus.paths = PathList(paths);
  for (const auto& [key, value] : options) {
    const std::string name = key.cast<std::string>();
    if (name == "mask")
      corpus.mask = value.cast<std::string>();
    else if (name == "subfolders")
      corpus.subfolders = value.cast<bool>();
    else if (name == "zips")
      corpus.zips = value.cast<bool>();
    else if (name == "exclude_dirs")
      corpus.exclude_dirs = value.cast<std::string>();
    else if (name == "exclude_ext")
      corpus.exclude_ext = value.cast<std::string>();
    else if (name == "lang")
      corpus.lang = value.cast<std::string>();
    else if (name == "binary")
      corpus.binary = value.cast<bool>();
    else if (name == "favourites")
      corpus.favourites = value.cast<std::string>();
    else
      throw py::type_error("unexpected keyword argument '" + name + "'");
  }
  return corpus;
}

void RaiseInterrupt() {
  PyErr_SetNone(PyExc_KeyboardInterrupt);
  throw py::error_already_set();
}

// One run of a job: the corpus is made and the job run without the lock;
// what the corpus reported is handed to Python afterwards, with the lock.
class Run {
 public:
  explicit Run(CorpusOptions options) : options_(std::move(options)) {
    control_.cancel = &interrupted_;
    // Between files: a pending Ctrl-C stops the job.
    control_.on_progress = [this](std::int64_t, std::int64_t) {
      py::gil_scoped_acquire lock;
      if (PyErr_CheckSignals() != 0) {
        PyErr_Clear();
        interrupted_ = true;
      }
    };
  }

  template <typename Job>
  auto Over(const Job& job) {
    std::optional<decltype(job.Run(std::declval<const Corpus&>(), control_))> result;
    {
      py::gil_scoped_release unlocked;
      const Corpus corpus(options_, Events());
      result.emplace(job.Run(corpus, control_));
    }
    return Finished(std::move(*result));
  }

  // A job over two corpora (a target and a reference) that share the options
  // other than the paths.
  template <typename Job>
  auto OverPair(const Job& job, std::vector<std::string> reference_paths) {
    std::optional<decltype(job.Run(std::declval<const Corpus&>(), std::declval<const Corpus&>(), control_))> result;
    {
      py::gil_scoped_release unlocked;
      CorpusOptions reference_options = options_;
      reference_options.paths = std::move(reference_paths);
      const Corpus target(options_, Events());
      const Corpus reference(reference_options, Events());
      result.emplace(job.Run(target, reference, control_));
    }
    return Finished(std::move(*result));
  }

 private:
  CorpusEvents Events() {
    CorpusEvents events;
    events.on_skipped = [this](const std::string& name, const std::string& reason) {
      lost_.push_back("skipped " + name + ": " + reason);
    };
    events.on_binary_skipped = [this](const std::string& name) {
      lost_.push_back("skipped " + name + ": binary content (pass binary=True to read it)");
    };
    events.on_warning = [this](const std::string& message) { lost_.push_back(message); };
    return events;
  }

  template <typename Result>
  Result Finished(Result result) {
    for (const std::string& message : lost_)
      if (PyErr_WarnEx(PyExc_RuntimeWarning, message.c_str(), 1) < 0) throw py::error_already_set();
    if (interrupted_) RaiseInterrupt();
    return result;
  }

  CorpusOptions options_;
  JobControl control_;
  std::atomic<bool> interrupted_{false};
  std::vector<std::string> lost_;
};

template <typename Job>
auto RunJob(const Job& job, CorpusOptions options) {
  Run run(std::move(options));
  return run.Over(job);
}

py::list FrequencyPairs(const FrequencyResult& result) {
  py::list pairs;
  for (const FrequencyItem& item : result.Items())
    pairs.append(py::make_tuple(quill::Utf16ToUtf8(item.item), item.frequency));
  return pairs;
}

std::vector<std::string> WordsOf(const py::object& words) {
  if (words.is_none()) return {};
  if (py::isinstance<py::str>(words)) return {words.cast<std::string>()};
  return words.cast<std::vector<std::string>>();
}

std::vector<SortKey> SortKeysOf(const py::object& names) {
  std::vector<SortKey> keys;
  for (const std::string& name : WordsOf(names)) {
    SortKey key;
    if (!ParseSortKey(name, key))
      throw py::value_error("unknown sort key: " + name + " (L5..L1, C, R1..R5, File, Word, Position)");
    keys.push_back(key);
  }
  return keys;
}

// Threads a job may use: 0 is one per core; the result is the same for any.
int ThreadsOf(int threads) {
  if (threads < 0) throw py::value_error("threads must not be negative (0: one per core)");
  return threads;
}

py::list Concord(const py::object& paths, const py::object& search, const py::object& context,
                 const py::object& exclude, int horizon, int width, bool pos_tags, bool show_tags,
                 const std::string& tag, const py::object& sort, std::int64_t limit, int threads,
                 const py::kwargs& corpus) {
  ConcordanceSettings settings;
  settings.threads = ThreadsOf(threads);
  settings.searches = WordsOf(search);
  settings.context = WordsOf(context);
  settings.exclude = WordsOf(exclude);
  settings.horizon = horizon;
  settings.width = width;
  settings.pos_tags = pos_tags;
  settings.show_tags = show_tags;
  settings.tag = tag;
  settings.sort = SortKeysOf(sort);
  settings.limit = limit;
  const ConcordanceResult result = RunJob(ConcordanceJob(settings), CorpusOf(paths, corpus));
  py::list hits;
  for (const ConcordanceLine& line : result.lines) {
    py::dict hit;
    hit["file"] = line.file;
    hit["word"] = line.word_number;
    hit["sentence"] = line.sentence;
    hit["paragraph"] = line.paragraph;
    hit["left"] = quill::Utf16ToUtf8(line.left);
    hit["hit"] = quill::Utf16ToUtf8(line.hit);
    hit["right"] = quill::Utf16ToUtf8(line.right);
    hit["search"] = settings.searches[static_cast<std::size_t>(line.search_word)];
    hits.append(std::move(hit));
  }
  return hits;
}

FrequencyListShape ShapeOf(bool by_freq, std::int64_t min_freq, int top) {
  if (top < 0) throw py::value_error("top must not be negative");
  return {by_freq, min_freq, top};
}

py::list WordList(const py::object& paths, int top, bool by_freq, std::int64_t min_freq, int min_length, bool pos_tags,
                  int threads, const py::kwargs& corpus) {
  WordListSettings settings;
  settings.threads = ThreadsOf(threads);
  settings.shape = ShapeOf(by_freq, min_freq, top);
  settings.min_length = min_length;
  settings.pos_tags = pos_tags;
  return FrequencyPairs(RunJob(WordListJob(settings), CorpusOf(paths, corpus)));
}

py::list NGrams(const py::object& paths, int n, int top, bool by_freq, std::int64_t min_freq, bool pos_tags,
                int threads, const py::kwargs& corpus) {
  NGramSettings settings;
  settings.threads = ThreadsOf(threads);
  settings.n = n;
  settings.shape = ShapeOf(by_freq, min_freq, top);
  settings.pos_tags = pos_tags;
  return FrequencyPairs(RunJob(NGramJob(settings), CorpusOf(paths, corpus)));
}

KeywordDirection DirectionOf(const std::string& name) {
  if (name == "both") return KeywordDirection::both;
  if (name == "positive") return KeywordDirection::positive;
  if (name == "negative") return KeywordDirection::negative;
  throw py::value_error("unknown direction: " + name + " (positive, negative or both)");
}

py::list Keywords(const py::object& target, const py::object& reference, const std::string& stat,
                  std::int64_t min_freq, double p, bool bonferroni, const std::string& keys, bool ref_only_words,
                  int top, bool pos_tags, const py::kwargs& corpus) {
  KeywordsSettings settings;
  if (!ParseKeynessStat(stat, settings.stat))
    throw py::value_error("unknown statistic: " + stat + " (ll, chi2, diff, logratio or bic)");
  settings.min_freq = min_freq;
  settings.p = p;
  settings.bonferroni = bonferroni;
  settings.direction = DirectionOf(keys);
  settings.reference_only_words = ref_only_words;
  settings.top = top;
  settings.pos_tags = pos_tags;
  const KeywordsJob job(settings);
  Run run(CorpusOf(target, corpus));
  const KeywordsResult result = run.OverPair(job, PathList(reference));
  py::list keywords;
  for (const Keyword& k : result.keywords) {
    py::dict row;
    row["word"] = quill::Utf16ToUtf8(k.word);
    row["target_freq"] = k.target_freq;
    row["ref_freq"] = k.ref_freq;
    row["target_tokens"] = result.target_tokens;
    row["ref_tokens"] = result.ref_tokens;
    row["ll"] = k.scores.log_likelihood;
    row["chi2"] = k.scores.chi_square;
    row["diff"] = k.scores.percent_diff;
    row["logratio"] = k.scores.log_ratio;
    row["bic"] = k.scores.bic;
    row["positive"] = k.scores.positive;
    keywords.append(std::move(row));
  }
  return keywords;
}

quill::TConcgramMutualChecks ThresholdsOf(const py::object& thresholds, bool all_thresholds) {
  quill::TConcgramMutualChecks checks;
  checks.test_all_procedures = all_thresholds;
  checks.test_all_words = true;  // otherwise any one statistic that passes is enough
  if (thresholds.is_none()) return checks;
  for (const auto& [name, value] : thresholds.cast<py::dict>()) {
    quill::TMutualInfoStats stat{};
    const std::string key = name.cast<std::string>();
    if (!ParseRelationshipStat(key, stat))
      throw py::value_error("unknown threshold statistic: " + key + " (dice, mi, mi3, z, ll, t, logratio)");
    checks.proc_settings[stat] = {true, value.cast<float>()};
  }
  return checks;
}

py::list Collocates(const py::object& paths, const py::object& node, int left, int right, bool sentences,
                    const std::string& stat, std::int64_t min_freq, std::int64_t min_coll_freq,
                    const py::object& thresholds, bool all_thresholds, int top, bool pos_tags,
                    const py::kwargs& corpus) {
  CollocatesSettings settings;
  settings.nodes = WordsOf(node);
  settings.left = left;
  settings.right = right;
  settings.within_sentence = sentences;
  if (!ParseCollocationStat(stat, settings.sort))
    throw py::value_error("unknown statistic: " + stat + " (freq, mi, mi3, t, z, ll, dice, logdice or logratio)");
  settings.min_freq = min_freq;
  settings.min_coll_freq = min_coll_freq;
  settings.thresholds = ThresholdsOf(thresholds, all_thresholds);
  settings.top = top;
  settings.pos_tags = pos_tags;
  const CollocatesResult result = RunJob(CollocatesJob(settings), CorpusOf(paths, corpus));
  py::list collocates;
  for (const Collocate& c : result.collocates) {
    py::dict row;
    row["word"] = quill::Utf16ToUtf8(c.word);
    row["O"] = c.observed;
    row["left"] = c.left;
    row["right"] = c.right;
    row["freq"] = c.frequency;
    row["node_freq"] = result.node_freq;
    row["tokens"] = result.tokens;
    row["span_size"] = result.span_size;
    row["E"] = c.scores.expected;
    row["mi"] = c.scores.mi;
    row["mi3"] = c.scores.mi3;
    row["t"] = c.scores.t_score;
    row["z"] = c.scores.z_score;
    row["ll"] = c.scores.log_likelihood;
    row["dice"] = c.scores.dice;
    row["logdice"] = c.scores.log_dice;
    row["logratio"] = c.scores.log_ratio;
    collocates.append(std::move(row));
  }
  return collocates;
}

py::dict Dispersion(const py::object& paths, const py::object& word, int parts, bool pos_tags,
                    const py::kwargs& corpus) {
  DispersionSettings settings;
  settings.words = WordsOf(word);
  settings.parts = parts;
  settings.pos_tags = pos_tags;
  const DispersionResult result = RunJob(DispersionJob(settings), CorpusOf(paths, corpus));
  py::dict answer;
  answer["hits"] = result.hits;
  answer["tokens"] = result.tokens;
  answer["files"] = result.files_read;
  answer["range"] = result.measures.range;
  answer["D"] = result.measures.juilland_d;
  answer["DP"] = result.measures.dp;
  answer["DPnorm"] = result.measures.dp_norm;
  py::list rows;
  for (const DispersionPart& part : result.parts) {
    py::dict row;
    row["name"] = part.name;
    row["words"] = part.words;
    row["hits"] = part.hits;
    row["rel_freq"] = part.RelativeFrequency();
    row["positions"] = part.positions;
    rows.append(std::move(row));
  }
  answer["parts"] = std::move(rows);
  return answer;
}

#define QUILL_CORPUS_KEYWORDS                                                                      \
  "Corpus keywords: mask='*' (';'-separated), subfolders=True, zips=False, exclude_dirs='',\n" \
  "exclude_ext='', lang='' (locale name or LCID), binary=False, favourites='' (a walk saved by\n" \
  "`quill files --save-favourites`, read instead of walking; paths may then be [])."

}  // namespace

PYBIND11_MODULE(quill, m) {
  m.doc() = "Quill: concordances, word lists, n-grams, keywords, collocates and dispersion of corpora "
            "(UTF-8, UTF-16, 8-bit, zip, docx).";
  py::register_exception_translator([](std::exception_ptr failure) {
    try {
      if (failure) std::rethrow_exception(failure);
    } catch (const JobError& e) {
      PyErr_SetString(e.kind() == JobError::bad_request ? PyExc_ValueError : PyExc_RuntimeError, e.what());
    } catch (const quill::Exception& e) {
      PyErr_SetString(PyExc_RuntimeError, e.what());
    }
  });

  m.def("concord", &Concord, py::arg("paths"), py::arg("search"), py::kw_only(), py::arg("context") = py::none(),
        py::arg("exclude") = py::none(), py::arg("horizon") = 5, py::arg("width") = 40, py::arg("pos_tags") = false,
        py::arg("show_tags") = false, py::arg("tag") = "", py::arg("sort") = py::none(), py::arg("limit") = 0,
        py::arg("threads") = 0,
        "Every hit of the search word(s) in the files and folders `paths`, as dicts with file, word,\n"
        "sentence, paragraph (0: the text marks none), left, hit, right and search. `search` is one\n"
        "search word or a list (wildcards * ? ^ #, alternatives with /, phrases). context/exclude:\n"
        "words within `horizon` words that keep or drop a hit; sort: up to three of L5..L1, C,\n"
        "R1..R5, File, Word, Position; limit: at most this many hits (0: all); threads: files (and\n"
        "a large file's windows) searched at once (0: one per core), the hits the same for any.\n" QUILL_CORPUS_KEYWORDS);
  m.def("wordlist", &WordList, py::arg("paths"), py::kw_only(), py::arg("top") = 0, py::arg("by_freq") = true,
        py::arg("min_freq") = 1, py::arg("min_length") = 1, py::arg("pos_tags") = false, py::arg("threads") = 0,
        "The words of the corpus as (word, frequency) pairs, most frequent first (by_freq=False:\n"
        "alphabetical). top: the first N only (0: all); threads: counted at once (0: one per core).\n"
        QUILL_CORPUS_KEYWORDS);
  m.def("ngrams", &NGrams, py::arg("paths"), py::arg("n") = 2, py::kw_only(), py::arg("top") = 0,
        py::arg("by_freq") = true, py::arg("min_freq") = 1, py::arg("pos_tags") = false, py::arg("threads") = 0,
        "The runs of n words within sentences as (n-gram, frequency) pairs, most frequent first;\n"
        "threads: files counted at once (0: one per core).\n" QUILL_CORPUS_KEYWORDS);
  m.def("keywords", &Keywords, py::arg("target"), py::arg("ref"), py::kw_only(), py::arg("stat") = "ll",
        py::arg("min_freq") = 1, py::arg("p") = 0.0, py::arg("bonferroni") = false, py::arg("keys") = "both",
        py::arg("ref_only_words") = false, py::arg("top") = 0, py::arg("pos_tags") = false,
        "Keywords of the corpus `target` against `ref` as dicts with word, target_freq, ref_freq,\n"
        "target_tokens, ref_tokens, ll, chi2, diff, logratio, bic and positive; positive keywords\n"
        "first, each part strongest first by `stat` (ll, chi2, diff, logratio, bic). p: 0.05, 0.01,\n"
        "0.001 or 0.0001 keeps the significant ones (0: all); keys: positive, negative or both.\n" QUILL_CORPUS_KEYWORDS);
  m.def("collocates", &Collocates, py::arg("paths"), py::arg("node"), py::kw_only(), py::arg("left") = 5,
        py::arg("right") = 5, py::arg("sentences") = false, py::arg("stat") = "ll", py::arg("min_freq") = 1,
        py::arg("min_coll_freq") = 1, py::arg("thresholds") = py::none(), py::arg("all_thresholds") = false,
        py::arg("top") = 0, py::arg("pos_tags") = false,
        "Collocates of the node word(s) within `left` and `right` words as dicts with word, O, left,\n"
        "right, freq, node_freq, tokens, span_size, E, mi, mi3, t, z, ll, dice, logdice and logratio,\n"
        "strongest first by `stat`. thresholds: {'mi': 3, 't': 2} (any one is enough unless\n"
        "all_thresholds); sentences: spans stop at sentence ends.\n" QUILL_CORPUS_KEYWORDS);
  m.def("dispersion", &Dispersion, py::arg("paths"), py::arg("word"), py::kw_only(), py::arg("parts") = 0,
        py::arg("pos_tags") = false,
        "How evenly the word(s) spread over the files (or `parts` equal parts) of the corpus: a dict with\n"
        "hits, tokens, files, range, D (Juilland), DP and DPnorm (Gries) and parts, a list of dicts with\n"
        "name, words, hits, rel_freq and positions (of each hit in its part, 0 to 1).\n" QUILL_CORPUS_KEYWORDS);
}
