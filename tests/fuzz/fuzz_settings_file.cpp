// Feeds arbitrary bytes to the settings file as the contents of a file on disk.
//
// Whatever the bytes, reading must not crash, and what was read must survive a
// save: the saved file, read again, holds the same sections, names and values.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "quillrt/collections/mem_ini_file.h"
#include "quillrt/framework/streams.h"
#include "quillrt/framework/string_list.h"

namespace {

using namespace quill;

void Check(bool condition) {
  if (!condition) std::abort();
}

const std::string& ScratchFile() {
  static const std::string name = "/tmp/fuzz_settings_file_" + std::to_string(::getpid()) + ".ini";
  return name;
}

UnicodeString Contents(const TMemIniFile& ini) {
  TStringList lines;
  ini.GetStrings(lines);
  return lines.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const UnicodeString name = Utf8ToUtf16(ScratchFile());
  {
    TFileStream out(name, fmCreate);
    if (size > 0) out.WriteBuffer(data, static_cast<std::int64_t>(size));
  }
  UnicodeString first;
  {
    TMyMemIniFile ini(name);
    first = Contents(ini);
    ini.UpdateFile();
  }
  TMyMemIniFile again(name);
  Check(Contents(again) == first);
  std::remove(ScratchFile().c_str());
  return 0;
}
