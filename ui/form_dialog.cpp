#include "ui/form_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace sx {

namespace {
QString Name(int id) {
  return QString::number(id);
}
QColor ToQColor(RGB c) {
  return QColor(c.red, c.green, c.blue);
}
}  // namespace

FormDialog::FormDialog(QWidget* parent, Session& session, Form& form, const char* resource,
                       const QString& title)
    : QDialog(parent), session_(session), form_(form), body_(new QVBoxLayout(this)) {
  setObjectName(resource);
  setWindowTitle(title);
}

QWidget* FormDialog::field(int id) {
  const FormControl& c = form_.control(id);
  QWidget* widget = nullptr;
  if (c.kind == ControlKind::kInteger && c.low < c.high) {
    auto* spin = new QSpinBox;
    spin->setRange(c.low, c.high);
    widget = spin;
  } else {
    auto* edit = new QLineEdit;
    if (c.kind == ControlKind::kText) {
      edit->setMaxLength(static_cast<int>(c.maxLength));
    } else {
      edit->setMaxLength(63);
      edit->setMaximumWidth(fontMetrics().horizontalAdvance(QString(16, QChar('0'))));
    }
    widget = edit;
  }
  widget->setObjectName(Name(id));
  widgets_[id] = widget;
  return widget;
}

QAbstractButton* FormDialog::check(int id, const QString& text) {
  auto* box = new QCheckBox(text);
  box->setObjectName(Name(id));
  widgets_[id] = box;
  return box;
}

QAbstractButton* FormDialog::radio(int id, const QString& text) {
  auto* button = new QRadioButton(text);
  button->setObjectName(Name(id));
  widgets_[id] = button;
  return button;
}

QAbstractButton* FormDialog::colorButton(int id, const QString& text) {
  auto* button = new QPushButton(text);
  button->setObjectName(Name(id));
  // Enter is OK wherever the focus stands, as on the dialog's other buttons.
  button->setAutoDefault(false);
  widgets_[id] = button;
  connect(button, &QPushButton::clicked, this, [this, id] {
    RGB chosen{};
    if (ChooseColor(this, session_.settings, form_.control(id).color, chosen)) {
      form_.chooseColor(id, chosen);
      paintSwatch(id);
    }
  });
  return button;
}

void FormDialog::paintSwatch(int id) {
  auto* button = static_cast<QPushButton*>(widgets_.at(id));
  const int side = button->fontMetrics().height();
  QPixmap swatch(side * 2, side);
  swatch.fill(ToQColor(ChooserStartColor(form_.control(id).color)));
  QPainter(&swatch).drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
  button->setIcon(QIcon(swatch));
  button->setIconSize(swatch.size());
}

void FormDialog::row(QGridLayout* grid, const QString& label, QWidget* widget,
                     const QString& unit) {
  const int r = grid->rowCount();
  auto* caption = new QLabel(label);
  caption->setBuddy(widget);
  grid->addWidget(caption, r, 0);
  grid->addWidget(widget, r, 1);
  if (!unit.isEmpty()) grid->addWidget(new QLabel(unit), r, 2);
}

QGroupBox* FormDialog::group(const QString& title, QLayout* layout) {
  auto* box = new QGroupBox(title);
  box->setLayout(layout);
  return box;
}

void FormDialog::addMoveButtons(std::function<void()> previous, std::function<void()> next) {
  moveRow_ = new QHBoxLayout;
  const std::pair<int, const char*> buttons[] = {{1021, "<"}, {1022, ">"}};
  for (const auto& [id, text] : buttons) {
    auto* button = new QPushButton(text);
    button->setObjectName(Name(id));
    button->setAutoDefault(false);
    std::function<void()> action = id == 1021 ? previous : next;
    connect(button, &QPushButton::clicked, this, [this, action] {
      pull();
      action();
      push();
    });
    moveRow_->addWidget(button);
  }
  moveRow_->addStretch();
}

QAbstractButton* FormDialog::actionButton(int id, const QString& text,
                                          std::function<void()> action) {
  auto* button = new QPushButton(text);
  button->setObjectName(Name(id));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, action] {
    pull();
    action();
    push();
  });
  return button;
}

void FormDialog::finish() {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setObjectName("1");
  ok->setDefault(true);
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    pull();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* bottom = new QHBoxLayout;
  if (moveRow_ != nullptr) bottom->addLayout(moveRow_);
  bottom->addWidget(buttons, 1);
  body_->addLayout(bottom);
  push();
}

void FormDialog::push() {
  for (auto& [id, widget] : widgets_) {
    const FormControl& c = form_.control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      edit->setText(QString::fromStdString(c.text));
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
      spin->setValue(QString::fromStdString(c.text).toInt());
    } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
      const QSignalBlocker quiet(widget);
      static_cast<QAbstractButton*>(widget)->setChecked(c.value > 0);
    } else {
      paintSwatch(id);
    }
  }
}

void FormDialog::pull() {
  for (auto& [id, widget] : widgets_) {
    FormControl& c = form_.control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      c.text = edit->text().toStdString();
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
      // An unchanged spin box gives back the text it was given, so the value stays untouched.
      if (spin->value() != QString::fromStdString(c.text).toInt()) {
        c.text = std::to_string(spin->value());
      }
    } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
      c.value = static_cast<QAbstractButton*>(widget)->isChecked() ? 1 : 0;
    }
  }
}

bool ChooseColor(QWidget* parent, PlotSettings& settings, RGB current, RGB& chosen) {
  for (int i = 0; i < 16; ++i) {
    const std::uint32_t packed = settings.customColors[i];
    QColorDialog::setCustomColor(
        i, QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF));
  }
  QColorDialog dialog(ToQColor(ChooserStartColor(current)), parent);
  dialog.setObjectName("COLORCHOOSER");  // so scripts and tests find it
  const QColor picked = dialog.exec() == QDialog::Accepted ? dialog.selectedColor() : QColor();
  for (int i = 0; i < 16; ++i) {
    const QColor c = QColorDialog::customColor(i);
    settings.customColors[i] =
        PackRGB(RGB{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                    static_cast<std::uint8_t>(c.blue())});
  }
  if (!picked.isValid()) return false;
  chosen = StoredChoice(RGB{static_cast<std::uint8_t>(picked.red()),
                            static_cast<std::uint8_t>(picked.green()),
                            static_cast<std::uint8_t>(picked.blue())});
  return true;
}

double PixelsPerCm(QWidget* widget) {
  double dpi = 96.0;
  if (widget != nullptr) {
    dpi = widget->logicalDpiX();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    dpi = screen->logicalDotsPerInchX();
  }
  return dpi * 0.39370078;
}

}  // namespace sx
