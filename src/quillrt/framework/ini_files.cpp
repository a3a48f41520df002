#include "quillrt/framework/ini_files.h"

#include <algorithm>

#include "quillrt/framework/exceptions.h"
#include "quillrt/framework/format.h"
#include "quillrt/framework/sysutils.h"

namespace quill {

namespace {

bool HasLineBreak(const UnicodeString& text) { return text.find_first_of(u"\r\n") != UnicodeString::npos; }

void CheckStorable(const UnicodeString& section, const UnicodeString& ident, const UnicodeString& value) {
  const bool ident_ok = !Trim(ident).empty() && ident.find(u'=') == UnicodeString::npos &&
                        Trim(ident).front() != u'[' && Trim(ident).front() != u';' && !HasLineBreak(ident);
  if (!ident_ok || HasLineBreak(section) || HasLineBreak(value))
    throw EConvertError(u"Cannot store \"" + ident + u"\" in section \"" + section + u"\" of a settings file");
}

bool IsSectionHeader(const UnicodeString& line) {
  return line.size() >= 2 && line.front() == u'[' && line.back() == u']';
}

}  // namespace

TMemIniFile::TMemIniFile(const UnicodeString& file_name, const TEncoding* encoding)
    : file_name_(file_name), encoding_(encoding) {
  LoadValues();
}

TMemIniFile::TMemIniFile(const UnicodeString& file_name, const TEncoding* encoding, DeferLoading)
    : file_name_(file_name), encoding_(encoding) {}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::LoadValues() {
  TStringList lines;
  if (!file_name_.empty() && FileExists(file_name_)) {
    lines.LoadFromFile(file_name_, encoding_);
    if (!encoding_) encoding_ = lines.Encoding();
  }
  SetStrings(lines);
}

// ---- lookups ---------------------------------------------------------------------

const TMemIniFile::Section* TMemIniFile::FindSection(const UnicodeString& raw_name) const {
  const UnicodeString name = Trim(raw_name);
  const auto found = std::find_if(sections_.begin(), sections_.end(),
                                  [&](const Section& s) { return SameText(s.name, name); });
  return found == sections_.end() ? nullptr : &*found;
}

TMemIniFile::Section* TMemIniFile::FindSection(const UnicodeString& name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

TMemIniFile::Section& TMemIniFile::AddSection(const UnicodeString& name) {
  if (Section* existing = FindSection(name)) return *existing;
  return sections_.emplace_back(Section{Trim(name), {}});
}

const TMemIniFile::Line* TMemIniFile::FindLine(const Section& section, const UnicodeString& raw_ident) {
  const UnicodeString ident = Trim(raw_ident);
  const auto found = std::find_if(section.lines.begin(), section.lines.end(),
                                  [&](const Line& l) { return l.is_pair && SameText(l.name, ident); });
  return found == section.lines.end() ? nullptr : &*found;
}

bool TMemIniFile::SectionExists(const UnicodeString& section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(const UnicodeString& section, const UnicodeString& ident) const {
  const Section* s = FindSection(section);
  return s && FindLine(*s, ident);
}

// ---- values ----------------------------------------------------------------------

UnicodeString TMemIniFile::ReadString(const UnicodeString& section, const UnicodeString& ident,
                                      const UnicodeString& default_value) const {
  const Section* s = FindSection(section);
  const Line* line = s ? FindLine(*s, ident) : nullptr;
  return line ? line->value : default_value;
}

void TMemIniFile::WriteString(const UnicodeString& section, const UnicodeString& ident,
                              const UnicodeString& value) {
  CheckStorable(section, ident, value);
  Section& s = AddSection(section);
  const UnicodeString name = Trim(ident);
  const auto existing = std::find_if(s.lines.begin(), s.lines.end(),
                                     [&](const Line& l) { return l.is_pair && SameText(l.name, name); });
  if (existing != s.lines.end())
    existing->value = value;
  else
    s.lines.push_back(Line{name, value, true});
}

int TMemIniFile::ReadInteger(const UnicodeString& section, const UnicodeString& ident, int default_value) const {
  return StrToIntDef(ReadString(section, ident, {}), default_value);
}

void TMemIniFile::WriteInteger(const UnicodeString& section, const UnicodeString& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

bool TMemIniFile::ReadBool(const UnicodeString& section, const UnicodeString& ident, bool default_value) const {
  return ReadInteger(section, ident, default_value ? 1 : 0) != 0;
}

void TMemIniFile::WriteBool(const UnicodeString& section, const UnicodeString& ident, bool value) {
  WriteString(section, ident, value ? u"1" : u"0");
}

double TMemIniFile::ReadFloat(const UnicodeString& section, const UnicodeString& ident,
                              double default_value) const {
  return StrToFloatDef(ReadString(section, ident, {}), default_value, TFormatSettings::Invariant());
}

void TMemIniFile::WriteFloat(const UnicodeString& section, const UnicodeString& ident, double value) {
  WriteString(section, ident, FloatToStr(value, TFormatSettings::Invariant()));
}

// ---- sections --------------------------------------------------------------------

void TMemIniFile::ReadSection(const UnicodeString& section, TStrings& strings) const {
  strings.BeginUpdate();
  strings.Clear();
  if (const Section* s = FindSection(section))
    for (const Line& line : s->lines)
      if (line.is_pair) strings.Add(line.name);
  strings.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& strings) const {
  strings.BeginUpdate();
  strings.Clear();
  for (const Section& s : sections_) strings.Add(s.name);
  strings.EndUpdate();
}

void TMemIniFile::ReadSectionValues(const UnicodeString& section, TStrings& strings) const {
  strings.BeginUpdate();
  strings.Clear();
  if (const Section* s = FindSection(section))
    for (const Line& line : s->lines) strings.Add(line.is_pair ? line.name + u'=' + line.value : line.name);
  strings.EndUpdate();
}

void TMemIniFile::EraseSection(const UnicodeString& section) {
  std::erase_if(sections_, [&](const Section& s) { return SameText(s.name, Trim(section)); });
}

void TMemIniFile::DeleteKey(const UnicodeString& section, const UnicodeString& ident) {
  if (Section* s = FindSection(section))
    std::erase_if(s->lines, [&](const Line& l) { return l.is_pair && SameText(l.name, Trim(ident)); });
}

void TMemIniFile::Clear() { sections_.clear(); }

// ---- whole file ------------------------------------------------------------------

void TMemIniFile::GetStrings(TStrings& lines) const {
  lines.BeginUpdate();
  lines.Clear();
  for (const Section& s : sections_) {
    lines.Add(u'[' + s.name + u']');
    for (const Line& line : s.lines) lines.Add(line.is_pair ? line.name + u'=' + line.value : line.name);
    lines.Add(UnicodeString());
  }
  lines.EndUpdate();
}

void TMemIniFile::SetStrings(const TStrings& lines) {
  std::vector<Section> read;
  Section* current = nullptr;
  for (int i = 0; i < lines.Count(); ++i) {
    const UnicodeString line = Trim(lines[i]);
    if (line.empty() || line.front() == u';') continue;
    if (IsSectionHeader(line)) {
      const UnicodeString name = Trim(line.substr(1, line.size() - 2));
      const auto same = std::find_if(read.begin(), read.end(), [&](const Section& s) { return SameText(s.name, name); });
      current = same != read.end() ? &*same : &read.emplace_back(Section{name, {}});
      continue;
    }
    if (!current) continue;
    const std::size_t equals = line.find(u'=');
    if (equals == UnicodeString::npos)
      current->lines.push_back(Line{line, {}, false});
    else
      current->lines.push_back(Line{Trim(line.substr(0, equals)), TrimLeft(line.substr(equals + 1)), true});
  }
  sections_ = std::move(read);
}

void TMemIniFile::UpdateFile() {
  if (file_name_.empty()) return;
  TStringList lines;
  GetStrings(lines);
  lines.SetWriteBOM(true);
  lines.SaveToFile(file_name_, encoding_);
}

void TMemIniFile::Rename(const UnicodeString& file_name, bool reload) {
  file_name_ = file_name;
  if (reload) LoadValues();
}

}  // namespace quill
