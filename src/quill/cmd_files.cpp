// quill files: the files a concordance of the same paths would read, with
// their size, date and the encoding their text is read in; the walk can be
// saved as favourites, so that every command reads it again without walking.
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>

#include "commands.h"
#include "corpus_input.h"
#include "run_outcome.h"
#include "quillrt/files/file_contents.h"
#include "quillrt/framework/file_names.h"

namespace quill::cli {

// What the file holds, as `quill detect` names it (cmd_detect.cpp).
std::string ContentDescription(const std::string& path);

namespace {

struct FilesOptions {
  CorpusOptions corpus;
  std::string save_favourites;  // where to keep the walk, to be read again with --favourites
};

// Local modification time as YYYY-MM-DD HH:MM; the archive's for an entry.
std::string FileDate(const std::string& name) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) return "-";
  std::tm local{};
  localtime_r(&info.st_mtime, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

// An archive entry's name is the archive's, a backslash and the entry's.
std::string ContainerOf(const CorpusFile& file) {
  if (!file.archive.empty()) return FileNameToBytes(file.archive);
  std::string name = FileNameToBytes(file.name);
  if (file.in_zip) {
    const std::size_t mark = name.find(".zip\\");
    if (mark != std::string::npos) name.resize(mark + 4);
  }
  return name;
}

void RunFiles(const FilesOptions& options) {
  const jobs::Corpus corpus = OpenCorpus(options.corpus);
  // Saved before anything is listed: a walk that cannot be kept ends the run
  // with its reason alone.
  if (!options.save_favourites.empty()) corpus.SaveFavourites(options.save_favourites);
  const std::vector<CorpusFile>& files = corpus.Files();
  std::int64_t total = 0;
  std::size_t listed = 0;
  for (const CorpusFile& file : files) {
    const std::string container = ContainerOf(file);
    // A file that cannot be read has no content to name: it is not "empty".
    if (!file.in_zip) {
      if (const std::string reason = jobs::UnreadableReason(FileNameToBytes(file.name)); !reason.empty()) {
        ReportSkippedInput(FileNameToBytes(file.name), reason);
        continue;
      }
    }
    ++listed;
    // Entries of an archive are decoded by what their bytes hold once read;
    // the listing names them as archive entries rather than unpacking each.
    const std::string encoding =
        file.in_zip ? "zip-entry" : ContentDescription(FileNameToBytes(file.name));
    std::cout << Printable(FileNameToBytes(file.name)) << "\t" << file.size << "\t" << FileDate(container) << "\t"
              << encoding << "\n";
    total += file.size;
  }
  std::cout.flush();
  std::cerr << "quill: " << listed << " files, " << total << " bytes\n";
  if (files.empty()) throw CLI::RuntimeError(kExitFailure);
}

QuillCommand files_command("files", [](CLI::App& app) {
  auto options = std::make_shared<FilesOptions>();
  CLI::App* sub = app.add_subcommand("files", "The files a concordance would read: size, date, encoding");
  AddCorpusOptions(sub, options->corpus);
  sub->add_option("--save-favourites", options->save_favourites,
                  "Save the walk of the folder named as a favourites file, for --favourites");
  sub->callback([options] { RunFiles(*options); });
});

}  // namespace
}  // namespace quill::cli
