#pragma once
// The program's whole state: every table, allocated once with its capacity and budget when the
// session is made, and the start-up values. Functions below the shell take the parts they need
// by reference; nothing depends on a hidden global.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/data_model.h"
#include "core/memory_budgets.h"
#include "core/user_interface.h"
#include "core/version.h"
#include "core/work_buffers.h"
#include "render/plot_context.h"
#include "settings/patterns.h"
#include "settings/plot_settings.h"
#include "settings/window_placement.h"
#include "shell/dialog_state.h"

namespace sx {

struct Session {
  DataModel data;
  PlotSettings settings;
  PatternTable patterns;
  RenderState render;
  StartupState startup;
  WorkBuffers buffers;
  DialogState dialogs;
  UserInterface* ui = nullptr;

  PlotModels models() { return {data, settings, patterns, render}; }
  // The pass context for a surface of the given resolution factors.
  PlotContext plotContext(ScaleInfo scale) { return models().context(scale); }
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

// The Version box's text.
std::string FormatVersionInfo();  // "Version number:\n..."

}  // namespace sx
