// The Python module `quill`: the concordance, word-list and n-gram jobs as
// three functions. Jobs run with the interpreter's lock released; Ctrl-C
// stops them between files and raises KeyboardInterrupt; inputs left out
// become RuntimeWarnings; a bad request is a ValueError and a failed job a
// RuntimeError, with the library's message.
#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <atomic>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quilljobs/concordance_job.h"
#include "quilljobs/corpus.h"
#include "quilljobs/frequency_jobs.h"
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
      CorpusEvents events;
      events.on_skipped = [this](const std::string& name, const std::string& reason) {
        lost_.push_back("skipped " + name + ": " + reason);
      };
      events.on_binary_skipped = [this](const std::string& name) {
        lost_.push_back("skipped " + name + ": binary content (pass binary=True to read it)");
      };
      events.on_warning = [this](const std::string& message) { lost_.push_back(message); };
      const Corpus corpus(options_, std::move(events));
      result.emplace(job.Run(corpus, control_));
    }
    for (const std::string& message : lost_)
      if (PyErr_WarnEx(PyExc_RuntimeWarning, message.c_str(), 1) < 0) throw py::error_already_set();
    if (interrupted_) RaiseInterrupt();
    return std::move(*result);
  }

 private:
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

py::list Concord(const py::object& paths, const py::object& search, const py::object& context,
                 const py::object& exclude, int horizon, int width, bool pos_tags, bool show_tags,
                 const std::string& tag, const py::object& sort, std::int64_t limit, const py::kwargs& corpus) {
  ConcordanceSettings settings;
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
                  const py::kwargs& corpus) {
  WordListSettings settings;
  settings.shape = ShapeOf(by_freq, min_freq, top);
  settings.min_length = min_length;
  settings.pos_tags = pos_tags;
  return FrequencyPairs(RunJob(WordListJob(settings), CorpusOf(paths, corpus)));
}

py::list NGrams(const py::object& paths, int n, int top, bool by_freq, std::int64_t min_freq, bool pos_tags,
                const py::kwargs& corpus) {
  NGramSettings settings;
  settings.n = n;
  settings.shape = ShapeOf(by_freq, min_freq, top);
  settings.pos_tags = pos_tags;
  return FrequencyPairs(RunJob(NGramJob(settings), CorpusOf(paths, corpus)));
}

#define QUILL_CORPUS_KEYWORDS                                                                      \
  "Corpus keywords: mask='*' (';'-separated), subfolders=True, zips=False, exclude_dirs='',\n" \
  "exclude_ext='', lang='' (locale name or LCID), binary=False, favourites='' (a walk saved by\n" \
  "`quill files --save-favourites`, read instead of walking; paths may then be [])."

}  // namespace

PYBIND11_MODULE(quill, m) {
  m.doc() = "Quill: concordances, word lists and n-grams of corpora (UTF-8, UTF-16, 8-bit, zip, docx).";
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
        "Every hit of the search word(s) in the files and folders `paths`, as dicts with file, word,\n"
        "sentence, paragraph (0: the text marks none), left, hit, right and search. `search` is one\n"
        "search word or a list (wildcards * ? ^ #, alternatives with /, phrases). context/exclude:\n"
        "words within `horizon` words that keep or drop a hit; sort: up to three of L5..L1, C,\n"
        "R1..R5, File, Word, Position; limit: at most this many hits (0: all).\n" QUILL_CORPUS_KEYWORDS);
  m.def("wordlist", &WordList, py::arg("paths"), py::kw_only(), py::arg("top") = 0, py::arg("by_freq") = true,
        py::arg("min_freq") = 1, py::arg("min_length") = 1, py::arg("pos_tags") = false,
        "The words of the corpus as (word, frequency) pairs, most frequent first (by_freq=False:\n"
        "alphabetical). top: the first N only (0: all).\n" QUILL_CORPUS_KEYWORDS);
  m.def("ngrams", &NGrams, py::arg("paths"), py::arg("n") = 2, py::kw_only(), py::arg("top") = 0,
        py::arg("by_freq") = true, py::arg("min_freq") = 1, py::arg("pos_tags") = false,
        "The runs of n words within sentences as (n-gram, frequency) pairs, most frequent first.\n" QUILL_CORPUS_KEYWORDS);
}
