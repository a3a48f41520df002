// quill split: cuts a file into numbered chunk files ("chunk 1 of 3.tmp" ...) of
// a fixed size, with a SHA-256 manifest beside them, for `quill join` to put
// back together.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <limits>
#include <memory>
#include <vector>

#include "commands.h"
#include "file_tool_support.h"
#include "progress.h"
#include "quillfs/file_chunker.h"
#include "quillrt/framework/sysutils.h"

namespace quill::cli {
namespace {

struct SplitOptions {
  std::string file;
  std::string size = "100M";
  std::string out = ".";
  bool force = false;
  bool zip = false;
};

// Removes the files of an unfinished set, so that no incomplete set is left
// looking like a whole one.
void RemoveUnfinishedSet(const std::vector<UnicodeString>& made) {
  for (const UnicodeString& name : made) DeleteFile(name);
}

void RunSplit(const SplitOptions& options) {
  std::int64_t chunk_size = 0;
  if (!ParseByteSize(options.size, chunk_size) || chunk_size < 1 ||
      chunk_size > std::numeric_limits<std::int32_t>::max()) {
    FailFileTool("--size must be a size of 1 byte to 2G - 1 (such as 1400000, 64K, 100M): " + options.size, kExitUsage);
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(options.file, error)) {
    const bool there = std::filesystem::exists(options.file, error);
    FailFileTool((there ? "not a regular file (only files of a known size are cut): " : "no such file: ") + options.file,
                 kExitUsage);
  }
  if (!std::filesystem::is_directory(options.out, error)) FailFileTool("no such folder: " + options.out, kExitUsage);
  const auto source_size = static_cast<std::int64_t>(std::filesystem::file_size(options.file, error));

  TFileChunker chunker;
  chunker.SetSourcename(Utf8ToUtf16(options.file));
  chunker.SetDirCreating(Utf8ToUtf16(options.out));
  chunker.SetChunkSize(static_cast<std::int32_t>(chunk_size));
  chunker.SetZipToo(options.zip);
  chunker.SetWriteManifest(true);

  std::vector<UnicodeString> made;
  ProgressBar bar("splitting " + options.file, source_size);
  chunker.OnChunkMade = [&](const UnicodeString& name, std::int32_t number, std::int32_t) {
    made.push_back(name);
    bar.Set(std::min<std::int64_t>(source_size, static_cast<std::int64_t>(number) * chunk_size));
  };
  QuestionAnswers answers(options.force);
  InterruptScope interrupt([&chunker] { chunker.Stop(); });
  std::int32_t chunks = 0;
  try {
    chunks = chunker.MakeChunkFiles();
  } catch (const Exception& e) {
    bar.Finish();
    RemoveUnfinishedSet(made);
    if (interrupt.Interrupted()) FailFileTool("interrupted: no chunk set made", kExitInterrupted);
    std::string why = e.what();
    if (!chunker.LastProblem().empty()) why += ": " + Utf16ToUtf8(chunker.LastProblem());
    if (chunker.LastProblem().find(u"was not overwritten") != UnicodeString::npos) why += " (--force replaces it)";
    FailFileTool("cannot split " + options.file + ": " + why, kExitFailure);
  }
  bar.Finish();
  if (chunks == 0) FailFileTool("no such file: " + options.file, kExitUsage);
  std::cout << options.file << ": " << source_size << " bytes in " << chunks << (chunks == 1 ? " chunk" : " chunks")
            << " of at most " << chunk_size << " bytes\n"
            << "first chunk: " << Utf16ToUtf8(chunker.FirstFileInSet()) << "\n"
            << "manifest:    " << Utf16ToUtf8(ChunkManifestFileName(chunker.FirstFileInSet())) << "\n";
}

QuillCommand split_command("split", [](CLI::App& app) {
  auto options = std::make_shared<SplitOptions>();
  CLI::App* sub = app.add_subcommand("split", "Cut a file into chunk files of a fixed size, with a SHA-256 manifest");
  sub->add_option("file", options->file, "The file to cut")->required();
  sub->add_option("--size", options->size, "Size of each chunk file: bytes, or with K, M, G (default 100M)");
  sub->add_option("--out", options->out, "Folder for the chunk files (default: the current folder)");
  sub->add_flag("--force", options->force, "Replace chunk files already there");
  sub->add_flag("--zip", options->zip, "Cut a zip archive of the file (join gives back the archive)");
  sub->callback([options] { RunSplit(*options); });
});

}  // namespace
}  // namespace quill::cli
