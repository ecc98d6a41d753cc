#include "gui/dialog_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace quenda::testing {
namespace {

QMessageBox::StandardButton ButtonNamed(const std::string& name) {
  if (name == "Yes") return QMessageBox::Yes;
  if (name == "No") return QMessageBox::No;
  if (name == "Cancel") return QMessageBox::Cancel;
  return QMessageBox::Ok;
}

std::string Take(std::deque<std::string>& answers, const std::string& prefix) {
  if (answers.empty() || answers.front().rfind(prefix, 0) != 0) return "?";
  std::string rest = answers.front().substr(prefix.size());
  answers.pop_front();
  return rest;
}

}  // namespace

DialogAnswerer::DialogAnswerer(std::vector<std::string> answers)
    : answers_(answers.begin(), answers.end()) {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start(10);
}

void DialogAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) return;
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen_.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
    if (box->buttons().size() == 1) {
      box->buttons().first()->click();
    } else if (QAbstractButton* b = box->button(ButtonNamed(Take(answers_, "button ")))) {
      b->click();
    } else {
      box->reject();
    }
  } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
    seen_.push_back(input->windowTitle().toStdString() + ": " + input->labelText().toStdString());
    input->setTextValue(QString::fromStdString(Take(answers_, "text ")));
    input->accept();
  } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
    seen_.push_back(files->windowTitle().toStdString());
    const std::string path = Take(answers_, "file ");
    if (path == "?") {
      files->reject();
    } else {
      files->selectFile(QString::fromStdString(path));
      QMetaObject::invokeMethod(files, "accept", Qt::DirectConnection);
    }
  }
}

}  // namespace quenda::testing
