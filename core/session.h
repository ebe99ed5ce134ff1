#pragma once
// The program's whole state: every table, allocated once with its capacity and budget when the
// session is made, and the start-up values. Functions take the parts they need by reference;
// nothing depends on a hidden global.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "core/user_interface.h"
#include "plot/plot_context.h"
#include "settings/patterns.h"
#include "settings/plot_settings.h"

namespace sx {

struct MemoryBudgets {
  std::int32_t MaxNumericItems = kDefaultMaxNumericItems;
  std::int32_t MaxTextItems = kDefaultMaxTextItems;
};

// A budget is usable when it is positive and its table stays within 4 GiB.
bool IsNumericBudgetValid(std::int64_t maxNumericItems);
bool IsTextBudgetValid(std::int64_t maxTextItems);
// Replaces each unusable budget by its default.
MemoryBudgets SanitizeBudgets(MemoryBudgets budgets);

// The "Set memory" dialog's reading of one field on OK: a field that is not a number, or whose
// number is not a usable budget, keeps the remembered (previously shown) value.
std::int32_t ReadNumericBudgetField(std::string_view text, std::int32_t remembered);
std::int32_t ReadTextBudgetField(std::string_view text, std::int32_t remembered);

struct Placement {
  std::int32_t x = -1, y = -1, width = -1, height = -1;
  bool operator==(const Placement&) const = default;
};

struct WindowPlacements {
  Placement FramePlacement;
  Placement PlotWindowPlacement;
  Placement DescriptionWindowPlacement;
};

// The three placements computed from the screen size (integer divisions).
WindowPlacements DefaultWindowPlacement(std::int32_t screenWidth, std::int32_t screenHeight);

struct StartupState {
  WindowPlacements placements;
  // Budgets for the next start, as the window file and the "Set memory" dialog keep them. The
  // tables of this run keep the budgets they were made with (DataModel::MaxNumericItems and
  // MaxTextItems), whatever these become.
  MemoryBudgets budgets;
  std::int32_t FileFromCommandLine = 0;
  std::int32_t PlotWindowState = -1;  // -1 never opened, 1 open, 0 closed
  std::int32_t DescriptionWindowState = -1;
};

// Work buffers of the reader and the text helpers, reserved once so that reading never
// allocates per line. A raw line holds at most 10000 bytes; decoded from Windows-1252 it may
// take three times as many.
struct WorkBuffers {
  std::string LineBuffer;        // raw bytes of the line being read
  std::string DecodedLine;       // the line as UTF-8
  std::string HeaderLineBuffer;  // the line examined before the data lines
  std::string GroupLine;         // last skipped line before the column-header line
  std::string ScratchBuffer;
  void Reserve();
};

struct Session {
  DataModel data;
  PlotSettings settings;
  PatternTable patterns;
  RenderState render;
  StartupState startup;
  WorkBuffers buffers;
  UserInterface* ui = nullptr;

  // The pass context for a surface of the given resolution factors.
  PlotContext plotContext(ScaleInfo scale) { return {data, settings, patterns, render, scale}; }
};

// Allocates every table in order; returns -1 at the first allocation that fails, else 0.
std::int32_t AllocateTables(Session& session, MemoryBudgets budgets);

// Makes the session: tables at their capacities and budgets (unusable budgets fall back to the
// defaults), initial values, colour tables. When an allocation fails the failure is reported and
// the default budgets are tried once more; when that fails too, a message says so and the result
// is null. The program never runs with a missing table.
std::unique_ptr<Session> CreateSession(MemoryBudgets budgets, UserInterface& ui);

// Splits a data file path given on the command line: cut at the last double quote, drop up to
// the first one; a text holding a path separator becomes DataFilePath / DataDirectory /
// DataFileName and sets FileFromCommandLine. Returns whether a path was taken.
bool SplitCommandLinePath(std::string_view commandLine, Session& session);

// Sets DataFilePath, DataDirectory (up to and including the last "/") and DataFileName from a
// path; a path without a directory has an empty DataDirectory.
void SetDataFilePath(DataModel& data, std::string_view path);

// Message texts shared with the windows.
inline constexpr std::string_view kVersionText = "11.04 - Build: 2009-08-24";
std::string FormatDataInfo(const DataModel& data);  // "Number of columns: ..." text
std::string FormatVersionInfo();                    // "Version number:\n..."

}  // namespace sx
