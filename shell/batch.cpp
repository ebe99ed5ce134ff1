#include "shell/batch.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <exception>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "core/atomic_file.h"
#include "core/device_int.h"
#include "core/line_reader.h"
#include "core/messages.h"
#include "plot/plot_pass.h"
#include "settings/scales.h"
#include "settings/settings_snapshot.h"
#include "settings/template_file.h"
#include "shell/export.h"
#include "shell/open_sequence.h"

namespace sx {
namespace {

// The automatic ranges and scales after a batch load: with an active template only the
// parameters it marks automatic are rescaled, and the marks stay.
void RenewScales(Session& session, bool templateActive) {
  DataModel& data = session.data;
  PlotSettings& settings = session.settings;
  ComputeAutomaticRanges(data, settings);
  if (templateActive) {
    ApplyAutomaticScales(data, settings, -1);
  } else {
    settings.graphic.plottedCount = data.ParameterCount;
    ApplyAutomaticScales(data, settings, 0);
  }
}

std::string LoadFailureReason(std::int32_t n) {
  if (n == kLoadCouldNotOpen) return "could not open file";
  if (n == kLoadWrongFormat) return "wrong format of data";
  return "no parameter to plot";
}

// Why a file of the batch could not use the batch's template.
std::string TemplateFailureReason(std::int32_t code) {
  if (code == kTemplateCouldNotOpen) return "template: could not open file";
  if (code < kTemplateNoVersionLine) return "template: wrong format of data";
  return "template: old template";
}

bool IsUsableSide(std::int32_t side) {
  return side >= 1 && side <= 20000;
}

// A file as the file system knows it: device and inode, links followed.
using FileId = std::pair<dev_t, ino_t>;

std::optional<FileId> IdOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileId{st.st_dev, st.st_ino};
}

// Everything RunBatch changes besides the data of the files it loads.
struct SavedState {
  std::string path, directory, name;
  std::int32_t parameterCount = 0;
  SettingsSnapshot settings;
  // What the user may have changed in the data model since the load: the column names and group
  // titles (edited in the dialogs) and the description (reloaded from its own file).
  std::vector<ColumnRecord> columns;
  std::vector<DescriptionLine> description;
  std::int32_t descriptionLineCount = 0;

  void Take(const DataModel& data) {
    const std::size_t n = std::min<std::size_t>(data.ColumnTable.size(), kMaxParameter + 1);
    columns.assign(data.ColumnTable.data(), data.ColumnTable.data() + n);
    description.assign(data.DescriptionTable.data(),
                       data.DescriptionTable.data() + data.DescriptionTable.size());
    descriptionLineCount = data.DescriptionLineCount;
  }
  void PutBack(DataModel& data) const {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      data.ColumnTable[c].label = columns[c].label;
      data.ColumnTable[c].groupName = columns[c].groupName;
    }
    std::copy(description.begin(), description.end(), data.DescriptionTable.data());
    data.DescriptionLineCount = descriptionLineCount;
  }
};

// The file that was open comes back: its data read again, then its settings exactly as they
// stood (a fresh load would bring back the file's defaults and lose the user's changes).
void ReturnToPreviousFile(Session& session, const SavedState& saved) {
  DataModel& data = session.data;
  data.DataFilePath = saved.path;
  data.DataDirectory = saved.directory;
  data.DataFileName = saved.name;
  if (saved.parameterCount >= 1 && !saved.path.empty()) {
    data.ParameterCount = LoadDataFile(session);
    if (data.ParameterCount == saved.parameterCount) saved.PutBack(data);
  } else {
    // Nothing was shown before the batch: show nothing afterwards either, rather than the last
    // file of the batch under no name.
    ClearDataModel(data);
    data.ParameterCount = saved.parameterCount;
  }
  saved.settings.Restore(session.settings);
  // The automatic ranges depend on the quality filter of the settings just put back.
  if (data.ParameterCount >= 1) ComputeAutomaticRanges(data, session.settings);
}

}  // namespace

std::string BatchExportPath(std::string_view path, std::string_view extension) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::size_t cut = path.find(".SX", nameStart);
  if (cut == std::string_view::npos) cut = path.find(".sx", nameStart);
  std::string out(path.substr(0, cut));
  out += extension;
  return out;
}

