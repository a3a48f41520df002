#include "run_outcome.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "commands.h"

namespace quill::cli {
namespace {

std::int64_t g_skipped_inputs = 0;
std::int64_t g_binary_files_skipped = 0;

// The length of the well-formed UTF-8 sequence at `at` (1 to 4), 0 when the
// bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, min = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, min = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, min = 0x10000;
  else return 0;
  if (at + length > s.size()) return 0;
  unsigned code = lead & (0x7Fu >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

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
    const std::size_t length = Utf8SequenceLength(name, i);
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
