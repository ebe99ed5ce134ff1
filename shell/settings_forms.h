#pragma once
// The forms of the dialogs that edit one thing: the graphic, the X axis, one parameter's axis and
// styles, one item of the Ternary or Phase plot. Each copies the model in when made and stores
// into it on store() (OK); "<" and ">" store, move to the neighbouring item and load it.

#include <cstdint>
#include <string>

#include "shell/record_form.h"
#include "shell/session.h"

namespace sx {

// GRAPHICDIALOG and, with ternary = true, TERNARYMODEGRAPHICDIALOG.
class GraphicForm : public Form {
 public:
  GraphicForm(Session& session, bool ternary, double pixelsPerCm);
  // A font picked in the font dialog; sizes outside 5..40 points are limited.
  void chooseFont(std::string_view face, int points);
  bool fontChosen() const { return fontChosen_; }
  const std::string& fontFace() const { return fontFace_; }
  int fontPoints() const { return fontPoints_; }
  void store();

 private:
  Session& session_;
  bool ternary_;
  double pixelsPerCm_;
  bool fontChosen_ = false;
  std::string fontFace_;
  int fontPoints_ = 10;
};

// XAXISDIALOG on record 0. Limits of a date or time axis are shown and typed as date text.
class XAxisForm : public RecordForm {
 public:
  XAxisForm(Session& session, double pixelsPerCm);
  void store();

 private:
  void addLimit(int id, float value, int decimals);
  void readLimit(int id, float& value, FixedText<31>& format) const;
  Session& session_;
  double pixelsPerCm_;
  bool dateAxis_;
};

// Shared by the two per-parameter dialogs: the record, and "<" / ">" over the plotted ones.
class ParameterForm : public RecordForm {
 public:
  int record() const { return record_; }
  void previous() { move(-1); }
  void next() { move(1); }
  virtual void store() = 0;

 protected:
  ParameterForm(Session& session, int record) : session_(session), record_(record) {}
  virtual void load() = 0;
  void move(int direction);
  Session& session_;
  int record_;
};

// PARAMETERAXISDIALOG.
class ParameterAxisForm : public ParameterForm {
 public:
  ParameterAxisForm(Session& session, int record, double pixelsPerCm);
  // The Group box counts at once, OK or not: GroupedColumnCount +1 ticked, -1 unticked.
  void toggleGroupLabel(bool on);
  void store() override;

 private:
  void load() override;
  double pixelsPerCm_;
};

// PARAMETEROPTIONDIALOG.
class ParameterOptionForm : public ParameterForm {
 public:
  ParameterOptionForm(Session& session, int record);
  void toggleGroupLabel(bool on);
  void store() override;

 private:
  void load() override;
  int qualityAtLoad_ = 0;
};

// TERNARYMODEDIALOG (phase = false) and PHASEMODEDIALOG, on one item of the legend.
class ModeItemForm : public RecordForm {
 public:
  ModeItemForm(Session& session, int item, bool phase);
  int item() const { return item_; }
  void previous() { move(-1); }
  void next() { move(1); }
  void store();

 private:
  void load();
  void move(int direction);
  Session& session_;
  int item_;
  bool phase_;
};

}  // namespace sx
