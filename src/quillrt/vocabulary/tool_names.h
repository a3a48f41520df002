#pragma once
// The names of the workbench's tools, their program file names, the running
// tool's identification, and the version number each tool writes into the
// header of the lists it saves.
//
// The kinds themselves (`tool_type`) and the running tool (`current_tool_var`)
// live in process/, where the log already needs them; this header adds what
// the tools say about themselves.
#include <array>
#include <cstdint>

#include "quillrt/framework/strings.h"
#include "quillrt/process/shared_state.h"
#include "quillrt/process/tool_kinds.h"
#include "quillrt/quillrt_export.h"
#include "quillrt/vocabulary/enum_sets.h"

namespace quill {

inline constexpr unsigned kToolKindCount = tool_none + 1;  // 22 kinds, tool_none last

using TTool_Type_Set = TEnumSet<tool_type, kToolKindCount>;

// The major version of the workbench, as it appears in program file names and
// captions.
inline constexpr int kQuillaryMajorVersion = 7;

// The version number that each tool writes into the header of a list it saves
// (and expects to find there). Several tools share a number.
extern QUILLRT_API const std::array<std::int32_t, kToolKindCount> CurrentSignature;

// The signature entry of `tool`; 0 for a value outside the enumeration.
QUILLRT_API std::int32_t CurrentSignatureOf(tool_type tool);

// The display name of a tool; empty for the reserved and spare kinds, the
// shared word-buffer tool, tool_any_main and tool_none.
QUILLRT_API UnicodeString Tool_Name(tool_type tool);

// The program file of a tool: its name with every space as "_", then the major
// version, then ".dll" for tool_api and ".exe" for the others. Empty when the
// tool has no name.
QUILLRT_API UnicodeString GetShortToolFilename(tool_type tool);
// The folder of the running program (with its trailing separator), then the
// short file name.
QUILLRT_API UnicodeString GetFullToolFilename(tool_type tool);

// Sets current_tool_var to the first kind whose short file name equals the
// running program's file name, ignoring case; tool_none when no kind's does.
QUILLRT_API void SetCurrentTool();
// The same for a program file name given by the caller (a path or a bare name).
QUILLRT_API void SetCurrentTool(const UnicodeString& program_file_name);

// "Quillary Tools 7.0": the controller's caption with the version as "%4.1f".
QUILLRT_API UnicodeString QuillaryControllerCaption();
// "7.0.0.100".
QUILLRT_API UnicodeString CurrentQYMajorVersion100Str();
// The address of the online help of this major version, ending in "/HTML/".
// A deployment may point it elsewhere with SetQuillaryHelpURL.
QUILLRT_API UnicodeString QuillaryHelpURL();
QUILLRT_API void SetQuillaryHelpURL(const UnicodeString& url);

QUILLRT_API float CardinalToSingle(std::uint32_t value);
QUILLRT_API float IntToSingle(std::int32_t value);

}  // namespace quill
