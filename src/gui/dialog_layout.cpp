#include "gui/dialog_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace pentrak {

Mnemonics::Mnemonics(const QString& reserved) {
  for (QChar c : reserved) used_.insert(c.toLower());
}

QString Mnemonics::Mark(const QString& caption) {
  // A numbered caption ("Custom Command 4") takes its number first: rows that differ only in
  // their numbers would otherwise run out of letters.
  if (!caption.isEmpty() && caption.back().isDigit() && used_.count(caption.back()) == 0) {
    used_.insert(caption.back());
    return caption.left(caption.size() - 1) + QLatin1Char('&') + caption.back();
  }
  for (qsizetype i = 0; i < caption.size(); ++i) {
    QChar c = caption[i].toLower();
    if (!c.isLetterOrNumber() || used_.count(c) != 0) continue;
    used_.insert(c);
    QString marked = caption;
    marked.insert(i, QLatin1Char('&'));
    return marked;
  }
  return caption;
}

QPushButton* NamedButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

QHBoxLayout* ClosingButtons(QDialog* dialog, QPushButton* confirm, QPushButton* cancel) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(confirm);
  row->addWidget(cancel);
  confirm->setDefault(true);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return row;
}

void ShowQuietly(QLineEdit* edit, const QString& text) {
  if (edit->text() == text) return;
  const QSignalBlocker blocker(edit);
  edit->setText(text);
}

void ShowQuietly(QCheckBox* box, bool checked) {
  const QSignalBlocker blocker(box);
  box->setChecked(checked);
}

void ShowQuietly(QComboBox* box, int index) {
  const QSignalBlocker blocker(box);
  box->setCurrentIndex(index);
}

}  // namespace pentrak
