#pragma once
// Writing a frequency list (lines with their frequency in the object slot) to
// standard output as tab-separated lines or as JSON, in UTF-8.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "quillrt/framework/string_list.h"

namespace quill::cli {

enum class OutputFormat { tsv, json };

// "tsv" or "json"; anything else is a usage error.
OutputFormat ParseOutputFormat(const std::string& name);

// TSV: one "item<TAB>frequency" line per entry. JSON: an object with the
// `summary` fields (name, number) and `items_name` holding an array of
// {"<item_key>": ..., "freq": ...}.
void WriteFrequencyList(const TStringList& list, OutputFormat format,
                        const std::vector<std::pair<std::string, std::int64_t>>& summary,
                        const std::string& items_name, const std::string& item_key);

// Prints a saved word list (or n-gram list) in `format`, as `quill wordlist`
// prints the list it counts.
void PrintSavedFrequencyList(const std::string& path, OutputFormat format);

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& utf8);

}  // namespace quill::cli
