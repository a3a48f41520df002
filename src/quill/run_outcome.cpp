#include "run_outcome.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "commands.h"
#include "quilljobs/text_decoding.h"

namespace quill::cli {
namespace {

std::int64_t g_skipped_inputs = 0;
std::int64_t g_binary_files_skipped = 0;

}  // namespace

void ReportSkippedInput(std::string_view name, std::string_view reason) {
  ++g_skipped_inputs;
  std::cerr << "quill: skipped " << Printable(name) << ": " << reason << "\n";
}

std::int64_t SkippedInputCount() { return g_skipped_inputs; }

void NoteBinaryFileSkipped() { ++g_binary_files_skipped; }
std::int64_t BinaryFilesSkipped() { return g_binary_files_skipped; }

int FinalExitStatus(int status) {
  std::cout.flush();
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int flush_error = errno;
  if (!flushed || std::ferror(stdout) != 0 || !std::cout.good()) {
    // The reader of a pipe went away: nothing more is wanted, so no message.
    if (flush_error == EPIPE) return status;
    std::cerr << "quill: cannot write the output: "
              << (flush_error != 0 ? std::strerror(flush_error) : "write error") << "\n";
    return kExitUsage;
  }
  if (g_binary_files_skipped > 0)
    std::cerr << "quill: " << g_binary_files_skipped << (g_binary_files_skipped == 1 ? " binary file" : " binary files")
              << " skipped (--binary reads them as text)\n";
  if (g_skipped_inputs > 0) {
    std::cerr << "quill: " << g_skipped_inputs << (g_skipped_inputs == 1 ? " file" : " files") << " skipped\n";
    return kExitUsage;
  }
  return status;
}

std::string Printable(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    const std::size_t length = jobs::Utf8SequenceLength(name, i);
    // C1 controls (U+0080..U+009F) steer terminals as the C0 ones do.
    const bool c1_control = length == 2 && c == 0xC2 && static_cast<unsigned char>(name[i + 1]) < 0xA0;
    if (length == 0 || c < 0x20 || c == 0x7F || c1_control) {
      const std::size_t bytes = c1_control ? 2 : 1;
      for (std::size_t k = 0; k < bytes; ++k) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(name[i + k]));
        out += escaped;
      }
      i += bytes;
      continue;
    }
    out.append(name.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace quill::cli
