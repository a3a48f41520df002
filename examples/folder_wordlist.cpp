// Builds the word list of a folder of texts with the jobs layer and prints
// the most frequent words:  folder_wordlist FOLDER [TOP]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "quilljobs/corpus.h"
#include "quilljobs/frequency_jobs.h"
#include "quillrt/framework/encoding.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [TOP]\n", argv[0]);
    return 2;
  }
  using namespace quill::jobs;
  try {
    CorpusOptions where;
    where.paths = {argv[1]};
    where.mask = "*.txt";
    CorpusEvents events;
    events.on_skipped = [](const std::string& name, const std::string& why) {
      std::fprintf(stderr, "skipped %s: %s\n", name.c_str(), why.c_str());
    };
    const Corpus corpus(where, events);

    WordListSettings settings;
    settings.shape.by_freq = true;
    settings.shape.top = argc > 2 ? std::atoi(argv[2]) : 10;
    const FrequencyResult result = WordListJob(settings).Run(corpus);

    std::printf("%lld words in %lld files\n", static_cast<long long>(result.tokens),
                static_cast<long long>(result.files_read));
    for (const FrequencyItem& item : result.Items())
      std::printf("%s\t%lld\n", quill::Utf16ToUtf8(item.item).c_str(), static_cast<long long>(item.frequency));
  } catch (const JobError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
