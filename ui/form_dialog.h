#pragma once
// A modal dialog that mirrors a settings form: each control is a widget whose object name is its
// id; the form's values go into the widgets when shown and come back before OK, "<" and ">".

#include <QDialog>
#include <QGridLayout>
#include <functional>
#include <map>

#include "shell/form_fields.h"
#include "shell/session.h"

class QAbstractButton;
class QBoxLayout;
class QGroupBox;

namespace sx {

class FormDialog : public QDialog {
  Q_OBJECT

 public:
  FormDialog(QWidget* parent, Session& session, Form& form, const char* resource,
             const QString& title);

  // Widgets for the form's controls (object name = id). An integer field with a spin range
  // becomes a spin box.
  QWidget* field(int id);
  QAbstractButton* check(int id, const QString& text);
  QAbstractButton* radio(int id, const QString& text);
  QAbstractButton* colorButton(int id, const QString& text);
  // A row of a grid: label, field, unit.
  void row(QGridLayout* grid, const QString& label, QWidget* widget, const QString& unit = {});
  QGroupBox* group(const QString& title, QLayout* layout);

  // The body of the dialog, above the buttons.
  QVBoxLayout* body() { return body_; }
  // Adds "<" (1021) and ">" (1022): the form stores and moves, the widgets follow.
  void addMoveButtons(std::function<void()> previous, std::function<void()> next);
  // A push button (by id) running an action on the form, the widgets following.
  QAbstractButton* actionButton(int id, const QString& text, std::function<void()> action);
  // OK and Cancel; OK is the default button (Enter) and Escape cancels.
  void finish();

  // Form -> widgets and widgets -> form.
  void push();
  void pull();

 private:
  void paintSwatch(int id);
  Session& session_;
  Form& form_;
  QVBoxLayout* body_;
  QHBoxLayout* moveRow_ = nullptr;
  std::map<int, QWidget*> widgets_;
};

// The colour chooser with the shared custom colours; false when cancelled. The colour is in
// stored form (a chosen black becomes (1,1,1)).
bool ChooseColor(QWidget* parent, PlotSettings& settings, RGB current, RGB& chosen);

// The screen's pixels per centimetre for the dialogs' sizes.
double PixelsPerCm(QWidget* widget);

}  // namespace sx
