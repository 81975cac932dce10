#pragma once

#include <QString>
#include <set>

class QCheckBox;
class QComboBox;
class QDialog;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pentrak {

// Gives the captions of one page of a dialog distinct keyboard mnemonics: each caption gets
// "&" before its first letter or digit not yet taken on the page.
class Mnemonics {
 public:
  // Letters taken by the dialog's buttons and tabs, which stay live on every page.
  explicit Mnemonics(const QString& reserved = QString());

  QString Mark(const QString& caption);

 private:
  std::set<QChar> used_;
};

// A push button carrying its object name.
QPushButton* NamedButton(const char* name, const QString& caption, QWidget* parent);

// The row of a dialog's closing buttons, right-aligned: the confirming one is the default
// (Enter), and the dialog's Escape key rejects it, as the Cancel button does.
QHBoxLayout* ClosingButtons(QDialog* dialog, QPushButton* confirm, QPushButton* cancel);

// Shows a value without raising the control's change signals, and only when it differs, so a
// control being typed in keeps its cursor.
void ShowQuietly(QLineEdit* edit, const QString& text);
void ShowQuietly(QCheckBox* box, bool checked);
void ShowQuietly(QComboBox* box, int index);

}  // namespace pentrak