BatchReport RunBatch(Session& session, const BatchRequest& request,
                     const ScreenSurfaceFactory& screen, const FileSurfaceFactory& factory,
                     const BatchProgress& progress) {
  BatchReport report;
  DataModel& data = session.data;
  PlotSettings& settings = session.settings;
  GraphicSettings& g = settings.graphic;
  SavedState saved;
  try {
    saved.path = data.DataFilePath;
    saved.directory = data.DataDirectory;
    saved.name = data.DataFileName;
    saved.parameterCount = data.ParameterCount;
    saved.settings.Take(settings);
    if (saved.parameterCount >= 1) saved.Take(data);
  } catch (...) {
    return report;  // not even the current state can be kept: nothing is touched
  }
  const bool forceTemplate = !request.templatePath.empty();
  const std::size_t count = request.files.size();
  // A template that cannot be opened (missing, a folder, a FIFO) fails every file unread.
  const bool templateUnusable = forceTemplate && !LineReader().OpenRegular(request.templatePath);
  if (templateUnusable) {
    ShowFileMessage(*session.ui, kFileCouldNotOpen, request.templatePath);
    report.templateResult = kTemplateCouldNotOpen;
  }
  try {
    // Every data file of the batch: a picture replaces none of them, neither one drawn already
    // nor one still to be read.
    std::set<FileId> dataFiles;
    if (!templateUnusable) {
      for (const std::string& file : request.files) {
        if (const std::optional<FileId> id = IdOf(file)) dataFiles.insert(*id);
      }
    }
    // Pictures this batch has written: two files whose pictures would have one name must not
    // leave only the second one's.
    std::set<FileId> pictures;
    report.files.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      if (request.cancelRequested && request.cancelRequested()) {
        report.cancelled = true;
        break;
      }
      BatchFileResult result;
      result.file = request.files[i];
      result.output = BatchExportPath(result.file, request.extension);
      // The writer refuses the open data file too; saying so before the load names the cause
      // and spares the drawing. The file open before the batch is read again afterwards.
      std::string refusal;
      if (templateUnusable) {
        refusal = TemplateFailureReason(kTemplateCouldNotOpen);
      } else if (IsSameFile(result.output, result.file)) {
        refusal = "the output is the data file itself";
      } else if (const std::optional<FileId> id = IdOf(result.output);
                 id && dataFiles.count(*id) > 0) {
        refusal = "the output is another data file of the batch";
      } else if (saved.parameterCount >= 1 && IsSameFile(result.output, saved.path)) {
        refusal = "the output is the data file open before the batch";
      } else if (const std::optional<FileId> id = IdOf(result.output);
                 id && pictures.count(*id) > 0) {
        refusal = "the output is the picture of an earlier file of the batch";
      }
      std::int32_t n = 0;
      std::int32_t templateResult = kTemplateApplied;
      bool templateActive = false;
      if (refusal.empty()) {
        SetDataFilePath(data, result.file);
        if (forceTemplate) {
          settings.TemplatePath = request.templatePath;
          g.useTemplate = 1;
        }
        templateActive = IsTemplateActive(settings);
        n = LoadDataFile(session, &templateResult);
        data.ParameterCount = n;
      }
      if (!refusal.empty()) {
        result.status = BatchStatus::kFailed;
        result.reason = std::move(refusal);
      } else if (n < 1) {
        result.status = BatchStatus::kSkipped;
        result.reason = LoadFailureReason(n);
      } else if (forceTemplate && templateResult != kTemplateApplied) {
        // Drawn without the template the picture would pass for one made with it.
        result.status = BatchStatus::kFailed;
        result.reason = TemplateFailureReason(templateResult);
        if (report.templateResult == kTemplateApplied) report.templateResult = templateResult;
      } else {
        RenewScales(session, templateActive);
        if (IsUsableSide(request.width) && IsUsableSide(request.height)) {
          g.graphicWidth = request.width;
          g.graphicHeight = request.height;
        } else if (!IsUsableSide(g.graphicWidth) || !IsUsableSide(g.graphicHeight)) {
          g.graphicWidth = request.fallbackWidth;
          g.graphicHeight = request.fallbackHeight;
        }
        result.reason = LayOutAndExport(session, result.output, screen, factory);
        result.status = result.reason.empty() ? BatchStatus::kWritten : BatchStatus::kFailed;
        if (result.status == BatchStatus::kWritten) {
          if (const std::optional<FileId> id = IdOf(result.output)) pictures.insert(*id);
          result.nothingDrawn = WhyNothingIsDrawn(data, settings);
          report.nothingDrawn += !result.nothingDrawn.empty();
        }
      }
      switch (result.status) {
        case BatchStatus::kWritten:
          ++report.written;
          break;
        case BatchStatus::kSkipped:
          ++report.skipped;
          break;
        case BatchStatus::kFailed:
          ++report.failed;
          break;
      }
      report.files.push_back(std::move(result));
      if (progress) progress(report.files.back(), i, count);
    }
  } catch (...) {
    // Out of memory for a report line or a failing callback: the remaining files count as
    // failed, and the previous file still comes back.
    const std::int64_t done = std::int64_t{report.written} + report.skipped + report.failed;
    const std::int64_t left = static_cast<std::int64_t>(std::min<std::size_t>(count, INT32_MAX));
    report.failed =
        ToInt32(static_cast<double>(report.failed + std::max<std::int64_t>(0, left - done)));
  }
  try {
    ReturnToPreviousFile(session, saved);
  } catch (...) {
    data.ParameterCount = kNoData;  // the previous file could not be read back
  }
  return report;
}

}  // namespace sx
