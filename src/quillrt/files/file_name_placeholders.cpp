#include "quillrt/files/file_name_placeholders.h"

#include "quillrt/files/drives_and_volumes.h"
#include "quillrt/framework/sysutils.h"
#include "quillrt/platform/file_system.h"

namespace quill {

const UnicodeString user_dir_const = u"$userdir";
const UnicodeString user_drive_const = u"$user_drive";
const UnicodeString same_file_const = u"$SAME_FILE";

namespace {

bool StartsWith(const UnicodeString& s, const UnicodeString& prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// drive + rest, with a delimiter between them when the rest has none.
UnicodeString JoinedToDrive(const UnicodeString& drive, const UnicodeString& rest) {
  if (!rest.empty() && rest[0] == PathDelim) return drive + rest;
  return drive + PathDelim + rest;
}

UnicodeString PlaceholderForDrive(const UnicodeString& name, const UnicodeString& drive) {
  return JoinedToDrive(user_drive_const, name.substr(drive.size()));
}

}  // namespace

UnicodeString ConvertedUserFolderInFilename(const UnicodeString& userdir, const UnicodeString& name,
                                            bool to_placeholder) {
  if (!to_placeholder) return ConvertedFilenameFromUserDirFName(userdir, name);
  const UnicodeString folder = IncludeTrailingPathDelimiter(userdir);
  UnicodeString name_drive, folder_drive;
  if (folder.empty() || !PathDrive(name, name_drive) || !PathDrive(folder, folder_drive) || name_drive != folder_drive)
    return name;
  if (name != folder && StartsWith(name, folder)) return user_dir_const + name.substr(folder.size() - 1);
  return PlaceholderForDrive(name, name_drive);
}

UnicodeString ConvertedFilenameFromUserDirFName(const UnicodeString& userdir, const UnicodeString& name) {
  const std::size_t dir_at = name.find(user_dir_const);
  if (dir_at != UnicodeString::npos) {
    const std::size_t rest = dir_at + user_dir_const.size() + 1;
    return IncludeTrailingPathDelimiter(userdir) + (rest < name.size() ? name.substr(rest) : UnicodeString());
  }
  const std::size_t drive_at = name.find(user_drive_const);
  if (drive_at != UnicodeString::npos) {
    UnicodeString drive;
    PathDrive(ExpandFileName(userdir), drive);
    return JoinedToDrive(drive, name.substr(drive_at + user_drive_const.size()));
  }
  return name;
}

UnicodeString ConvertedFilenameIfUserDrive(const UnicodeString& name, bool to_placeholder) {
  UnicodeString program_drive;
  PathDrive(ProgramFolder(), program_drive);
  if (!to_placeholder) {
    if (!StartsWith(name, user_drive_const)) return name;
    return JoinedToDrive(program_drive, name.substr(user_drive_const.size()));
  }
  UnicodeString name_drive;
  if (!PathDrive(name, name_drive) || name_drive != program_drive) return name;
  return PlaceholderForDrive(name, name_drive);
}

UnicodeString ConvertedAppFolderInFilename(const UnicodeString& name, bool to_placeholder) {
  return ConvertedUserFolderInFilename(ProgramFolder(), name, to_placeholder);
}

void CheckUserDirConstFolder(TStrings& list, bool to_placeholder) {
  for (int i = 0; i < list.Count(); ++i) {
    const UnicodeString converted = ConvertedAppFolderInFilename(list[i], to_placeholder);
    if (converted != list[i]) list.Put(i, converted);
  }
}

}  // namespace quill
