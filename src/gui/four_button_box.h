#pragma once

#include <QDialog>
#include <string_view>

#include "platform/user_interface.h"

class QPushButton;

namespace pentrak {

// The question a generation run asks ("frmMessageBox"): Yes, Yes to All, No and Cancel, only the
// buttons asked for shown; closing the box without a button gives the preset answer.
class FourButtonBox : public QDialog {
 public:
  FourButtonBox(QWidget* parent, std::string_view title, std::string_view text, FourButtons shown,
                FourButtonAnswer preset);

  // Shows the box modally and returns the answer.
  FourButtonAnswer Ask();

  void reject() override;

 private:
  QPushButton* AddButton(const char* name, const QString& caption, FourButtonAnswer answer,
                         bool shown);

  FourButtonAnswer preset_;
};

}  // namespace pentrak
