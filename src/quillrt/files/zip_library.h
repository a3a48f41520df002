#pragma once
// libzip's functions, loaded on first use (internal to the files layer).
//
// libzip is not linked: it brings libcrypto and libbz2 with it, and a program
// that opens no archive should not load any of them. Zip() opens the library by
// its SONAME the first time it is called and returns a table with one pointer
// per function zip_archive.cpp uses, each typed from <zip.h>. Types and macros
// are used from <zip.h> directly; only calls go through the table.
#include <zip.h>

namespace quill::detail {

// Every libzip function called; adding a call means adding its name here.
#define QUILL_ZIP_FUNCTIONS(X)                                                                            \
  X(zip_close) X(zip_discard) X(zip_error_code_zip) X(zip_error_fini) X(zip_error_init)                   \
  X(zip_error_init_with_code) X(zip_error_strerror) X(zip_fclose) X(zip_file_add)                         \
  X(zip_file_get_external_attributes) X(zip_file_set_mtime) X(zip_file_strerror) X(zip_fopen_index)      \
  X(zip_fread) X(zip_get_archive_comment) X(zip_get_name) X(zip_get_num_entries) X(zip_open)              \
  X(zip_open_from_source) X(zip_set_archive_comment) X(zip_set_file_compression)                          \
  X(zip_source_buffer_create) X(zip_source_close) X(zip_source_file_create) X(zip_source_free)            \
  X(zip_source_keep) X(zip_source_open) X(zip_source_read) X(zip_source_stat) X(zip_stat_index)           \
  X(zip_stat_init) X(zip_strerror)

struct ZipLibrary {
#define QUILL_ZIP_POINTER(name) decltype(&::name) name = nullptr;
  QUILL_ZIP_FUNCTIONS(QUILL_ZIP_POINTER)
#undef QUILL_ZIP_POINTER
};

// The loaded table; thread-safe, loads once. When the library or one of its
// functions cannot be loaded, raises EZipError naming the library and the
// loader's reason, and tries again on the next call.
const ZipLibrary& Zip();

}  // namespace quill::detail
