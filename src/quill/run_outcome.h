#pragma once
// What went wrong on the way through a run besides the command's own answer:
// inputs that had to be left out (each named on standard error when met, with
// the reason) and standard output that could not be written. Either makes the
// run's exit status 2, whatever the command found: a partial answer must never
// pass for a whole one (the convention of grep and ripgrep).
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::cli {

// Writes "quill: skipped NAME: REASON" to standard error and counts the input
// as lost.
void ReportSkippedInput(std::string_view name, std::string_view reason);
// Inputs reported by ReportSkippedInput so far.
std::int64_t SkippedInputCount();

// Counts a file left out on purpose (a binary file not asked for with
// --binary). Not an error: the summary says how many.
void NoteBinaryFileSkipped();
std::int64_t BinaryFilesSkipped();

// The exit status of a run whose command ended with `status`: standard output
// is flushed first, and a write error ("quill: cannot write the output: ...")
// or a skipped input ("quill: N files skipped") turns it into 2. Binary files
// left out are noted ("quill: N binary files skipped ...") without an error. A closed pipe
// (the reader has gone, as with `| head`) ends the run quietly.
int FinalExitStatus(int status);

// `name` fit to print on one line of text output: bytes that are not UTF-8,
// and control characters (newlines, terminal escapes) are shown as \xHH
// escapes; everything else is unchanged.
// Visible to the pictures module, which prints file names too.
[[gnu::visibility("default")]] std::string Printable(std::string_view name);

}  // namespace quill::cli
