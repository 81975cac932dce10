#include "gui/four_button_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace pentrak {

FourButtonBox::FourButtonBox(QWidget* parent, std::string_view title, std::string_view text,
                             FourButtons shown, FourButtonAnswer preset)
    : QDialog(parent), preset_(preset) {
  setObjectName(QStringLiteral("frmMessageBox"));
  setWindowTitle(ToQt(title));
  setModal(true);

  auto* icon = new QLabel(this);
  int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size, size));
  icon->setAlignment(Qt::AlignTop);
  auto* message = new QLabel(MessageText(text), this);
  message->setObjectName(QStringLiteral("lblMessage"));
  message->setWordWrap(true);
  message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message->setMinimumWidth(360);

  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addWidget(message, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  QPushButton* first = nullptr;
  struct ButtonInfo {
    const char* name;
    QString caption;
    FourButtonAnswer answer;
    bool shown;
  };
  const ButtonInfo infos[] = {
      {"cmdYes", QStringLiteral("&Yes"), FourButtonAnswer::kYes, shown.yes},
      {"cmdYesToAll", QStringLiteral("Yes to &All"), FourButtonAnswer::kYesToAll, shown.yes_to_all},
      {"cmdNo", QStringLiteral("&No"), FourButtonAnswer::kNo, shown.no},
      {"cmdCancel", QStringLiteral("Cancel"), FourButtonAnswer::kCancel, shown.cancel},
  };
  for (const ButtonInfo& info : infos) {
    QPushButton* button = AddButton(info.name, info.caption, info.answer, info.shown);
    buttons->addWidget(button);
    if (info.shown && first == nullptr) first = button;
  }
  if (first != nullptr) first->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
}

QPushButton* FourButtonBox::AddButton(const char* name, const QString& caption,
                                      FourButtonAnswer answer, bool shown) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(QString::fromLatin1(name));
  button->setVisible(shown);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, answer] { done(static_cast<int>(answer)); });
  return button;
}

void FourButtonBox::reject() { done(static_cast<int>(preset_)); }

FourButtonAnswer FourButtonBox::Ask() {
  int result = exec();
  if (result < 1 || result > 4) return preset_;
  return static_cast<FourButtonAnswer>(result);
}

}  // namespace pentrak
