#include "shell/file_dialogs.h"

#include "core/text_convert.h"

namespace sx {
namespace {

constexpr FileFilter kDataFilters[] = {{"MERIDAT Files (*.tab)", "*.tab"},
                                       {"Text Files (*.txt)", "*.txt"},
                                       {"Text Files (*.csv)", "*.csv"},
                                       {"ASCII Files (*.asc)", "*.asc"},
                                       {"All Files (*.*)", "*.*"}};
constexpr FileFilter kTextFilters[] = {{"Text Files (*.txt)", "*.txt"},
                                       {"Text Files (*.csv)", "*.csv"},
                                       {"ASCII Files (*.asc)", "*.asc"},
                                       {"All Files (*.*)", "*.*"}};
constexpr FileFilter kTemplateFilters[] = {{"Sondrix Template Files (*.stf)", "*.stf"},
                                           {"All Files (*.*)", "*.*"}};
// The export's formats; the entry chosen decides the format of a name without an extension.
constexpr FileFilter kMetafileFilters[] = {{"Microsoft Enhanced Metafiles (*.emf)", "*.emf"},
                                           {"SVG Drawings (*.svg)", "*.svg"},
                                           {"PDF Documents (*.pdf)", "*.pdf"},
                                           {"PNG Images (*.png)", "*.png"},
                                           {"All Files (*.*)", "*.*"}};
constexpr FileFilter kProgramFilters[] = {{"Program Files (*.EXE)", "*.EXE"}};
constexpr FileFilter kAllFilters[] = {{"All Files (*.*)", "*.*"}};

// The data file's name with every ".tab" in it replaced, in its own folder.
std::string WithNameReplaced(const DataModel& data, std::string_view prefix,
                             std::string_view extension, bool appendWhenNone) {
  if (data.DataFileName.empty()) return {};
  std::string name(prefix);
  name += data.DataFileName;
  if (ReplaceAll(name, ".tab", extension) == 0 && appendWhenNone) name += extension;
  return data.DataDirectory + name;
}

}  // namespace

std::span<const FileFilter> FileFilterList(std::int32_t filterKind) {
  switch (filterKind) {
    case kFilterData:
      return kDataFilters;
    case kFilterTemplate:
      return kTemplateFilters;
    case kFilterMetafile:
      return kMetafileFilters;
    case kFilterProgram:
      return kProgramFilters;
    case kFilterAll:
      return kAllFilters;
    default:
      return kTextFilters;
  }
}

std::string_view DefaultExtension(std::int32_t filterKind) {
  const std::string_view pattern = FileFilterList(filterKind).front().pattern;
  if (pattern.substr(0, 2) != "*." || pattern == "*.*") return {};
  return pattern.substr(2);
}

SaveDialog SaveDialogFor(std::int32_t kind) {
  switch (kind) {
    case kSaveDataKind:
      return {kFilterText, "Save data as..."};
    case kSaveTemplateKind:
      return {kFilterTemplate, "Select template"};
    case kSaveExportKind:
      return {kFilterMetafile, "Select export file"};
    case kSaveDescriptionKind:
      return {kFilterDescription, "Save data description as..."};
    default:
      return {};
  }
}

std::string InitialSaveName(const Session& session, std::int32_t kind) {
  const DataModel& data = session.data;
  switch (kind) {
    case kSaveDataKind:
      return data.DataFileName.empty() ? std::string() : data.DataDirectory + data.DataFileName;
    case kSaveTemplateKind:
      return session.settings.TemplatePath;
    case kSaveExportKind:
      return WithNameReplaced(data, "", ".emf", true);
    case kSaveDescriptionKind:
      return WithNameReplaced(data, "DD_", ".txt", false);
    default:
      return {};
  }
}

}  // namespace sx
