// quill join: rebuilds a file from its chunk files, starting from chunk 1. The
// file appears only when every chunk was there, in order and undamaged (and,
// when the set has a manifest, when every byte agrees with it).
#include <filesystem>
#include <iostream>
#include <memory>

#include "commands.h"
#include "file_tool_support.h"
#include "progress.h"
#include "quillfs/file_chunker.h"

namespace quill::cli {
namespace {

struct JoinOptions {
  std::string first_chunk;
  std::string out;
  bool force = false;
  bool delete_chunks = false;
};

void RunJoin(const JoinOptions& options) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(options.first_chunk, error)) {
    FailFileTool("no such file: " + options.first_chunk, kExitUsage);
  }
  TFileChunker chunker;
  chunker.SetSourcename(Utf8ToUtf16(options.first_chunk));
  chunker.SetDeleteAfterRestore(options.delete_chunks);
  if (options.out.empty()) {
    chunker.SetDirRestoring(u".");
  } else if (std::filesystem::is_directory(options.out, error)) {
    chunker.SetDirRestoring(Utf8ToUtf16(options.out));
  } else {
    chunker.SetRestoreAs(Utf8ToUtf16(options.out));
  }

  // The bar appears with the first chunk, once the set's size is known.
  std::unique_ptr<ProgressBar> bar;
  chunker.OnRestoreOne = [&](const UnicodeString&, std::int32_t number, std::int32_t out_of) {
    if (!bar) bar = std::make_unique<ProgressBar>("joining " + options.first_chunk, out_of);
    bar->Set(number);
  };
  QuestionAnswers answers(options.force);
  InterruptScope interrupt([&chunker] { chunker.Stop(); });
  const bool restored = chunker.RestoreAllChunks();
  if (bar) bar->Finish();
  const std::string target = Utf16ToUtf8(chunker.RestoredName());
  if (!restored) {
    if (interrupt.Interrupted()) FailFileTool("interrupted: " + target + " was not written", kExitInterrupted);
    std::string why = Utf16ToUtf8(chunker.LastProblem());
    if (why.find("was not overwritten") != std::string::npos) why += " (--force replaces it, keeping a .bak copy)";
    FailFileTool("cannot join " + options.first_chunk + ": " + why, kExitFailure);
  }
  std::cout << target << ": restored from " << chunker.OutOf() << (chunker.OutOf() == 1 ? " chunk" : " chunks") << "\n";
  if (chunker.ManifestVerified()) {
    std::cout << "verified: every chunk and the whole file agree with the set's SHA-256 manifest\n";
  } else {
    std::cout << "not fully verified: the set has no manifest, and a chunk's own checksum covers only its last "
                 "61440 bytes\n";
  }
}

QuillCommand join_command("join", [](CLI::App& app) {
  auto options = std::make_shared<JoinOptions>();
  CLI::App* sub = app.add_subcommand("join", "Rebuild a file from its chunk files, checking every chunk");
  sub->add_option("first_chunk", options->first_chunk, "Chunk 1 of the set (\"chunk 1 of N.tmp\")")->required();
  sub->add_option("--out", options->out,
                  "File (or folder) to restore to (default: the stored file name in the current folder)");
  sub->add_flag("--force", options->force, "Replace an existing file (a .bak copy of it is kept)");
  sub->add_flag("--delete-chunks", options->delete_chunks, "Delete the chunk files once the file is restored");
  sub->callback([options] { RunJoin(*options); });
});

}  // namespace
}  // namespace quill::cli
