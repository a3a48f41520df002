#include "quillrt/platform/dynamic_library.h"

#include <dlfcn.h>

#include <mutex>
#include <unordered_map>

namespace quill {

namespace {

struct OpenLibrary {
  void* handle = nullptr;
  std::uint32_t loads = 0;  // dlopen calls not yet balanced by dlclose
};

// The libraries loaded through LoadLibraryW, by id. Guarded by a mutex because
// a handle table is cheap to protect and corrupting it would be costly.
struct LibraryTable {
  std::mutex lock;
  std::unordered_map<HMODULE, OpenLibrary> by_id;
  HMODULE last_id = 0;

  HMODULE IdOf(void* handle) const {
    for (const auto& [id, library] : by_id)
      if (library.handle == handle) return id;
    return 0;
  }
  HMODULE NextFreeId() {
    do {
      ++last_id;  // wraps after four billion loads; 0 and ids in use are skipped
    } while (last_id == 0 || by_id.contains(last_id));
    return last_id;
  }
};

LibraryTable& Table() {
  static LibraryTable table;
  return table;
}

thread_local std::string last_error;

void RememberLoaderError(const char* fallback) {
  const char* message = dlerror();
  last_error = message != nullptr ? message : fallback;
}

}  // namespace

HMODULE LoadLibraryW(const UnicodeString& file_name) {
  if (file_name.empty()) {
    last_error = "no library name given";
    return 0;
  }
  const std::string path = Utf16ToUtf8(file_name);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    RememberLoaderError("cannot load the library");
    return 0;
  }
  LibraryTable& table = Table();
  std::lock_guard guard(table.lock);
  HMODULE id = table.IdOf(handle);
  if (id == 0) {
    id = table.NextFreeId();
    table.by_id[id].handle = handle;
  }
  ++table.by_id[id].loads;
  last_error.clear();
  return id;
}

void* GetProcAddress(HMODULE module, const std::string& proc_name) {
  void* handle = nullptr;
  {
    LibraryTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto found = table.by_id.find(module);
    if (found != table.by_id.end()) handle = found->second.handle;
  }
  if (handle == nullptr) {
    last_error = "unknown module handle";
    return nullptr;
  }
  if (proc_name.empty()) {
    last_error = "no function name given";
    return nullptr;
  }
  dlerror();  // clear a stale message so that a failure below is ours
  void* address = dlsym(handle, proc_name.c_str());
  if (address == nullptr) {
    RememberLoaderError("function not found");
    return nullptr;
  }
  last_error.clear();
  return address;
}

bool FreeLibrary(HMODULE module) {
  void* handle = nullptr;
  {
    LibraryTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto found = table.by_id.find(module);
    if (found == table.by_id.end()) {
      last_error = "unknown module handle";
      return false;
    }
    handle = found->second.handle;
    if (--found->second.loads == 0) table.by_id.erase(found);
  }
  if (dlclose(handle) != 0) {
    RememberLoaderError("cannot release the library");
    return false;
  }
  last_error.clear();
  return true;
}

UnicodeString LastLibraryError() { return Utf8ToUtf16(last_error); }

std::optional<std::vector<void*>> LoadLibraryForGood(const char* soname, std::span<const char* const> names,
                                                     std::string& reason) {
  void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* message = dlerror();
    reason = message != nullptr ? message : std::string("cannot load ") + soname;
    return std::nullopt;
  }
  std::vector<void*> addresses;
  addresses.reserve(names.size());
  for (const char* name : names) {
    dlerror();
    void* address = dlsym(handle, name);
    if (address == nullptr) {
      const char* message = dlerror();
      reason = message != nullptr ? message : std::string(name) + " is missing";
      dlclose(handle);
      return std::nullopt;
    }
    addresses.push_back(address);
  }
  return addresses;
}

}  // namespace quill
