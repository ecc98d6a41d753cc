#include "gui/gui_main.h"

#include <QApplication>
#include <QMessageBox>
#include <memory>

#include "app/window_driver.h"
#include "gui/german_dialogs.h"
#include "gui/qt_text.h"
#include "gui/qt_ui.h"
#include "gui/quenda_window.h"

namespace quenda {

int RunGui(int argc, char** argv, const Options& options, System& system) {
  QApplication app(argc, argv);
  InstallGermanTranslations(app);
  QtUi ui;
  return RunWindowFrontEnd(
      options, ui, system,
      [](WindowDriver& driver) { return std::make_unique<QuendaWindow>(driver); },
      [](const std::string& text) { QMessageBox::critical(nullptr, "Quenda", ToQt(text)); });
}

}  // namespace quenda
