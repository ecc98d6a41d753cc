#include "gui/qt_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QStringList>
#include <utility>
#include <vector>

#include "gui/german_dialogs.h"
#include "gui/qt_text.h"

namespace quenda {
namespace {

// The message box's buttons and what each answers.
constexpr std::pair<Answer, QMessageBox::StandardButton> kButtons[] = {
    {Answer::kOk, QMessageBox::Ok},         {Answer::kCancel, QMessageBox::Cancel},
    {Answer::kAbort, QMessageBox::Abort},   {Answer::kRetry, QMessageBox::Retry},
    {Answer::kIgnore, QMessageBox::Ignore}, {Answer::kYes, QMessageBox::Yes},
    {Answer::kNo, QMessageBox::No}};

QMessageBox::StandardButton ButtonOf(Answer answer) {
  for (const auto& [a, button] : kButtons) {
    if (a == answer) return button;
  }
  return QMessageBox::Ok;
}

Answer AnswerOf(QMessageBox::StandardButton button) {
  for (const auto& [answer, b] : kButtons) {
    if (b == button) return answer;
  }
  return Answer::kOk;
}

std::vector<QMessageBox::StandardButton> ButtonsOf(const MessageStyle& style) {
  std::vector<QMessageBox::StandardButton> buttons;
  for (Answer answer : style.Buttons()) buttons.push_back(ButtonOf(answer));
  if (buttons.empty()) buttons.push_back(QMessageBox::Ok);
  return buttons;
}

QMessageBox::Icon IconOf(int icon) {
  switch (icon) {
    case 16:
      return QMessageBox::Critical;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    case 64:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// "Name (*.xml)|*.xml|All (*.*)|*.*|" as Qt name filters "Name (*.xml)", "All (*.*)".
QStringList NameFilters(const std::string& filter) {
  const QStringList parts = ToQt(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    if (!name.contains('(')) name += " (" + parts[i + 1] + ")";
    filters << name;
  }
  return filters;
}

}  // namespace

void QtUi::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

Answer QtUi::ShowMessage(const std::string& text, const MessageStyle& style,
                         const std::string& title) {
  QMessageBox box(IconOf(style.icon), ToQt(title), ToQt(text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  const auto buttons = ButtonsOf(style);
  box.setTextFormat(Qt::PlainText);  // a job value such as "<b>x</b>" keeps its brackets
  for (auto b : buttons) box.addButton(b);
  UseGermanButtons(box);
  const std::size_t defaultIndex = static_cast<std::size_t>(style.defaultButton);
  box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
  QApplication::setOverrideCursor(Qt::ArrowCursor);  // a busy run still shows a usable box
  box.exec();
  QApplication::restoreOverrideCursor();
  QAbstractButton* clicked = box.clickedButton();
  return AnswerOf(clicked != nullptr ? box.standardButton(clicked) : QMessageBox::Cancel);
}

std::string QtUi::ShowInput(const std::string& prompt, const std::string& title,
                            const std::string& defaultText) {
  QInputDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(ToQt(title));
  dialog.setLabelText(ToQt(prompt));
  dialog.setTextValue(ToQt(defaultText));
  UseGermanButtons(dialog);
  for (QLabel* label : dialog.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  QApplication::restoreOverrideCursor();
  return accepted ? FromQt(dialog.textValue()) : std::string();
}

std::optional<std::string> QtUi::ShowOpenFile(const FileDialogRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), ToQt(request.title),
                     ToQt(request.initialDirNative));
  dialog.setFileMode(QFileDialog::ExistingFile);
  UseGermanLabels(dialog);
  dialog.setOption(QFileDialog::DontUseNativeDialog, qEnvironmentVariableIsSet("QUENDA_TEST"));
  const QStringList filters = NameFilters(request.filter);
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
    dialog.selectNameFilter(filters[request.filterIndex - 1]);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQt(dialog.selectedFiles().first());
}

}  // namespace quenda
