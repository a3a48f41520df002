#pragma once
// The message catalogue: every user-facing text of the library, looked up by its
// key ("_QYFileReadError", "_QYTrue" ...). Code never writes such a text inline;
// it asks for the key when it needs the text, so that a translated table can be
// put in place at run time without changing code.
//
// Keys are plain strings: names that begin with an underscore and a capital are
// reserved in C++, so they never become identifiers.
//
// Lookup order: an override set at run time (a language pack, or one entry set
// by a tool), then the built-in English table. A key that neither knows gives
// the key itself, so that a missing text shows up as its name, never as a blank.
//
// Like the rest of the library, the catalogue is used from the calling tool's
// user-interface thread only; it takes no locks.
#include <string_view>
#include <vector>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/string_list.h"
#include "quillrt/framework/strings.h"
#include "quillrt/quillrt_export.h"

namespace quill {

// The text of `key`: an override when one is set, else the built-in English
// text, else the key itself (as UTF-16).
QUILLRT_API UnicodeString CatalogueText(std::string_view key);

// Whether `key` has a text, built in or overridden.
QUILLRT_API bool HasCatalogueText(std::string_view key);

// The built-in English text of `key`, ignoring overrides; the key itself when
// there is none.
QUILLRT_API UnicodeString EnglishCatalogueText(std::string_view key);

// Every key of the built-in tables, once each, in ascending byte order.
QUILLRT_API std::vector<std::string_view> CatalogueKeys();

// Replaces the text of `key` until it is reset. A key outside the built-in table
// may be set too (a language pack may be newer than the library).
QUILLRT_API void SetCatalogueText(std::string_view key, const UnicodeString& text);

// Drops the override of one key, or of every key.
QUILLRT_API void ResetCatalogueText(std::string_view key);
QUILLRT_API void ResetCatalogue();

// Applies a language pack given as "key=text" lines: each line whose name (the
// text before the first "=", blanks trimmed) is not empty sets that key to the
// rest of the line, exactly as written.
// Blank lines and lines starting with ";" or "#" are comments. Returns the
// number of entries set.
QUILLRT_API int ApplyCatalogueOverrides(const TStrings& lines);

// Reads a language pack file in the same form (UTF-8 or UTF-16 with a byte-order
// mark, else UTF-8) and applies it. A file that cannot be opened raises
// EFOpenError and changes nothing.
QUILLRT_API int LoadCatalogueLanguagePack(const UnicodeString& file_name);

// A translation that could not be applied; the message names the file and line.
QUILL_DECLARE_EXCEPTION(ECatalogueError, Exception);

// Applies a translation given as UTF-8 text of "key<TAB>text" lines (a byte-order
// mark at the start is skipped, a CR before a line break is dropped). Lines that
// are empty or start with "#" are comments. In a text, "\t", "\n", "\r" and "\\"
// stand for a tab, a line feed, a carriage return and a backslash.
//
// Every line is checked before anything is applied, so a faulty file changes
// nothing: ECatalogueError names `origin` and the first faulty line for a line
// without a tab, an empty key or text, a key the built-in tables do not know, a
// key given twice, an unknown escape, bytes that are not UTF-8, or a text whose
// format placeholders (%s, %d ...) differ from the English text's (it would break
// the Format call that fills it). Returns the number of texts set.
QUILLRT_API int ApplyCatalogueTranslation(std::string_view utf8_lines, const UnicodeString& origin);

// Reads a translation file in that form and applies it. A file that cannot be
// opened raises EFOpenError; a faulty one ECatalogueError; either changes nothing.
QUILLRT_API int LoadCatalogueTranslation(const UnicodeString& file_name);

// The format placeholders of a text, as their conversion letters in lower case
// and in order ("%s found in %s within %d words of %s" gives "ssds"). "%%" is no
// placeholder, nor is a "%" that no conversion letter follows ("File %").
QUILLRT_API std::string CatalogueFormatPlaceholders(const UnicodeString& text);

}  // namespace quill
