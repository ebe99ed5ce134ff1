#pragma once
// The "Set global options" commands: the scope question, the dialogs that set one group of fields
// for all (or the plotted) parameters, the colour command, colour mapping; and the parameter
// selection.

#include <cstdint>
#include <string_view>

#include "shell/record_form.h"
#include "shell/session.h"

namespace sx {

// The record the "all parameters" dialogs start from: the first record 1..256 plotted
// (Horizontal, Vertical) or selected (Ternary, Phase); 0 when there is none.
int FirstPlottedRecord(const PlotSettings& settings);

// What a "Set global options" command does before its dialog.
enum class ScopeStep {
  kNothing,  // nothing plotted: the command does nothing
  kAsk,      // ask the scope question (CHANGEMODEDIALOG)
  kGo,       // go straight to the dialog (every parameter plotted: the scope is now 0)
};
ScopeStep BeginGlobalOptions(Session& session);

// CHANGEMODEDIALOG: 1800 "in all parameters" (scope 0), 1801 "only in selected parameters" (1).
class ScopeForm : public Form {
 public:
  explicit ScopeForm(Session& session);
  void store();
  // Cancel abandons the command and leaves the scope at the selected parameters.
  void cancel();

 private:
  Session& session_;
};

// Whether record i receives what an "all parameters" dialog sets, by ApplyScope.
bool IsScopeTarget(const Session& session, int i);

// The YAXISDIALOG... dialogs and EPSILONDIALOG, on record `record`; store() writes the record and
// the target records and then rescales.
class GlobalOptionsForm : public RecordForm {
 public:
  enum class Group {
    kAxisLength,
    kRange,
    kPhaseRange,
    kTicks,
    kDoWithNext,
    kMarker,
    kModeMarker,
    kOptions,
    kQuality,
    kLineWidth,
    kColumnWidth,
    kOrientation,
    kEpsilon,
  };
  // False for a resource that is none of these dialogs.
  static bool GroupOf(std::string_view resource, Group& group);

  GlobalOptionsForm(Session& session, Group group, int record, double pixelsPerCm);
  void store();

 private:
  void copyGroup(const ParameterSettings& from, ParameterSettings& to) const;
  Session& session_;
  Group group_;
  int record_;
  double pixelsPerCm_;
};

// The colour command (3108): the colour the chooser starts from, and the choice stored into the
// targets (Horizontal, Vertical: color and ParameterColorTable by scope; Ternary, Phase:
// modeColor and ModeColorTable of every record); useColor becomes 1. Rescales afterwards.
RGB ColorCommandPreset(const Session& session, int record);
void ApplyColorCommand(Session& session, RGB chosen);

// COLORMAPPINGDIALOG: 1038 first colour, 1039 last colour, spread over the target records
// through hue, lightness and saturation.
class ColorMappingForm : public Form {
 public:
  explicit ColorMappingForm(Session& session);
  void store();

 private:
  Session& session_;
};

// SELECT: 60 boxes (1201..1260) a page, for parameters (entity kind 2) or groups (1).
class SelectForm : public Form {
 public:
  static constexpr int kBoxes = 60;
  static constexpr int kFirstBox = 1201;
  SelectForm(Session& session, std::int32_t entityKind);
  int page() const { return page_; }
  int pageCount() const { return pageCount_; }
  // The item box (1..60) stands for on this page, 0 for an empty box.
  int itemOf(int box) const;
  // A click on a box: the item changes at once.
  void toggle(int box, bool on);
  void selectAll();
  void selectNone();
  // "<" and ">": apply this page, then show the neighbouring page when there is one.
  void previousPage() { turn(-1); }
  void nextPage() { turn(1); }
  // OK: apply the page, recount, rescale.
  void store();

 private:
  void load();
  void apply();
  void turn(int direction);
  void plotWithDefaults(int parameter);
  Session& session_;
  std::int32_t kind_;
  int page_ = 0;
  int pageCount_ = 1;
};

}  // namespace sx
