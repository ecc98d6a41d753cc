#include "gui/plan_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenda {

PlanDialog::PlanDialog(const QString& planText, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Vorschau");
  text_ = new QPlainTextEdit(planText);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  search_ = new QLineEdit;
  auto* searchLabel = new QLabel("&Suchen:");
  searchLabel->setBuddy(search_);
  auto* next = new QPushButton("&Weitersuchen");
  auto* copy = new QPushButton("&Kopieren");
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(search_, 1);
  searchRow->addWidget(next);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(copy);
  bottom->addStretch();
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(searchRow);
  layout->addWidget(text_, 1);
  layout->addLayout(bottom);
  connect(search_, &QLineEdit::returnPressed, this, [this] { FindNext(); });
  connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(text_->toPlainText()); });
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(900, 640);
}

bool PlanDialog::FindNext() {
  const QString wanted = search_->text();
  if (wanted.isEmpty()) return false;
  if (text_->find(wanted)) return true;
  text_->moveCursor(QTextCursor::Start);
  return text_->find(wanted);
}

}  // namespace quenda
