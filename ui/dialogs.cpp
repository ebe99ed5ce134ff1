#include "ui/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "shell/open_sequence.h"

namespace sx {

void RunSetMemoryDialog(QWidget* owner, Session& session, std::int32_t screenWidth,
                        std::int32_t screenHeight) {
  QDialog dialog(owner);
  dialog.setObjectName("SETMEMORYDIALOG");
  dialog.setWindowTitle("Set memory");
  auto* numeric = new QLineEdit(QString::number(session.startup.budgets.MaxNumericItems));
  numeric->setObjectName("1900");
  auto* text = new QLineEdit(QString::number(session.startup.budgets.MaxTextItems));
  text->setObjectName("1901");
  auto* form = new QFormLayout;
  form->addRow("Maximum number of numeric data items", numeric);
  form->addRow("Maximum number of text data items", text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return;
  SetMemoryCommand(session, numeric->text().toStdString(), text->text().toStdString(), screenWidth,
                   screenHeight);
}

void RunAboutBox(QWidget* owner) {
  QDialog dialog(owner);
  dialog.setObjectName("ABOUTBOX");
  dialog.setWindowTitle("About Sondrix");
  auto* picture = new QLabel;
  picture->setObjectName("AboutPicture");
  picture->setPixmap(QApplication::windowIcon().pixmap(96, 96));
  auto* words =
      new QLabel(QString("<b>Sondrix</b><br>Version %1<br><br>Plots of tab-delimited tables of "
                         "geoscientific measurements.")
                     .arg(QString::fromUtf8(kVersionText.data(),
                                            static_cast<qsizetype>(kVersionText.size()))));
  words->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addWidget(picture);
  row->addWidget(words, 1);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(row);
  layout->addWidget(buttons);
  dialog.exec();
}

QWidget* OpenManualWindow(QWidget* owner, const QString& path) {
  auto* window = new QDialog(owner);
  window->setObjectName("MANUAL");
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle("Sondrix manual");
  auto* text = new QTextBrowser;
  text->setObjectName("ManualText");
  text->setOpenExternalLinks(true);
  text->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::reject);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(text);
  layout->addWidget(buttons);
  // Wide enough for the manual's lines, within the frame's height.
  const QFontMetrics metrics(text->font());
  window->resize(metrics.averageCharWidth() * 104,
                 owner != nullptr ? owner->height() * 4 / 5 : metrics.height() * 40);
  window->show();
  window->activateWindow();
  return window;
}

}  // namespace sx
